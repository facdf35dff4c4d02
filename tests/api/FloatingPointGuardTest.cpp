// The floating-point mode of an entry point's frame: the evaluator's own on
// Windows (everything masked, chop, 64-bit, projective) and the host's back
// on every exit; on Linux the host's mode throughout.

#include <cfenv>
#include <cfloat>
#include <stdexcept>

#include <gtest/gtest.h>

#include "api/FloatingPointGuard.h"

namespace {

struct FpuState {
    unsigned short control;  // x87 control word
    unsigned short status;   // x87 status word
    unsigned int mxcsr;
};

FpuState fpuState()
{
    FpuState state{};
    __asm__ __volatile__("fnstcw %0" : "=m"(state.control));
    __asm__ __volatile__("fnstsw %0" : "=m"(state.status));
    __asm__ __volatile__("stmxcsr %0" : "=m"(state.mxcsr));
    return state;
}

// x87 control word fields, and MXCSR's.
[[maybe_unused]] constexpr unsigned short x87Masks = 0x003F;       // invalid, denormal, zero, overflow, underflow, precision
[[maybe_unused]] constexpr unsigned short x87Overflow = 0x0008;
[[maybe_unused]] constexpr unsigned short x87Precision = 0x0300;   // 11: 64-bit
[[maybe_unused]] constexpr unsigned short x87Rounding = 0x0C00;    // 11: toward zero, 00: nearest
[[maybe_unused]] constexpr unsigned short x87Infinity = 0x1000;    // 0: projective
[[maybe_unused]] constexpr unsigned short x87Flags = 0x003F;       // status word exception flags
[[maybe_unused]] constexpr unsigned int sseMasks = 0x1F80;
[[maybe_unused]] constexpr unsigned int sseRounding = 0x6000;
[[maybe_unused]] constexpr unsigned int sseFlags = 0x003F;

// Every test leaves the floating-point environment as it found it.
class FloatingPointGuardTest : public ::testing::Test {
protected:
    void SetUp() override { std::fegetenv(&before); }
    void TearDown() override { std::fesetenv(&before); }

    std::fenv_t before;
};

// What a host callback reached from inside an entry point's frame sees.
FpuState callbackSees()
{
    FloatingPointGuard frame;
    return fpuState();
}

#if defined(_WIN32)

// The host's mode: nearest, 53-bit, overflow unmasked, no flags raised.
FpuState setHostMode()
{
    _clearfp();
    _controlfp(_RC_NEAR | _PC_53 | (_MCW_EM & ~_EM_OVERFLOW), _MCW_EM | _MCW_RC | _MCW_PC);
    unsigned int mxcsr = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
    mxcsr = (mxcsr & ~(sseRounding | sseFlags | 0x0200u)) | (sseMasks & ~0x0200u);  // SSE overflow unmasked
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
    return fpuState();
}

void expectEvaluatorMode(const FpuState& state)
{
    EXPECT_EQ(state.control & x87Masks, x87Masks);
    EXPECT_EQ(state.control & x87Precision, x87Precision);
    EXPECT_EQ(state.control & x87Rounding, x87Rounding);
    EXPECT_EQ(state.control & x87Infinity, 0);
    EXPECT_EQ(state.mxcsr & sseMasks, sseMasks);
    EXPECT_EQ(state.mxcsr & sseRounding, sseRounding);
}

TEST_F(FloatingPointGuardTest, FrameRunsInTheEvaluatorsModeAndGivesTheHostItsOwnBack)
{
    const FpuState host = setHostMode();
    ASSERT_EQ(host.control & x87Overflow, 0);
    ASSERT_EQ(host.control & x87Rounding, 0);

    expectEvaluatorMode(callbackSees());

    FpuState after = fpuState();
    EXPECT_EQ(after.control, host.control);
    EXPECT_EQ(after.mxcsr, host.mxcsr);
}

TEST_F(FloatingPointGuardTest, OverflowInsideTheFrameTrapsNotAndLeavesNoFlag)
{
    const FpuState host = setHostMode();
    volatile long double big = LDBL_MAX;
    volatile double bigDouble = DBL_MAX;
    {
        FloatingPointGuard frame;
        big = big * big;          // x87: masked inside the frame
        bigDouble = bigDouble * bigDouble;
        EXPECT_NE(fpuState().status & x87Flags, 0);
    }
    const FpuState after = fpuState();
    EXPECT_EQ(after.status & x87Flags, 0);
    EXPECT_EQ(after.mxcsr & sseFlags, host.mxcsr & sseFlags);
    EXPECT_EQ(after.control, host.control);
}

TEST_F(FloatingPointGuardTest, FailingCallsAndInnerEntryPointsRestoreTheirCallersMode)
{
    const FpuState host = setHostMode();
    EXPECT_THROW(
        {
            FloatingPointGuard frame;
            throw std::runtime_error("failing call");
        },
        std::runtime_error);
    EXPECT_EQ(fpuState().control, host.control);
    EXPECT_EQ(fpuState().mxcsr, host.mxcsr);

    // An entry point called from inside another (the update road) ends with
    // the outer frame's mode still in force for the outer frame's callbacks.
    {
        FloatingPointGuard outer;
        const FpuState evaluator = fpuState();
        expectEvaluatorMode(callbackSees());
        expectEvaluatorMode(callbackSees());
        EXPECT_EQ(fpuState().control, evaluator.control);
        EXPECT_EQ(fpuState().mxcsr, evaluator.mxcsr);
    }
    EXPECT_EQ(fpuState().control, host.control);
}

#else

TEST_F(FloatingPointGuardTest, LinuxCallbacksSeeTheHostsControlWordAndMxcsr)
{
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
    const FpuState host = fpuState();

    const FpuState inside = callbackSees();
    EXPECT_EQ(inside.control, host.control);
    EXPECT_EQ(inside.mxcsr, host.mxcsr);
    EXPECT_EQ(std::fegetround(), FE_UPWARD);

    // A flag raised inside stays raised: the frame does not touch the unit.
    {
        FloatingPointGuard frame;
        volatile double zero = 0.0;
        volatile double one = 1.0;
        volatile double quotient = one / zero;
        (void)quotient;
    }
    EXPECT_NE(std::fetestexcept(FE_DIVBYZERO), 0);
    EXPECT_EQ(fpuState().control, host.control);
}

#endif

}  // namespace
