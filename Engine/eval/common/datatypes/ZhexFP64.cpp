#include "datatypes/ZhexFP64.h"

#include "datatypes/FloatBytes.h"

ZhexFP64::ZhexFP64(void const* bigEndianBytes)
    : stored(static_cast<std::uint64_t>(floatbytes::loadBigEndian(bigEndianBytes, 8)))
{}

bool ZhexFP64::ldToZfp(void* target, double value)
{
    std::uint64_t word = 0;
    bool const exact = floatbytes::encodeHexFloat(value, 56, word);
    floatbytes::storeBigEndian(target, 8, word);
    return exact;
}

long double ZhexFP64::value() const
{
    return floatbytes::decodeHexFloat(stored, 56);
}
