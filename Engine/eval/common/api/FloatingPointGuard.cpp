#include "api/FloatingPointGuard.h"

#if defined(_WIN32)

#include <float.h>

namespace {

// MXCSR: the six exception masks, and rounding toward zero.
constexpr unsigned int sseMasks = 0x1F80;
constexpr unsigned int sseRounding = 0x6000;

}  // namespace

FloatingPointGuard::FloatingPointGuard() : sse(__builtin_cpu_supports("sse"))
{
    fegetenv(&saved);
    if (sse)
        __asm__ __volatile__("stmxcsr %0" : "=m"(savedMxcsr));
    _controlfp(_MCW_EM | _RC_CHOP | _PC_64 | _IC_PROJECTIVE, _MCW_EM | _MCW_RC | _MCW_PC | _MCW_IC);
    // The SSE unit's mode too, whatever the runtime's call set there.
    if (sse) {
        unsigned int mxcsr = savedMxcsr | sseMasks | sseRounding;
        __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
    }
}

FloatingPointGuard::~FloatingPointGuard()
{
    fesetenv(&saved);
    if (sse)
        __asm__ __volatile__("ldmxcsr %0" : : "m"(savedMxcsr));
}

#else

FloatingPointGuard::FloatingPointGuard() = default;

FloatingPointGuard::~FloatingPointGuard() = default;

#endif
