#include "types/BoundTypeItem.h"

#include <cstring>
#include <string>

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"
#include "types/BoundDynamicArray.h"
#include "types/BoundFortranAllocatable.h"
#include "types/BoundFortranPointer.h"
#include "types/BoundPointer.h"
#include "types/BoundReference.h"
#include "types/BoundString.h"
#include "types/TypeDepthGuard.h"

void BoundTypeItem::Data::storeAndPassOn(const DebuggeeLocation& location, TYPE_INDEX target,
                                         const DebuggeeLocation& loc)
{
    location_ = location;
    const TypeItem* targetType = CreatedTypeItem::findSynthesizedType(target);
    if (targetType != nullptr && targetType != owner_)
        targetType->setSymbolLocation(loc);
}

bool BoundTypeItem::Data::nameChanged(TypeItem& type)
{
    const char* old = type.demangledTypeNameReset();
    if (old == nullptr)
        return false;
    const std::string before(old);
    return before != type.demangledTypeName();
}

void BoundTypeItem::bind(const _TYPE_ENTRY& source, std::size_t size, const TYPE_INDEX& hostIndex, Data& data,
                         void* targetField)
{
    std::memcpy(static_cast<void*>(&record), &source, size);
    index = hostIndex;
    settled = false;
    boundData = &data;
    TYPE_INDEX target;
    std::memcpy(&target, targetField, sizeof target);
    if (target.module != 0) {
        // A target that is again bound makes its own bound type; host
        // records that lead back to themselves end at the depth limit. A
        // target that cannot be made keeps the host's index: the type is
        // already registered with the environment and must be completed.
        try {
            TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
            target = getType(target)->unsimplifiedTypeIndex();
            std::memcpy(targetField, &target, sizeof target);
        } catch (const InvalidOp&) {
        }
    }
    useInlineEntry();
    finishConstruction();
}

const TypeItem* BoundTypeItem::getType(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr)
        return &type;
    const TYPE_INDEX hostIndex = type.typeIndex().typeIndex();
    BoundTypeItem* made = nullptr;
    switch (e->leaf) {
    case TE_POINTER: made = new BoundPointer(*e, hostIndex); break;
    case TE_REFERENCE: made = new BoundReference(*e, hostIndex); break;
    case TE_F90_DESC_ARRAY: made = new BoundDynamicArray(*e, hostIndex); break;
    case TE_COBOL_TABLE: made = new BoundString(*e, hostIndex); break;
    case TE_F90_ALLOCATABLE: return new BoundFortranAllocatable(*e, hostIndex);
    case TE_F90_POINTER: return new BoundFortranPointer(*e, hostIndex);
    case TE_NONE:
    case TE_ARRAY:
    case TE_BASECLASS:
    case TE_INTEGER:
    case TE_CHARSTRING:
    case TE_CLASS:
    case TE_NAMEDTAG:
    case TE_MEMBER:
    case TE_FUNCTION:
    case TE_ENUM:
    case TE_METHOD:
    case TE_LIST:
    case TE_MEMBERFUNCTION:
    case TE_ACCEPTED22:
    case TE_ACCEPTED24:
    case TE_PROCEDURE:
    case TE_STRUCT:
    case 34:
    case TE_PACKED_DECIMAL:
    case TE_ENUM2:
    case TE_GROUP:
    case TE_UPC_SHARED:
    case TE_VUM_ARRAY:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66:
    case 67:
    case TE_FIXED_POINT_BINARY:
    case TE_ZONED_DECIMAL:
    case TE_BASED:
    case TE_NATIONAL_DECIMAL:
    case TE_NATIONAL_STRING:
    case TE_INDEX_NAME:
    case TE_INDEX_DATA_ITEM:
    case TE_EXTERNAL_FLOAT:
    case TE_ALPHA_NUMERIC_EDITED:
    case TE_NUMERIC_EDITED:
    case TE_NATIONAL_EXTERNAL_FLOAT:
    case TE_NATIONAL_EDITED:
    case TE_NATIONAL_NUMERIC_EDITED:
    case TE_FILE_DESCRIPTOR:
    case TE_DBCS_STRING:
    case TE_DBCS_EDITED:
    case TE_QUALIFIER:
    case TE_BUILTIN_PROCEDURE:
    case TE_CONDITION: return &type;
    default: SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Unexpected bound type %d", int(e->leaf)); return &type;
    }
    made->flags.merge(type);
    return made;
}

const TypeItem* BoundTypeItem::getType(const TYPE_INDEX& typeIndex)
{
    const TypeItem* type = CreatedTypeItem::findOrCreateType(typeIndex, nullptr);
    if (type != nullptr && EvaluationEnvironment::currentRep()->language() == EvaluationEnvironment::languageFortran)
        return getType(*type);
    return type;
}
