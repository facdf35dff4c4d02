#include "types/CreatedPointerTypeItem.h"

#include "services/EvaluationEnvironment.h"

CreatedPointerTypeItem::CreatedPointerTypeItem(const TypeItem& pointee)
{
    const bool shared = pointee.hasFlag(TypeFlags::upcShared);
    TNpointer& r = record.pointer;
    r.leaf = TE_POINTER;
    if (shared)
        r.flags = TNpointer_ToShared;
    else
        r.flags = EvaluationEnvironment::currentRep()->addressSize() == 8 ? TNpointer_Bytes8 : TNpointer_Bytes4;
    r.target = pointee.unsimplifiedTypeIndex();
    r.name = "";
    useInlineEntry();
    if (shared)
        flags.add(TypeFlags::pointerToShared);
    simplifyBase();
    constructed = true;
}
