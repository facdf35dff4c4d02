// The constant and special loads of the value stack: integer constants by
// size, wide characters, parameters, the null pointer, member offsets,
// indexes, integer literals as text, and the address of a variable with the
// marks its symbol carries.

#include <memory>
#include <typeindex>
#include <typeinfo>

#include "AddressFixture.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemFunction.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "machine/SymbolMarks.h"

namespace {

class ConstantLoadTest : public AddressFixture {
protected:
    // The class of the top item and its 64-bit pattern; pops it.
    std::type_index popClass(std::uint64_t& value)
    {
        std::unique_ptr<StackItem> item(stack().pop());
        value = item->asUnsigned();
        const StackItem& popped = *item;
        return std::type_index(typeid(popped));
    }

    // A register variable r held in register R5 of the top frame.
    SymbolItem& registerVariable()
    {
        TestHost::Register r;
        r.name = "R5";
        r.id = 5;
        r.bits = 32;
        host.addRegister(r);
        host.addFrame(mainContext, 0x8000);
        declare(records().registerVariable("r", intType, "R5"));
        return variable("r");
    }
};

} // namespace

TEST_F(ConstantLoadTest, IntegralConstantsBySize)
{
    struct Case {
        std::uint64_t value;
        int isSigned;
        std::int16_t size;
        std::type_index itemClass;
        std::uint64_t pattern; // asUnsigned of the item pushed
    } cases[] = {
        {300, 0, 1, typeid(StackItemU1), 44},
        {300, 1, 1, typeid(StackItemS1), 44},
        {0xFF, 1, 1, typeid(StackItemS1), ~0ull},
        {0x18000, 0, 2, typeid(StackItemU2), 0x8000},
        {0x18000, 1, 2, typeid(StackItemS2), 0xFFFFFFFFFFFF8000ull},
        {0x1FFFFFFFFull, 0, 4, typeid(StackItemU4), 0xFFFFFFFFu},
        {0x1FFFFFFFFull, 1, 4, typeid(StackItemS4), ~0ull},
        {0x8000000000000000ull, 1, 8, typeid(StackItemS8), 0x8000000000000000ull},
        {0x8000000000000000ull, 0, 8, typeid(StackItemU8), 0x8000000000000000ull},
    };
    for (const Case& c : cases) {
        stack().genLoadIntegralConstant(c.value, c.isSigned, c.size);
        std::uint64_t pattern = 0;
        EXPECT_EQ(popClass(pattern), c.itemClass) << c.value << "/" << c.size;
        EXPECT_EQ(pattern, c.pattern) << c.value << "/" << c.size;
    }
    for (std::int16_t size : {0, 3, 5, 16, -1})
        EXPECT_EQ(raisedCode([&] { stack().genLoadIntegralConstant(1, 0, size); }), InvalidOp::RTRC_NotSupported)
            << size;
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(ConstantLoadTest, NothingIsPushedWhileNotRunning)
{
    stack().setSkipState(RuntimeStack::dryRun);
    stack().genLoadIntegralConstant(1, 1, 3); // not even refused
    stack().genLoadNULL();
    stack().genLoadIndex(1);
    stack().genLoadIntegralValue("");
    stack().genLoadWChar(65);
    stack().genLoadParam(0);
    SymbolItem nowhere("x", *scope);
    stack().genLoadAddress(nowhere);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(ConstantLoadTest, SmallLoads)
{
    stack().genLoadNULL();
    EXPECT_NE(dynamic_cast<StackItemNull*>(stack().top()), nullptr);
    delete stack().pop();

    stack().genLoadIndex(0xFFFFFFFFu);
    std::uint64_t value = 0;
    EXPECT_EQ(popClass(value), std::type_index(typeid(StackItemU4)));
    EXPECT_EQ(value, 0xFFFFFFFFu);

    // The wide character takes the debuggee's wchar_t width.
    stack().genLoadWChar(0x10041);
    const unsigned width = typeWcharT()->typeSize();
    ASSERT_TRUE(width == 2 || width == 4);
    EXPECT_EQ(popClass(value),
              width == 2 ? std::type_index(typeid(StackItemW2)) : std::type_index(typeid(StackItemW4)));
    EXPECT_EQ(value, width == 2 ? 0x41u : 0x10041u);

    // Parameters: a signed 4-byte item; -1 when none are set.
    stack().genLoadParam(3);
    EXPECT_EQ(popClass(value), std::type_index(typeid(StackItemS4)));
    EXPECT_EQ(value, ~0ull);
    const int numbers[] = {7, -2};
    rep().setParameters(List<int>(numbers, 2), 1);
    stack().genLoadParam(1);
    EXPECT_EQ(popClass(value), std::type_index(typeid(StackItemS4)));
    EXPECT_EQ(value, std::uint64_t(-2));
    EXPECT_EQ(raisedCode([&] { stack().genLoadParam(2); }), InvalidOp::RTRC_SubscriptOutOfBounds);
}

TEST_F(ConstantLoadTest, MemberOffsetAtBothAddressSizes)
{
    for (unsigned size : {4u, 8u}) {
        use(languageC, size);
        SymbolItem member("m", *scope);
        member.memberLayout().offset = static_cast<std::uint64_t>(-8);
        stack().genLoadMemberOffset(member);
        std::uint64_t value = 0;
        EXPECT_EQ(popClass(value),
                  size == 8 ? std::type_index(typeid(StackItemS8)) : std::type_index(typeid(StackItemS4)));
        EXPECT_EQ(value, ~std::uint64_t(7)) << size;
    }
}

TEST_F(ConstantLoadTest, IntegralValuesAreEightBytes)
{
    struct Case {
        const char* text;
        std::type_index itemClass;
        std::uint64_t value;
    } cases[] = {
        {"42", typeid(StackItemS8), 42},
        {"42U", typeid(StackItemU8), 42},
        {"-1", typeid(StackItemS8), ~0ull},
        {"0xFFFFFFFFFFFFFFFFu", typeid(StackItemU8), ~0ull},
    };
    for (const Case& c : cases) {
        stack().genLoadIntegralValue(c.text);
        std::uint64_t value = 0;
        EXPECT_EQ(popClass(value), c.itemClass) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    for (const char* bad : {"", "4 2", "42X"})
        EXPECT_EQ(raisedCode([&] { stack().genLoadIntegralValue(bad); }), InvalidOp::RTRC_ParserError) << bad;
    EXPECT_EQ(raisedCode([&] { stack().genLoadIntegralValue(nullptr); }), InvalidOp::RTRC_ParserError);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(ConstantLoadTest, AddressOfAVariable)
{
    declare(records().staticVariable("v", intType, 1, 0x40));
    SymbolItem& v = variable("v");
    stack().genLoadAddress(v);
    auto* item = dynamic_cast<StackItemAddress*>(stack().top());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->asUnsigned(), 0x10040u);
    EXPECT_EQ(item->size(), 4u);
    EXPECT_TRUE(item->type().hasFlag(TypeFlags::pointer));
    EXPECT_TRUE(item->type().pointee() == v.dataType());
    EXPECT_STREQ(item->name(), "v");
    EXPECT_EQ(item->scope(), &v.scope());
    // A variable's storage is guarded in playback.
    EXPECT_TRUE(item->playbackGuarded());
    EXPECT_FALSE(item->loadedFromVariable());
    EXPECT_FALSE(stack().optimizedAddressSeen());
    const auto* bytes = static_cast<const unsigned char*>(item->resultBuffer());
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x01);
    EXPECT_EQ(bytes[2], 0x00);
    EXPECT_EQ(bytes[3], 0x40);
}

TEST_F(ConstantLoadTest, SymbolMarksShapeTheAddress)
{
    // p holds a pointer to 0x12345; with the address-load mark the item holds
    // what p holds, as read from p.
    const TYPE_INDEX pointer = records().pointerType(intType, 4);
    declare(records().staticVariable("p", pointer, 1, 0x50));
    host.memory().storeBigEndian(0x10050, 0x12345, 4);
    SymbolItem& p = variable("p");

    p.setOptimized(true);
    p.setPlaybackGuarded(true);
    stack().genLoadAddress(p);
    EXPECT_TRUE(stack().optimizedAddressSeen());
    EXPECT_TRUE(stack().top()->playbackGuarded());
    EXPECT_EQ(stack().top()->asUnsigned(), 0x10050u);
    delete stack().pop();

    p.setOptimized(false);
    p.setPlaybackGuarded(false);
    p.setAddressLoad(true);
    stack().popAll();
    stack().genLoadAddress(p);
    EXPECT_FALSE(stack().optimizedAddressSeen());
    // Guarded all the same: p has storage.
    EXPECT_TRUE(stack().top()->playbackGuarded());
    EXPECT_TRUE(stack().top()->loadedFromVariable());
    EXPECT_EQ(stack().top()->asUnsigned(), 0x12345u);
    EXPECT_EQ(stack().top()->location().address().addr(), 0x10050u);
}

TEST_F(ConstantLoadTest, FunctionsRegistersAndSymbolsWithoutAddress)
{
    declare(records().function("f", records().functionType(intType, {}), 1, 0x200));
    stack().genLoadAddress(variable("f"));
    auto* function = dynamic_cast<StackItemFunction*>(stack().top());
    ASSERT_NE(function, nullptr);
    ASSERT_EQ(function->size(), 4u);
    const auto* bytes = static_cast<const unsigned char*>(function->resultBuffer());
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x01);
    EXPECT_EQ(bytes[2], 0x02);
    EXPECT_EQ(bytes[3], 0x00);
    delete stack().pop();

    SymbolItem& r = registerVariable();
    EXPECT_EQ(raisedCode([&] { stack().genLoadAddress(r); }), InvalidOp::RTRC_IncompatTypes);

    // The symbol model's refusals pass through: a symbol without a host
    // entry has no address.
    SymbolItem nowhere("nowhere", *scope);
    EXPECT_EQ(raisedCode([&] { stack().genLoadAddress(nowhere); }), InvalidOp::RTRC_InvalidSymbol);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(ConstantLoadTest, SymbolMarksAreReadInOnePlace)
{
    const SymbolMarks reg = SymbolMarks::of(registerVariable());
    declare(records().staticVariable("s", intType, 1, 0x40));
    EXPECT_TRUE(reg.registerVariable);
    EXPECT_FALSE(reg.imaginaryUnit || reg.staticMember || reg.constant || reg.optimized || reg.addressLoad);
    // Every variable with storage carries the playback guard.
    EXPECT_TRUE(reg.playbackGuard);

    // The other marks no host field carries are clear until set.
    SymbolItem& s = variable("s");
    SymbolMarks plain = SymbolMarks::of(s);
    EXPECT_FALSE(plain.registerVariable || plain.imaginaryUnit || plain.staticMember || plain.constant ||
                 plain.optimized || plain.addressLoad);
    EXPECT_TRUE(plain.playbackGuard);
    s.setOptimized(true);
    s.setAddressLoad(true);
    s.memberLayout().flags |= SymbolItem::MemberLayout::staticMember;
    plain = SymbolMarks::of(s);
    EXPECT_TRUE(plain.optimized && plain.addressLoad && plain.staticMember);
    EXPECT_TRUE(plain.playbackGuard);

    // The imaginary unit of the C languages: a symbol without storage.
    ScopeItem* file = fileScope();
    ASSERT_NE(file, nullptr);
    SymbolItem* i = SymbolItem::makeVarSymbolPost("I", *file);
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(SymbolMarks::of(*i).imaginaryUnit);
    EXPECT_EQ(raisedCode([&] { stack().genLoadAddress(*i); }), InvalidOp::RTRC_IncompatTypes);
}
