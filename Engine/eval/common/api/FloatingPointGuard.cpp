#include "api/FloatingPointGuard.h"

#if defined(_WIN32)

#include <float.h>

namespace {

// MXCSR: the six exception masks, and the rounding field (00: to nearest,
// the mode compiled C and COBOL programs compute in, so that a float or
// double result is the program's to the last bit).
constexpr unsigned int sseMasks = 0x1F80;
constexpr unsigned int sseRounding = 0x6000;

#if defined(__x86_64__)
// The x87 control word: the six exception masks, precision control (11:
// 64-bit), rounding control (00: to nearest), infinity control (0:
// projective).
constexpr unsigned short x87Masks = 0x003F;
constexpr unsigned short x87Precision64 = 0x0300;
constexpr unsigned short x87Rounding = 0x0C00;
constexpr unsigned short x87Infinity = 0x1000;
#endif

} // namespace

FloatingPointGuard::FloatingPointGuard() : sse(__builtin_cpu_supports("sse"))
{
    fegetenv(&saved);
    if (sse)
        __asm__ __volatile__("stmxcsr %0" : "=m"(savedMxcsr));
#if defined(__x86_64__)
    // 64-bit Windows' runtime keeps SSE's mode alone and refuses a precision
    // or infinity mask: the x87's control word is set here directly.
    unsigned short control = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(control));
    control = static_cast<unsigned short>((control & ~(x87Infinity | x87Rounding)) | x87Masks | x87Precision64);
    __asm__ __volatile__("fldcw %0" : : "m"(control));
#else
    _controlfp(_MCW_EM | _RC_NEAR | _PC_64 | _IC_PROJECTIVE, _MCW_EM | _MCW_RC | _MCW_PC | _MCW_IC);
#endif
    // The SSE unit's mode too, whatever the runtime's call set there.
    if (sse) {
        unsigned int mxcsr = (savedMxcsr & ~sseRounding) | sseMasks;
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
