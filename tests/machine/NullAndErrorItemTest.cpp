#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "machine/StackItemEvalError.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class NullAndErrorItemTest : public MachineFixture {};

ByteString text(const char* s)
{
    return ByteString(reinterpret_cast<const unsigned char*>(s), static_cast<unsigned>(std::strlen(s)));
}

} // namespace

TEST_F(NullAndErrorItemTest, NullItem)
{
    StackItemNull null(rep());
    EXPECT_TRUE(null.type().typeIndex() == 0u);
    EXPECT_EQ(null.size(), 0u);
    EXPECT_TRUE(null.hasValue());
    EXPECT_EQ(null.evaluationError(), nullptr);
    // As a condition it is refused with RTRC_NotAllocated.
    EXPECT_EQ(raisedCode([&] { null.isZero(); }), InvalidOp::RTRC_NotAllocated);

    // A clone starts fresh; a copy keeps what a copy keeps.
    null.setPlaybackGuarded(true);
    null.setName("P");
    std::unique_ptr<StackItem> fresh(null.clone());
    EXPECT_NE(dynamic_cast<StackItemNull*>(fresh.get()), nullptr);
    EXPECT_FALSE(fresh->playbackGuarded());
    EXPECT_TRUE(fresh->hasValue());
    StackItemNull copy(null);
    EXPECT_TRUE(copy.playbackGuarded());
    EXPECT_TRUE(copy.hasValue());

    // Loading from any place is refused and leaves no value.
    host.memory().store(0x10, {1, 2, 3, 4});
    EXPECT_EQ(raisedCode([&] { null.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10)))); }),
              InvalidOp::RTRC_IncompatTypes);
    EXPECT_FALSE(null.hasValue());
    EXPECT_EQ(raisedCode([&] { null.load(DebuggeeLocation()); }), InvalidOp::RTRC_IncompatTypes);

    // Arithmetic with a null operand is refused whichever side it is on
    // (the integer items cannot read a number from it).
    stack().push(new StackItemNull(rep()));
    stack().push(new StackItemS4(rep(), 1));
    EXPECT_EQ(raisedCode([&] { stack().genAdd(); }), InvalidOp::RTRC_IncompatTypes);
    stack().push(new StackItemNull(rep()));
    EXPECT_EQ(raisedCode([&] { stack().genSubtract(); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(NullAndErrorItemTest, EvaluationErrorItem)
{
    auto* error = new StackItemEvalError(rep(), text("Division by zero"));
    EXPECT_TRUE(error->type().typeIndex() == 223u);
    EXPECT_TRUE(error->isString());
    EXPECT_TRUE(error->inDebuggerAddressSpace());
    EXPECT_TRUE(error->hasValue());
    EXPECT_EQ(error->size(), 16u);
    EXPECT_EQ(error->stringLength(), 16u);
    EXPECT_EQ(std::memcmp(error->resultBuffer(), "Division by zero", 16), 0);
    EXPECT_STREQ(error->evaluationError(), "Division by zero");
    error->load(DebuggeeLocation()); // nothing to read
    EXPECT_STREQ(error->evaluationError(), "Division by zero");

    // A clone owns its own text.
    std::unique_ptr<StackItem> copy(error->clone());
    delete error;
    EXPECT_STREQ(copy->evaluationError(), "Division by zero");
    EXPECT_TRUE(copy->inDebuggerAddressSpace());
    EXPECT_EQ(copy->stringLength(), 16u);

    StackItemEvalError empty(rep(), ByteString());
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_STREQ(empty.evaluationError(), "");
}

TEST_F(NullAndErrorItemTest, ErrorItemNeedsNoFileScope)
{
    // A representation without a host context cannot find its file scope;
    // the item that carries the error is made all the same.
    ExpressionRepresentation bare(languageC, nullptr);
    bare.makeCurrent(nullptr);
    StackItemEvalError error(bare, text("No context"));
    EXPECT_STREQ(error.evaluationError(), "No context");
    rep().makeCurrent(context);
}
