#include "datatypes/ZieeeFP32.h"

#include "datatypes/FloatBytes.h"

#include <cstring>

static_assert(sizeof(float) == 4, "binary32 must be the host's float");

ZieeeFP32::ZieeeFP32(void const* bigEndianBytes)
    : stored(static_cast<std::uint32_t>(floatbytes::loadBigEndian(bigEndianBytes, 4)))
{}

bool ZieeeFP32::ldToZfp(void* target, long double value)
{
    float const rounded = static_cast<float>(value);
    std::uint32_t word;
    std::memcpy(&word, &rounded, sizeof word);
    floatbytes::storeBigEndian(target, 4, word);
    return true;
}

long double ZieeeFP32::value() const
{
    float host;
    std::memcpy(&host, &stored, sizeof host);
    return host;
}
