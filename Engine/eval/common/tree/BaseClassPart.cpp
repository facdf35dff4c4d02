#include "tree/BaseClassPart.h"

#include "HostRecordAccess.h"
#include "services/DebuggeeAddress.h"
#include "types/TypeItem.h"

DebuggeeAddress baseClassPart(const DebuggeeAddress& object, const TypeItem& baseRecord, const TypeItem&)
{
    // A base at a fixed offset; a base located by an expression (a virtual
    // base) is not located here and gives address 0 of the object's width.
    const _TYPE_ENTRY* e = baseRecord.typeIndex().module() == 0 ? nullptr : baseRecord.typeEntry();
    if (e != nullptr && e->leaf == TE_BASECLASS && !baseLocationIsExpression(e->baseclass))
        return object + baseOffset(e->baseclass);
    return DebuggeeAddress(std::uint64_t{0}, object.bits() == 64 ? 8 : 4);
}
