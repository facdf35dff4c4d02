#include "tree/DebugType.h"

#include "HostRecords.h"
#include "types/PrimitiveType.h"
#include "types/TypeDepthGuard.h"
#include "types/TypeItem.h"

namespace {

// The data type of a primitive type index (0: none).
DBG_TYPE primitiveDataType(unsigned code)
{
    if (PrimitiveType::isPointerForm(code)) {
        switch (code & ~static_cast<unsigned>(PrimitiveType::pointerBit)) {
        case 128:
        case 132:
        case 148: return 5;
        case 149:
        case 150: return 20;
        case 151: return 22;
        default:
            return PrimitiveType::find(code & ~static_cast<unsigned>(PrimitiveType::pointerBit)) != nullptr ? 4 : 0;
        }
    }
    switch (code) {
    case 128:
    case 132:
    case 148: return 1;
    case 149:
    case 150: return 19;
    case 129:
    case 130:
    case 133:
    case 134:
    case 155:
    case 156: return 3;
    case 136:
    case 137:
    case 138:
    case 139:
    case 140:
    case 141:
    case 142:
    case 143:
    case 159:
    case 192:
    case 193:
    case 196:
    case 197:
    case 198:
    case 203:
    case 204:
    case 205: return 2;
    case 144:
    case 145:
    case 146:
    case 157: return 18;
    case 195:
    case 202: return 15;
    default: return 0;
    }
}

// Single-byte and wide characters among element and pointee types.
bool isCharacter(const TypeItem& type)
{
    if (type.typeIndex().module() != 0)
        return false;
    const unsigned code = type.typeIndex().index();
    return code == 128 || code == 132 || code == 148;
}

bool isWide(const TypeItem& type)
{
    if (type.typeIndex().module() != 0)
        return false;
    const unsigned code = type.typeIndex().index();
    return code == 149 || code == 150;
}

} // namespace

DBG_TYPE DebugType::programDataType(const TypeItem& type, unsigned depth)
{
    if (depth > TypeDepthGuard::limit)
        return 0;
    if (type.typeIndex().module() == 0)
        return primitiveDataType(type.typeIndex().index());
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr)
        return 0;
    switch (e->leaf) {
    case TE_PACKED_DECIMAL: return 9;
    case TE_FIXED_POINT_BINARY: return 11;
    case TE_ZONED_DECIMAL: return 10;
    case TE_NATIONAL_DECIMAL: return 27;
    case TE_NATIONAL_STRING: return 28;
    case TE_INDEX_NAME: return 29;
    case TE_INDEX_DATA_ITEM: return 30;
    case TE_EXTERNAL_FLOAT: return 31;
    case TE_ALPHA_NUMERIC_EDITED: return 32;
    case TE_NUMERIC_EDITED: return 33;
    case TE_NATIONAL_EXTERNAL_FLOAT: return 34;
    case TE_NATIONAL_EDITED: return 35;
    case TE_NATIONAL_NUMERIC_EDITED: return 36;
    case TE_FILE_DESCRIPTOR: return 37;
    case TE_DBCS_STRING: return 38;
    case TE_DBCS_EDITED: return 39;
    case TE_CHARSTRING: return 40;
    case TE_CLASS:
    case TE_GROUP:
    case TE_STRUCT:
    case TE_F90_ALLOCATABLE: return 15;
    case TE_ENUM:
    case TE_ENUM2:
    case TE_INTEGER: return 3;
    case TE_F90_POINTER: return 25;
    case TE_REFERENCE: return programDataType(TypeItem(TYPE_INDEX(e->reference.referent)), depth + 1);
    default: break;
    }
    if (type.hasFlag(TypeFlags::pointer)) {
        if (type.hasFlag(TypeFlags::pointerToShared))
            return 24;
        if (type.hasFlag(TypeFlags::pointerToVoid))
            return 22;
        try {
            const TypeItem& pointee = type.pointee();
            if (pointee.hasFlag(TypeFlags::function))
                return 26;
            if (isCharacter(pointee))
                return 5;
            if (isWide(pointee))
                return 20;
        } catch (...) {
        }
        return 4;
    }
    if (type.hasFlag(TypeFlags::array)) {
        if (type.hasFlag(TypeFlags::upcShared))
            return 23;
        try {
            const TypeItem& element = type.dereference();
            if (isCharacter(element))
                return 7;
            if (isWide(element))
                return 21;
        } catch (...) {
        }
        return 6;
    }
    if (type.hasFlag(TypeFlags::boolean))
        return 18;
    if (type.hasFlag(TypeFlags::floating) || type.hasFlag(TypeFlags::complex))
        return 2;
    if (type.hasFlag(TypeFlags::integral) || type.hasFlag(TypeFlags::enumeration))
        return 3;
    return 0;
}
