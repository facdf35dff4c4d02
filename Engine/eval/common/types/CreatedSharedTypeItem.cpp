#include "types/CreatedSharedTypeItem.h"

CreatedSharedTypeItem::CreatedSharedTypeItem(const TypeItem& base, unsigned blockElements)
{
    TNupcshared& r = record.upcshared;
    r.leaf = TE_UPC_SHARED;
    r.blockFactorSource = 0;
    r.qualifiedType = base.unsimplifiedTypeIndex();
    r.factor.blockFactor = blockElements;
    useInlineEntry();
    simplifyBase();
    constructed = true;
}
