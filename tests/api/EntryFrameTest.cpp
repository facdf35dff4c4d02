// The frame every entry point shares: the entry trace balanced on every way
// out, the environment current on entry put back, the catch-all and its
// mapping hook; and the initialisation count behind the initialised query.

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/EntryFrame.h"
#include "api/LifeCycle.h"
#include "api/PluginEntryPoints.h"
#include "services/CurrentEnvironmentRegistry.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/inprocess/TestHostFixture.h"
#include "testseam/SVCTestSeam.h"

namespace {

class EntryFrameTest : public TestHostFixture {};

const LCC_Eval_Context_Info* fakeContext(std::uintptr_t n)
{
    return reinterpret_cast<const LCC_Eval_Context_Info*>(n);
}

enum class Exit {
    returns,         // the work answers its status
    caught,          // the work throws; the plain catch-all answers
    mapped,          // the mapping matches the exception and answers its code
    mappingPassesOn, // the mapping does not match what was thrown
    mappingThrows,   // the mapping fails itself
    pastTheFrame,    // thrown outside the catch-all
};

constexpr unsigned line = 321;

UBYTE2 entryPoint(Exit exit, ExpressionRepresentation& first, ExpressionRepresentation& second,
                  std::vector<EvaluationEnvironment*>& seen)
{
    EntryFrame frame("UBYTE2 DbgProbe(ExpressionRepresentation*)", line);
    auto work = [&]() -> UBYTE2 {
        frame.makeCurrent(first, fakeContext(7));
        seen.push_back(EvaluationEnvironment::currentOrNull());
        // Made current again within the same request (a nested evaluation
        // may have changed it): the frame still restores the entry's one.
        frame.makeCurrent(second);
        seen.push_back(EvaluationEnvironment::currentOrNull());
        if (exit == Exit::returns)
            return 1003;
        if (exit == Exit::mappingPassesOn)
            throw std::runtime_error("not an evaluation error");
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, "probe", 1);
    };
    auto mapping = [&]() -> UBYTE2 {
        if (exit == Exit::mappingThrows)
            throw std::logic_error("mapping failed");
        try {
            throw;
        } catch (const InvalidOp& error) {
            return error.code() == InvalidOp::RTRC_DivideByZero ? statusDivideByZero : statusFailure;
        }
    };
    switch (exit) {
    case Exit::returns:
    case Exit::caught: return frame.guard(work);
    case Exit::mapped:
    case Exit::mappingPassesOn:
    case Exit::mappingThrows: return frame.guard(work, mapping);
    case Exit::pastTheFrame: return work();
    }
    return 0;
}

TEST_F(EntryFrameTest, BalancesTheTraceAndRestoresTheEnvironmentOnEveryWayOut)
{
    struct Case {
        Exit exit;
        UBYTE2 status; // past the frame: none, the exception leaves
    };
    const Case cases[] = {
        {Exit::returns, 1003},
        {Exit::caught, statusFailure},
        {Exit::mapped, statusDivideByZero},
        {Exit::mappingPassesOn, statusFailure},
        {Exit::mappingThrows, statusFailure},
        {Exit::pastTheFrame, 0},
    };
    ExpressionRepresentation outer(6, nullptr);
    ExpressionRepresentation first(2, nullptr);
    ExpressionRepresentation second(11, nullptr);
    for (EvaluationEnvironment* before :
         {static_cast<EvaluationEnvironment*>(nullptr), static_cast<EvaluationEnvironment*>(&outer)}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "exit " << int(c.exit) << (before ? " over one" : " over none"));
            CurrentEnvironmentRegistry::exchange(before);
            host.clearLines();
            std::vector<EvaluationEnvironment*> seen;
            if (c.exit == Exit::pastTheFrame) {
                EXPECT_THROW(entryPoint(c.exit, first, second, seen), InvalidOp);
            } else {
                EXPECT_EQ(entryPoint(c.exit, first, second, seen), c.status);
            }
            EXPECT_EQ(seen, (std::vector<EvaluationEnvironment*>{&first, &second}));
            EXPECT_EQ(first.context(), fakeContext(7));
            EXPECT_EQ(EvaluationEnvironment::currentOrNull(), before);
            EXPECT_EQ(SVCTestSeam::indent(), 0u);
            std::vector<std::string> texts = host.texts();
            ASSERT_GE(texts.size(), 2u);
            EXPECT_EQ(texts.front(), "  ENTER UBYTE2 DbgProbe(ExpressionRepresentation*): (321)");
            EXPECT_EQ(texts.back(), "  UBYTE2 DbgProbe(0): EXIT");
        }
    }
    CurrentEnvironmentRegistry::exchange(nullptr);
}

TEST_F(EntryFrameTest, InitialisedWhileInitialisationsOutnumberTerminations)
{
    while (evaluatorInitialized())
        DbgTerminateRunTime();
    struct Step {
        char call; // I initialise, F initialise without a table, T terminate
        bool initialisedAfter;
    };
    const Step steps[] = {
        {'T', false}, // at 0 a termination changes nothing
        {'F', false}, // a failed start leaves the count alone
        {'I', true},  {'I', true}, {'T', true}, {'T', false}, {'T', false}, {'I', true}, {'T', false},
    };
    for (const Step& s : steps) {
        switch (s.call) {
        case 'I': EXPECT_EQ(DbgInitialize(host.activate()), 1); break;
        case 'F': EXPECT_EQ(DbgInitialize(nullptr), 0); break;
        case 'T': DbgTerminateRunTime(); break;
        }
        EXPECT_EQ(evaluatorInitialized(), s.initialisedAfter) << "after " << s.call;
    }
    // The failed start emptied the evaluator's table; the next one filled it.
    EXPECT_NE(SVC::callBacks()->Expr2ReadMemory, nullptr);
}

} // namespace
