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
    unsigned short control;  // x87 control word
    unsigned short status;   // x87 status word
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

inline constexpr unsigned short x87Masks = 0x003F;      // invalid, denormal, zero, overflow, underflow, precision
inline constexpr unsigned short x87Overflow = 0x0008;
inline constexpr unsigned short x87Precision = 0x0300;  // 11: 64-bit, 10: 53-bit
inline constexpr unsigned short x87Rounding = 0x0C00;   // 11: toward zero, 00: nearest
inline constexpr unsigned short x87Infinity = 0x1000;   // 0: projective
inline constexpr unsigned short x87Flags = 0x003F;      // status word exception flags
inline constexpr unsigned int sseMasks = 0x1F80;
inline constexpr unsigned int sseOverflowMask = 0x0200;
inline constexpr unsigned int sseRounding = 0x6000;
inline constexpr unsigned int sseFlags = 0x003F;

// The evaluator's mode on Windows: every exception masked (the denormal one
// too), 64-bit precision, round toward zero, projective infinity; in SSE
// every exception masked and round toward zero.
inline void expectEvaluatorMode(const FpuState& state)
{
    EXPECT_EQ(state.control & x87Masks, x87Masks);
    EXPECT_EQ(state.control & x87Precision, x87Precision);
    EXPECT_EQ(state.control & x87Rounding, x87Rounding);
    EXPECT_EQ(state.control & x87Infinity, 0);
    EXPECT_EQ(state.mxcsr & sseMasks, sseMasks);
    EXPECT_EQ(state.mxcsr & sseRounding, sseRounding);
}

#if defined(_WIN32)
// The mode of the Windows host these tests play: round to nearest, 53-bit
// precision, overflow unmasked in the x87 and in SSE, no flags raised.
inline FpuState setHostMode()
{
    _clearfp();
    _controlfp(_RC_NEAR | _PC_53 | (_MCW_EM & ~_EM_OVERFLOW), _MCW_EM | _MCW_RC | _MCW_PC);
    unsigned int mxcsr = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
    mxcsr = (mxcsr & ~(sseRounding | sseFlags | sseOverflowMask)) | (sseMasks & ~sseOverflowMask);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
    return fpuState();
}
#endif

#endif
