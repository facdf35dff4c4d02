#include "datatypes/ZhexFP32.h"

#include "datatypes/FloatBytes.h"

ZhexFP32::ZhexFP32(void const* bigEndianBytes)
    : stored(static_cast<std::uint32_t>(floatbytes::loadBigEndian(bigEndianBytes, 4)))
{}

bool ZhexFP32::ldToZfp(void* target, double value)
{
    std::uint64_t word = 0;
    bool const exact = floatbytes::encodeHexFloat(value, 24, word);
    floatbytes::storeBigEndian(target, 4, word);
    return exact;
}

long double ZhexFP32::value() const
{
    return floatbytes::decodeHexFloat(stored, 24);
}
