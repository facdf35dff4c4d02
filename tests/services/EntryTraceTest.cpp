#include <stdexcept>

#include <gtest/gtest.h>

#include "testseam/SVCTestSeam.h"
#include "services/EntryTrace.h"
#include "testhost/TestHostFixture.h"

namespace {

class EntryTraceTest : public TestHostFixture {};

void inner(bool fail)
{
    EntryTrace trace("void inner(bool)", "(%d)", 20);
    SVC::fTrace("void inner(bool)", 21, "working");
    if (fail)
        throw std::runtime_error("inner failed");
}

void outer(bool fail)
{
    EntryTrace trace("int outer(bool fail)", "(%d)", 10);
    inner(fail);
}

const std::vector<std::string> nestedLines = {
    "  ENTER int outer(bool fail): (10)",
    "    ENTER void inner(bool): (20)",
    "    void inner(21): working",
    "    void inner(0): EXIT",
    "  int outer(0): EXIT",
};

TEST_F(EntryTraceTest, NestedScopesIndentTwoColumnsDeeperAndBalance)
{
    outer(false);
    EXPECT_EQ(host.texts(), nestedLines);
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
}

TEST_F(EntryTraceTest, ScopesLeftByAnExceptionStillWriteExitAndBalance)
{
    EXPECT_THROW(outer(true), std::runtime_error);
    EXPECT_EQ(host.texts(), nestedLines);
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
}

TEST_F(EntryTraceTest, StartsFromTheIndentItFinds)
{
    SVCTestSeam::indent() = 4;
    {
        EntryTrace trace("void f()", "(%d) x=%s", 7, "y");
    }
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"      ENTER void f(): (7) x=y", "      void f(0): EXIT"}));
    EXPECT_EQ(SVCTestSeam::indent(), 4u);
}

class EntryTraceOff : public TestHostFixture {
protected:
    EntryTraceOff() : TestHostFixture(false) {}
};

TEST_F(EntryTraceOff, KeepsTheIndentBalancedWithoutWriting)
{
    {
        EntryTrace trace("void f()", "(%d)", 1);
        EXPECT_EQ(SVCTestSeam::indent(), 2u);
    }
    EXPECT_EQ(SVCTestSeam::indent(), 0u);
    EXPECT_TRUE(host.lines().empty());
}

} // namespace
