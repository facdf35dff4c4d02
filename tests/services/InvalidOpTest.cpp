#include <gtest/gtest.h>

#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

namespace {

TEST(InvalidOpNames, TableRunsFromCodeOneToFortySixInOrder)
{
    EXPECT_EQ(InvalidOp::nameTable[0].code, 1);
    EXPECT_STREQ(InvalidOp::nameTable[0].name, "RTRC_NotSupported");
    int rows = 0;
    while (InvalidOp::nameTable[rows].name != nullptr) {
        EXPECT_EQ(InvalidOp::nameTable[rows].code, rows + 1);
        ++rows;
    }
    EXPECT_EQ(rows, 46);
    EXPECT_EQ(InvalidOp::nameTable[45].code, InvalidOp::RTRC_FIXME);
    EXPECT_STREQ(InvalidOp::nameTable[45].name, "RTRC_FIXME");
}

TEST(InvalidOpNames, LookupByCode)
{
    struct {
        int code;
        const char* name;
    } cases[] = {
        {1, "RTRC_NotSupported"},
        {7, "RTRC_IntfRoutineFailed"},
        {12, "RTRC_Register_Empty"},
        {23, "RTRC_BadContext"},
        {42, "RTRC_BadODOObjectValue"},
        {46, "RTRC_FIXME"},
        {0, "Unknown"},
        {47, "Unknown"},
        {-1, "Unknown"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(InvalidOp::codeName(c.code), c.name) << c.code;
}

class InvalidOpTrace : public TestHostFixture {};

TEST_F(InvalidOpTrace, LineWithFunctionNamesCodeFunctionLineAndText)
{
    InvalidOp error(InvalidOp::RTRC_FIXME, "void Frame::base(int) const", 321, "no base");
    ASSERT_EQ(host.lines().size(), 1u);
    EXPECT_EQ(host.lines()[0].component, "DOREDOZ2");
    EXPECT_EQ(host.lines()[0].text, " InvalidOp RTRC_FIXME(46) at void Frame::base(int) const(321)  no base");
    EXPECT_EQ(error.code(), InvalidOp::RTRC_FIXME);
    EXPECT_EQ(error.line(), 321u);
    EXPECT_STREQ(error.function(), "void Frame::base(int) const");
    EXPECT_EQ(error.text(), EncodedString(L"no base"));
}

TEST_F(InvalidOpTrace, LineWithoutFunctionAndUnknownCodes)
{
    InvalidOp unknown(static_cast<InvalidOp::InvalidOperation>(47), nullptr, 5);
    InvalidOp zero(static_cast<InvalidOp::InvalidOperation>(0), nullptr, 5, "why");
    EXPECT_EQ(host.texts(), (std::vector<std::string>{" InvalidOp Unknown(47)  ", " InvalidOp Unknown(0)  why"}));
    EXPECT_TRUE(unknown.text().empty());
}

TEST_F(InvalidOpTrace, LineTakesTheCurrentIndent)
{
    SVC::traceIndent();
    SVC::traceIndent();
    SVC::traceIndent();
    InvalidOp error(InvalidOp::RTRC_NotSupported, "f()", 1);
    EXPECT_EQ(host.texts().at(0), "      InvalidOp RTRC_NotSupported(1) at f()(1)  ");
}

TEST_F(InvalidOpTrace, ThrownAndCaughtByReferenceKeepsItsFields)
{
    try {
        throw InvalidOp(InvalidOp::RTRC_DivideByZero, "g()", 9, "x / 0");
    } catch (const InvalidOp& caught) {
        EXPECT_EQ(caught.code(), InvalidOp::RTRC_DivideByZero);
        EXPECT_EQ(caught.text().asUTF8(), ByteString(reinterpret_cast<const unsigned char*>("x / 0"), 5));
    }
}

class InvalidOpTraceOff : public TestHostFixture {
protected:
    InvalidOpTraceOff() : TestHostFixture(false) {}
};

TEST_F(InvalidOpTraceOff, WritesNothing)
{
    InvalidOp error(InvalidOp::RTRC_Other, "h()", 3, "text");
    error.trace();
    EXPECT_TRUE(host.lines().empty());
    EXPECT_FALSE(*SVC::traceEnabled());
}

} // namespace
