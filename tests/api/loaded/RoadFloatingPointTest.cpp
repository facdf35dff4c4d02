// The floating-point mode the host's callbacks see while an entry point
// runs, and the mode the host has when it returns. norvexa.dll runs every
// entry point's frame in the evaluator's mode (all exceptions masked, the
// denormal one too; round to nearest; 64-bit precision; projective
// infinity) and gives the host its own control words and flags back, on
// failures too; an update's write, after the update's own inner build,
// validation and evaluation, still runs in the evaluator's mode; an
// overflow the host unmasked does not trap. libnorvexa.so leaves the unit
// alone: its callbacks see the host's own mode.

#include <cfenv>
#include <cstring>
#include <string>
#include <vector>

#include "FloatingPointState.h"
#include "RoadSuite.h"

namespace {

using L = RoadLanguage;
constexpr int skip = RoadCase::noEvaluation;

// The host's own mode, set by each case's fixture before the first call.
// Windows: round upward, 53-bit precision, overflow unmasked in the x87
// and in SSE, no flags. Linux: round upward and 53-bit precision (an
// unmasked exception would trap in the evaluator there, which leaves the
// unit as the host set it).
FpuState hostMode;

void setHostModeOfTheCase()
{
#if defined(_WIN32)
    hostMode = setHostMode();
#else
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_UPWARD); // the x87's and SSE's
    unsigned short control = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(control));
    control = static_cast<unsigned short>((control & ~x87Precision) | 0x0200); // 53-bit
    __asm__ __volatile__("fldcw %0" : : "m"(control));
    hostMode = fpuState();
#endif
}

// What the host's memory callbacks saw, in the order of the calls.
std::vector<FpuState> seenByReads;
std::vector<FpuState> seenByWrites;
EXPR2_READ_MEMORY hostRead = nullptr;
EXPR2_WRITE_MEMORY hostWrite = nullptr;

int recordingRead(EXPR_CTX context, EE_ADDR address, UBYTE4 count, void* buffer, UBYTE4* read)
{
    seenByReads.push_back(fpuState());
    return hostRead(context, address, count, buffer, read);
}

int recordingWrite(EXPR_CTX context, EE_ADDR address, UBYTE4 count, const void* buffer, UBYTE4* written)
{
    seenByWrites.push_back(fpuState());
    return hostWrite(context, address, count, buffer, written);
}

void recordMemoryCallbacks(TestHost& host)
{
    hostRead = host.table().Expr2ReadMemory;
    hostWrite = host.table().Expr2WriteMemory;
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2ReadMemory, &recordingRead);
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2WriteMemory, &recordingWrite);
}

// What a callback sees inside an entry point's frame.
void expectCallbackMode(const FpuState& seen)
{
#if defined(_WIN32)
    expectEvaluatorMode(seen);
#else
    EXPECT_EQ(seen.control, hostMode.control);
    EXPECT_EQ(seen.mxcsr, hostMode.mxcsr);
#endif
}

// The host's mode after the calls returned: its control words, and on
// Windows its flags too (flags raised while masked are dropped).
void expectHostModeBack()
{
    const FpuState now = fpuState();
    EXPECT_EQ(now.control, hostMode.control);
#if defined(_WIN32)
    EXPECT_EQ(now.mxcsr, hostMode.mxcsr);
    EXPECT_EQ(now.status & x87Flags, hostMode.status & x87Flags);
#else
    EXPECT_EQ(now.mxcsr & ~sseFlags, hostMode.mxcsr & ~sseFlags);
#endif
}

// a = 3, b = 4 (int); the host's mode set.
void cProgram(RoadProgram& p)
{
    const TYPE_INDEX i32 = p.records().integerType(32, false);
    p.variable("a", i32, 0x20);
    p.variable("b", i32, 0x24);
    p.poke(0x20, {0, 0, 0, 3, 0, 0, 0, 4});
    seenByReads.clear();
    seenByWrites.clear();
    setHostModeOfTheCase();
}

// Every read of memory fails.
void cProgramUnreadable(RoadProgram& p)
{
    cProgram(p);
    p.host.failSlot(HS_Expr2ReadMemory, 6, TestHost::Always);
}

void readsInTheirMode(RoadRun&)
{
    ASSERT_FALSE(seenByReads.empty());
    for (const FpuState& seen : seenByReads)
        expectCallbackMode(seen);
    expectHostModeBack();
}

void hostModeBack(RoadRun&)
{
    expectHostModeBack();
}

// An overflow inside the evaluator leaves no flag behind that the host's
// next x87 instruction would trap on, its overflow being unmasked.
void overflowLeavesNoTrap(RoadRun&)
{
    expectHostModeBack();
    volatile long double x = 1.5L;
    x = x * 2.0L;
    EXPECT_EQ(x, 3.0L);
}

// The root updated from "12": the write, made after the update's inner
// calls returned, is in the evaluator's mode; the host's mode is back.
void updateWritesInItsMode(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    char text[] = "12";
    seenByWrites.clear();
    EXPECT_EQ(r.dbg.update(r.program.context, r.result, root, 2, reinterpret_cast<UBYTE1*>(text)), 0);
    EXPECT_EQ(r.program.peek(0x20, 4), (std::vector<UBYTE1>{0, 0, 0, 12}));
    ASSERT_EQ(seenByWrites.size(), 1u);
    expectCallbackMode(seenByWrites[0]);
    expectHostModeBack();

    // A text the update refuses gives the host its mode back as well.
    char refused[] = "not a number";
    EXPECT_NE(r.dbg.update(r.program.context, r.result, root, 2, reinterpret_cast<UBYTE1*>(refused)), 0);
    EXPECT_EQ(r.program.peek(0x20, 4), (std::vector<UBYTE1>{0, 0, 0, 12}));
    expectHostModeBack();
}

const RoadCase cases[] = {
    {"reads while evaluating", L::c, cProgram, "a + b", 0, -1, nullptr, 0, "a + b", readsInTheirMode},
    {"an update's write", L::c, cProgram, "a", 0, -1, nullptr, 0, "a", updateWritesInItsMode},
    {"a division by zero", L::c, cProgram, "a / (b - 4)", 0, -1, nullptr, 10007, nullptr, readsInTheirMode},
    {"an unknown name", L::c, cProgram, "nosuch", 11002, -1, nullptr, skip, nullptr, hostModeBack},
    {"a read that fails", L::c, cProgramUnreadable, "a + b", 0, -1, nullptr, 11051, nullptr, readsInTheirMode},
    {"an overflow", L::c, cProgram, "1e308 * 10", 0, -1, nullptr, 0, nullptr, overflowLeavesNoTrap},
};

// The floating-point environment of the test program as it was before.
class KeptEnvironment {
public:
    KeptEnvironment() { std::fegetenv(&saved_); }
    ~KeptEnvironment() { std::fesetenv(&saved_); }
    KeptEnvironment(const KeptEnvironment&) = delete;
    KeptEnvironment& operator=(const KeptEnvironment&) = delete;

private:
    std::fenv_t saved_;
};

TEST_P(RoadSuite, FloatingPointMode)
{
    KeptEnvironment kept;
    prepareHost = recordMemoryCallbacks;
    runAll(cases);
    prepareHost = nullptr;
}

} // namespace
