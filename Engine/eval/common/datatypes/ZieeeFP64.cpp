#include "datatypes/ZieeeFP64.h"

#include "datatypes/FloatBytes.h"

#include <cstring>

static_assert(sizeof(double) == 8, "binary64 must be the host's double");

ZieeeFP64::ZieeeFP64(void const* bigEndianBytes)
    : stored(static_cast<std::uint64_t>(floatbytes::loadBigEndian(bigEndianBytes, 8)))
{}

bool ZieeeFP64::ldToZfp(void* target, long double value)
{
    double const rounded = static_cast<double>(value);
    std::uint64_t word;
    std::memcpy(&word, &rounded, sizeof word);
    floatbytes::storeBigEndian(target, 8, word);
    return true;
}

long double ZieeeFP64::value() const
{
    double host;
    std::memcpy(&host, &stored, sizeof host);
    return host;
}
