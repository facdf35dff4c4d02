// The floating-point mode of an entry point's frame: the evaluator's own on
// Windows (everything masked, to nearest, 64-bit, projective) and the host's back
// on every exit; on Linux the host's mode throughout.

#include <cfenv>
#include <cfloat>
#include <stdexcept>

#include <gtest/gtest.h>

#include "FloatingPointState.h"
#include "api/FloatingPointGuard.h"

namespace {

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

TEST_F(FloatingPointGuardTest, FrameRunsInTheEvaluatorsModeAndGivesTheHostItsOwnBack)
{
    const FpuState host = setHostMode();
    ASSERT_EQ(host.control & x87Overflow, 0);
    ASSERT_EQ(host.control & x87Rounding, 0x0800); // upward
    ASSERT_EQ(host.mxcsr & sseRounding, 0x4000u);

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
        big = big * big; // x87: masked inside the frame
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

} // namespace
