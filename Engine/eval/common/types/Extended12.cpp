#include "types/Extended12.h"

#include <cstring>

static_assert(sizeof(long double) >= Extended12::valueBytes,
              "the host long double must hold the 80-bit extended value");

long double Extended12::decode(void const* source)
{
    long double value = 0.0L;
    std::memcpy(&value, source, valueBytes);
    return value;
}

void Extended12::encode(void* target, long double value)
{
    auto* bytes = static_cast<unsigned char*>(target);
    std::memcpy(bytes, &value, valueBytes);
    std::memset(bytes + valueBytes, 0, slotSize - valueBytes);
}
