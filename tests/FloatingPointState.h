#ifndef NORVEXA_TESTS_FLOATINGPOINTSTATE_H
#define NORVEXA_TESTS_FLOATINGPOINTSTATE_H

// The floating-point unit's control and status words as the processor
// holds them (x87 and SSE), for the tests of the mode an entry point's
// frame runs in, and the fields of those words.

#if defined(_WIN32)
#include <float.h>
#endif

#include <gtest/gtest.h>

struct FpuState {
    unsigned short control; // x87 control word
    unsigned short status;  // x87 status word
    unsigned int mxcsr;
};

inline FpuState fpuState()
{
    FpuState state{};
    __asm__ __volatile__("fnstcw %0" : "=m"(state.control));
    __asm__ __volatile__("fnstsw %0" : "=m"(state.status));
    __asm__ __volatile__("stmxcsr %0" : "=m"(state.mxcsr));
    return state;
}

inline constexpr unsigned short x87Masks = 0x003F; // invalid, denormal, zero, overflow, underflow, precision
inline constexpr unsigned short x87Overflow = 0x0008;
inline constexpr unsigned short x87Precision = 0x0300; // 11: 64-bit, 10: 53-bit
inline constexpr unsigned short x87Rounding = 0x0C00;  // 11: toward zero, 00: nearest
inline constexpr unsigned short x87Infinity = 0x1000;  // 0: projective
inline constexpr unsigned short x87Flags = 0x003F;     // status word exception flags
inline constexpr unsigned int sseMasks = 0x1F80;
inline constexpr unsigned int sseOverflowMask = 0x0200;
inline constexpr unsigned int sseRounding = 0x6000;
inline constexpr unsigned int sseFlags = 0x003F;

// The evaluator's mode on Windows: every exception masked (the denormal one
// too), 64-bit precision, round to nearest, projective infinity; in SSE
// every exception masked and round to nearest.
inline void expectEvaluatorMode(const FpuState& state)
{
    EXPECT_EQ(state.control & x87Masks, x87Masks);
    EXPECT_EQ(state.control & x87Precision, x87Precision);
    EXPECT_EQ(state.control & x87Rounding, 0);
    EXPECT_EQ(state.control & x87Infinity, 0);
    EXPECT_EQ(state.mxcsr & sseMasks, sseMasks);
    EXPECT_EQ(state.mxcsr & sseRounding, 0u);
}

#if defined(_WIN32)
// The mode of the Windows host these tests play: round upward, 53-bit
// precision, overflow unmasked in the x87 and in SSE, no flags raised.
// 64-bit Windows' runtime sets SSE's mode alone (and refuses a precision
// mask): there the x87's control word is set directly.
inline FpuState setHostMode()
{
    _clearfp();
#if defined(__x86_64__)
    __asm__ __volatile__("fnclex");
    unsigned short control = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(control));
    control = static_cast<unsigned short>((control & ~(x87Rounding | x87Precision | x87Masks)) | 0x0800 /* upward */ |
                                          0x0200 /* 53-bit */
                                          | (x87Masks & ~x87Overflow));
    __asm__ __volatile__("fldcw %0" : : "m"(control));
#else
    _controlfp(_RC_UP | _PC_53 | (_MCW_EM & ~_EM_OVERFLOW), _MCW_EM | _MCW_RC | _MCW_PC);
#endif
    unsigned int mxcsr = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
    mxcsr = (mxcsr & ~(sseRounding | sseFlags | sseOverflowMask)) | 0x4000 /* upward */
            | (sseMasks & ~sseOverflowMask);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
    return fpuState();
}

// Puts back control words read by fpuState(), with no x87 flag raised.
inline void restoreControlWords(const FpuState& state)
{
    __asm__ __volatile__("fnclex");
    __asm__ __volatile__("fldcw %0" : : "m"(state.control));
    __asm__ __volatile__("ldmxcsr %0" : : "m"(state.mxcsr));
}
#endif

#endif
