#include "machine/EndianReverse.h"

#include "services/ByteOrder.h"
#include "services/InvalidOp.h"

void EndianReverse(void* bytes, unsigned int count)
{
    if (!byteorder::reversibleSize(count))
        throw InvalidOp(InvalidOp::RTRC_Other, "void EndianReverse(void*, unsigned int)", __LINE__);
    byteorder::reverseCopy(bytes, bytes, count);
}
