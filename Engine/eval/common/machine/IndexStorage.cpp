#include "machine/IndexStorage.h"

#include "machine/EndianReverse.h"
#include "machine/StackItem.h"
#include "services/InvalidOp.h"

namespace indexstorage {

unsigned length(const StackItem& item)
{
    const _TYPE_ENTRY* e = item.type().typeEntry();
    unsigned n = 0;
    if (e != nullptr && e->leaf == TE_INDEX_NAME)
        n = e->indexName.byteLength;
    else if (e != nullptr && e->leaf == TE_INDEX_DATA_ITEM)
        n = e->indexDataItem.byteLength;
    if (n == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return n;
}

unsigned load(StackItem& item, const DebuggeeLocation& where, unsigned char* image)
{
    item.setHasValue(where.kind() != DebuggeeLocation::none);
    if (where.kind() == DebuggeeLocation::none)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const unsigned n = length(item);
    if (n != 1 && n != 2 && n != 4 && n != 8)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    item.ReadDebuggeeData(image, n, where);
    EndianReverse(image, n);
    return n;
}

void toImage(unsigned char* bytes, unsigned length)
{
    EndianReverse(bytes, length);
}

} // namespace indexstorage
