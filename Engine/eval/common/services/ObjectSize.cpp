#include "services/ObjectSize.h"

ObjectSizeError::ObjectSizeError(const char* function, unsigned line)
    : InvalidOp(InvalidOp::RTRC_InvalidValue, function, line, "Object size out of range")
{}

namespace ObjectSize {

void outOfRange(const char* function, unsigned line)
{
    throw ObjectSizeError(function, line);
}

std::uint64_t checked(std::uint64_t size, const char* function, unsigned line)
{
    if (size > limit)
        outOfRange(function, line);
    return size;
}

std::uint64_t checkedSigned(std::int64_t size, const char* function, unsigned line)
{
    if (size < 0)
        outOfRange(function, line);
    return checked(static_cast<std::uint64_t>(size), function, line);
}

std::uint64_t product(std::uint64_t count, std::uint64_t length, const char* function, unsigned line)
{
    std::uint64_t size = 0;
    if (__builtin_mul_overflow(count, length, &size))
        outOfRange(function, line);
    return checked(size, function, line);
}

} // namespace ObjectSize
