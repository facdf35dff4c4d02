#ifndef NORVEXA_SERVICES_OBJECTSIZE_H
#define NORVEXA_SERVICES_OBJECTSIZE_H

#include <cstdint>

#include "services/InvalidOp.h"

// Sizes taken from debuggee memory and host records are checked before they
// are used. Any one object an evaluation reads from the debuggee is at most
// ObjectSize::limit bytes (1 GiB): no variable a user looks at in a debugger
// comes near it, while uninitialised descriptors, negative lengths and
// garbage counts easily go beyond it. A size outside the limit, and any size
// whose computation overflows, ends the evaluation with InvalidOp
// RTRC_InvalidValue and the text "Object size out of range" instead of
// wrapping to a small or huge number.
// The size error: an InvalidOp RTRC_InvalidValue, of its own type so that
// code which turns host failures into "no size" can let it pass.
class ObjectSizeError : public InvalidOp {
public:
    ObjectSizeError(const char* function, unsigned line);
};

namespace ObjectSize {

constexpr std::uint64_t limit = std::uint64_t(1) << 30;

// Throws the size error; function and line name the raising operation.
[[noreturn]] void outOfRange(const char* function, unsigned line);

// size itself, when within the limit.
std::uint64_t checked(std::uint64_t size, const char* function, unsigned line);
// A signed size: negative or beyond the limit is refused.
std::uint64_t checkedSigned(std::int64_t size, const char* function, unsigned line);
// count times length, refused on overflow or beyond the limit.
std::uint64_t product(std::uint64_t count, std::uint64_t length, const char* function, unsigned line);

} // namespace ObjectSize

#endif
