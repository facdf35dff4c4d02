#ifndef NORVEXA_SERVICES_BYTEORDER_H
#define NORVEXA_SERVICES_BYTEORDER_H

#include <cstdint>
#include <cstring>

// The debuggee is big-endian and the evaluator runs little-endian: a value
// image read from the debuggee becomes a host number by reversing its bytes,
// and a host number is reversed back before it is handed to the debuggee.
namespace byteorder {

// Only the widths of the target's scalar types can be reversed.
inline bool reversibleSize(unsigned size)
{
    return size == 1 || size == 2 || size == 4 || size == 8 || size == 16;
}

// Copies size bytes from source to target in reverse order. The two areas
// may be the same; partial overlap is not allowed.
inline void reverseCopy(void* target, const void* source, unsigned size)
{
    unsigned char tmp[16];
    const unsigned char* s = static_cast<const unsigned char*>(source);
    unsigned char* t = static_cast<unsigned char*>(target);
    if (size > sizeof tmp) {
        if (t == s) {
            for (unsigned i = 0; i < size / 2; ++i) {
                unsigned char c = t[i];
                t[i] = t[size - 1 - i];
                t[size - 1 - i] = c;
            }
            return;
        }
        for (unsigned i = 0; i < size; ++i)
            t[i] = s[size - 1 - i];
        return;
    }
    for (unsigned i = 0; i < size; ++i)
        tmp[i] = s[size - 1 - i];
    std::memcpy(t, tmp, size);
}

// The big-endian image of size (1 to 8) bytes as a host number.
inline std::uint64_t fromBigEndian(const void* source, unsigned size)
{
    const unsigned char* s = static_cast<const unsigned char*>(source);
    std::uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v = (v << 8) | s[i];
    return v;
}

// Writes the low size (1 to 8) bytes of value as a big-endian image.
inline void toBigEndian(void* target, std::uint64_t value, unsigned size)
{
    unsigned char* t = static_cast<unsigned char*>(target);
    for (unsigned i = size; i > 0; --i) {
        t[i - 1] = static_cast<unsigned char>(value);
        value >>= 8;
    }
}

} // namespace byteorder

#endif
