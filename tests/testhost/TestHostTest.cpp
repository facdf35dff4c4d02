#include <gtest/gtest.h>

#include "testseam/SVCTestSeam.h"
#include "services/SVC.h"
#include "testhost/TestHost.h"
#include "testhost/TestHostFixture.h"

namespace {

int fixedCodepageCalls = 0;
const char* fixedCodepage(EXPR_CTX)
{
    ++fixedCodepageCalls;
    return "IBM-1047";
}

TEST(TestHost, InstallsItsTableAndCapturesEveryTraceSlot)
{
    TestHost host;
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetCodepage, &fixedCodepage);
    SVCTestSeam::setTrace(false);
    ASSERT_TRUE(host.install());
    EXPECT_EQ(TestHost::current(), &host);
    EXPECT_TRUE(*SVC::traceEnabled());
    EXPECT_EQ(SVC::Expr2TraceEnabled(), 1);
    EXPECT_STREQ(SVC::callBacks()->ExprGetCodepage(nullptr), "IBM-1047");
    EXPECT_EQ(fixedCodepageCalls, 1);

    SVC::fTrace("f(int)", 3, "x");
    SVC::Expr2TraceWithID(77, "COMP", "with id");
    auto lines = host.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].component, "DOREDOZ2");
    EXPECT_EQ(lines[0].text, " f(3): x");
    EXPECT_FALSE(lines[0].withId);
    EXPECT_TRUE(lines[1].withId);
    EXPECT_EQ(lines[1].id, 77u);
    EXPECT_EQ(lines[1].component, "COMP");
    host.clearLines();
    EXPECT_TRUE(host.texts().empty());
    SVCTestSeam::setTrace(false);
}

TEST(TestHost, LeavingScopeUninstalls)
{
    {
        TestHost host(false);
        ASSERT_TRUE(host.install());
        EXPECT_FALSE(host.traceSwitch());
    }
    EXPECT_EQ(TestHost::current(), nullptr);
    // The evaluator's copy still points at the trace slots; with no host
    // installed they drop the lines.
    SVCTestSeam::setTrace(true);
    EXPECT_NO_THROW(SVC::pTrace("dropped"));
    SVCTestSeam::setTrace(false);
}

class FixtureTest : public TestHostFixture {};

TEST_F(FixtureTest, StartsWithTracingOnIndentZeroAndNoLines)
{
    EXPECT_TRUE(*SVC::traceEnabled());
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
    EXPECT_TRUE(host.lines().empty());
}

} // namespace
