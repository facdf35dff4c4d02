#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AddressFixture.h"
#include "testhost/DwarfExpression.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemCompound.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

// Loads of variables and memory: by symbol, through an address, members,
// condition names, `this`, base-class pointers and named constants.

namespace {

class VariableLoadTest : public AddressFixture {
protected:
    StackItemAddress* addressOf(std::uint64_t address, TYPE_INDEX pointee = intType)
    {
        return new StackItemAddress(rep(), static_cast<unsigned long long>(address),
                                    TypeItem(records().pointerType(pointee, 4)));
    }

    std::int64_t popSigned()
    {
        std::unique_ptr<StackItem> item(stack().pop());
        return item->asSigned();
    }
};

class CobolLoadTest : public AddressFixture {
protected:
    CobolLoadTest() : AddressFixture(languageCOBOL, 4) {}
};

class FortranLoadTest : public AddressFixture {
protected:
    FortranLoadTest() : AddressFixture(languageFortran, 4) {}

    // A Fortran pointer type whose descriptor holds the target's address,
    // then the allocated and associated words.
    TYPE_INDEX fortranPointer()
    {
        using dwarf::Builder;
        HostRecordStore::FortranBlocks blocks;
        blocks.dataLocation = Builder().pushObjectAddress().derefSize(4).bytes();
        blocks.allocation = Builder().pushObjectAddress().plusUconst(4).derefSize(4).bytes();
        blocks.association = Builder().pushObjectAddress().plusUconst(8).derefSize(4).bytes();
        return records().fortranPointerType(intType, blocks);
    }
};

} // namespace

TEST_F(VariableLoadTest, VariablesByTheirSymbols)
{
    declare(records().staticVariable("n", intType, 1, 0x40));
    host.memory().storeBigEndian(0x10040, 0xFFFFFF85, 4);
    SymbolItem& n = variable("n");
    n.setPlaybackGuarded(true);
    stack().genLoad(n, -1);
    ASSERT_EQ(stack().count(), 1u);
    StackItem* top = stack().top();
    EXPECT_NE(dynamic_cast<StackItemS4*>(top), nullptr);
    EXPECT_EQ(top->asSigned(), -123);
    EXPECT_TRUE(top->loadedFromVariable());
    EXPECT_TRUE(top->playbackGuarded());
    EXPECT_FALSE(top->fromRegisterVariable());
    EXPECT_STREQ(top->name(), "n");
    EXPECT_EQ(top->scope(), &n.scope());
    EXPECT_EQ(top->location().address().addr(), 0x10040u);
    stack().popAll();

    // What an operator makes of a variable's value is computed, not loaded.
    const std::vector<std::pair<const char*, void (RuntimeStack::*)()>> operators = {
        {"+", &RuntimeStack::genAdd}, {"-x", &RuntimeStack::genNegate}, {"~", &RuntimeStack::genComplement}};
    for (const auto& [what, op] : operators) {
        stack().genLoad(n, -1);
        if (std::string(what) == "+")
            stack().push(new StackItemS4(rep(), 1));
        (stack().*op)();
        ASSERT_EQ(stack().count(), 1u) << what;
        EXPECT_FALSE(stack().top()->loadedFromVariable()) << what;
        stack().popAll();
    }

    // A variable that cannot be read leaves nothing behind.
    declare(records().staticVariable("gone", intType, 1, 0x80));
    stack().push(new StackItemS4(rep(), 1));
    EXPECT_NE(raisedCode([&] { stack().genLoad(variable("gone"), -1); }), 0);
    EXPECT_EQ(stack().count(), 1u);

    // While skipping, nothing at all happens.
    stack().setSkipState(RuntimeStack::skipping);
    host.clearCalls();
    stack().genLoad(n, -1);
    stack().genLoadIndirect(0, TypeItem(intType));
    stack().genLoadIndirectRank(1, TypeItem(intType));
    stack().genLoadMemberSym(n);
    stack().genLoadCondvarSym(n);
    stack().genLoadThis();
    stack().genLoadBaseAddress(TypeItem(intType), TypeItem(intType));
    stack().setSkipState(RuntimeStack::running);
    EXPECT_EQ(stack().count(), 1u);
    EXPECT_EQ(host.calls().size(), 0u);
}

TEST_F(VariableLoadTest, RegisterVariablesCarryTheirMark)
{
    TestHost::Register r;
    r.name = "R5";
    r.id = 5;
    r.bits = 32;
    r.value[0] = 9; // the evaluator's byte order
    host.addRegister(r);
    host.addFrame(mainContext, 0x8000);
    declare(records().registerVariable("r", intType, "R5"));
    stack().genLoad(variable("r"), -1);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_TRUE(stack().top()->fromRegisterVariable());
    EXPECT_TRUE(stack().top()->loadedFromVariable());
    EXPECT_EQ(stack().top()->asSigned(), 9);

    // The mark goes on to what is loaded through the register's value.
    host.memory().storeBigEndian(9, 0x11223344, 4);
    stack().genLoadIndirect(0, TypeItem(intType));
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_TRUE(stack().top()->fromRegisterVariable());
    EXPECT_EQ(stack().top()->asSigned(), 0x11223344);
}

TEST_F(VariableLoadTest, IndirectLoadsAndMembers)
{
    host.memory().storeBigEndian(0x20000, 0x0102030405060708ull, 8);
    StackItemAddress* p = addressOf(0x20000);
    p->setName("p");
    p->setFromRegister(true);
    stack().push(p);
    stack().genLoadIndirect(4, TypeItem(intType));
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->asSigned(), 0x05060708);
    EXPECT_STREQ(stack().top()->name(), "p");
    EXPECT_TRUE(stack().top()->fromRegister());
    EXPECT_TRUE(stack().top()->loadedFromVariable());
    // A value reached through an address is no condition name's variable:
    // the environment is given none to show after a truth value.
    EXPECT_EQ(rep().conditionalVarItem(), nullptr);
    EXPECT_EQ(rep().conditionalVarName().length(), 0u);
    stack().popAll();

    // A member of a structure: the aggregate replaced by the member's value.
    SymbolItem member("second", *scope);
    member.setDataType(TypeItem(records().integerType(16, true)));
    member.memberLayout().offset = 2;
    stack().push(addressOf(0x20000));
    stack().genLoadMemberSym(member);
    EXPECT_EQ(popSigned(), 0x0304);

    // A failed load leaves the stack as it was below the popped item.
    host.memory().markUnreadable(0x30000, 8);
    stack().push(new StackItemS4(rep(), 9));
    stack().push(addressOf(0x30000));
    EXPECT_NE(raisedCode([&] { stack().genLoadIndirect(0, TypeItem(intType)); }), 0);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->asSigned(), 9);

    // No element type of the rank: refused with 2, the mark set.
    stack().push(addressOf(0x20000));
    EXPECT_EQ(raisedCode([&] { stack().genLoadIndirectRank(1, TypeItem(intType)); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_TRUE(stack().notAllocatedSeen());
    stack().popAll();
    EXPECT_EQ(raisedCode([&] { stack().genLoadIndirect(0, TypeItem(intType)); }), InvalidOp::RTRC_Empty_Stack);
}

TEST_F(VariableLoadTest, NamedConstants)
{
    static const std::int32_t answer = -42;
    static const std::uint8_t small = 200;
    declare(records().constant("ANSWER", intType, &answer));
    declare(records().constant("SMALL", TYPE_INDEX{0, 132}, &small));
    stack().genLoadConstant(variable("ANSWER"));
    EXPECT_EQ(stack().top()->type().typeIndex().index(), 130u);
    EXPECT_EQ(popSigned(), -42);
    stack().genLoadConstant(variable("SMALL"));
    EXPECT_EQ(stack().top()->asUnsigned(), 200u);
    stack().popAll();

    // A built-in type with no load: refused, and the stack stays as it was.
    static const std::uint64_t nothing = 0;
    declare(records().constant("NOTHING", TYPE_INDEX{0, 151}, &nothing));
    stack().push(new StackItemS4(rep(), 1));
    EXPECT_EQ(raisedCode([&] { stack().genLoadConstant(variable("NOTHING")); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(stack().count(), 1u);
}

TEST_F(VariableLoadTest, ThisOnlyInsideMemberFunctions)
{
    EXPECT_EQ(raisedCode([&] { stack().genLoadThis(); }), InvalidOp::RTRC_ParserError);

    // A member function K::f whose `this` lives at 0x10050.
    HostRecordStore::ClassSpec spec;
    spec.name = "K";
    spec.byteSize = 8;
    const TYPE_INDEX k = records().classType(spec);
    LCC_Eval_Context_Info& method = host.addContext("K::f", CS2_MEMBER_FUNCTION, unit);
    method.blockSymbol = &records().function("K::f", records().functionType(intType, {}), 1, 0x200);
    host.declare(method, records().staticVariable("this", records().pointerType(k, 4), 1, 0x50));
    host.memory().storeBigEndian(0x10050, 0x20000, 4);
    ExpressionRepresentation inside(languageCPP, nullptr);
    inside.initializeAndMakeCurrent(&method);
    inside.runtimeStack().genLoadThis();
    ASSERT_EQ(inside.runtimeStack().count(), 1u);
    EXPECT_EQ(inside.runtimeStack().top()->asUnsigned(), 0x20000u);
    inside.runtimeStack().popAll();
    rep().makeCurrent(mainContext);
}

TEST_F(VariableLoadTest, BaseClassPointers)
{
    HostRecordStore::ClassSpec base;
    base.name = "B";
    base.byteSize = 4;
    const TYPE_INDEX b = records().classType(base);
    HostRecordStore::ClassSpec derived;
    derived.name = "D";
    derived.byteSize = 8;
    derived.bases = {{b, 4}};
    const TYPE_INDEX d = records().classType(derived);
    stack().push(addressOf(0x20000, d));
    stack().genLoadBaseAddress(TypeItem(b), TypeItem(d));
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_TRUE(stack().top()->type().hasFlag(TypeFlags::pointer));
    EXPECT_TRUE(stack().top()->type().pointee() == TypeItem(b));

    // Anything but a pointer or reference to the derived class is refused.
    EXPECT_EQ(raisedCode([&] { stack().genLoadBaseAddress(TypeItem(b), TypeItem(d)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { stack().genLoadBaseAddress(TypeItem(intType), TypeItem(d)); }), InvalidOp::RTRC_Other);
    stack().popAll();
    EXPECT_EQ(raisedCode([&] { stack().genLoadBaseAddress(TypeItem(b), TypeItem(d)); }), InvalidOp::RTRC_Empty_Stack);
}

TEST_F(CobolLoadTest, OptimizedVariablesAndEmptyMembers)
{
    declare(records().staticVariable("WS-GONE", intType, 1, 0x40));
    SymbolItem& gone = variable("WS-GONE");
    gone.setOptimized(true);
    try {
        stack().genLoad(gone, -1);
        ADD_FAILURE() << "no refusal";
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_AccessOptVar);
        EXPECT_EQ(e.text(), EncodedString(L"WS-GONE"));
    }

    // A member of a variable whose address was loaded as optimised.
    SymbolItem member("WS-PART", *scope);
    member.setDataType(TypeItem(intType));
    stack().push(new StackItemAddress(rep(), 0x20000ull, TypeItem(records().pointerType(intType, 4))));
    stack().setOptimizedAddressSeen();
    EXPECT_EQ(raisedCode([&] { stack().genLoadMemberSym(member); }), InvalidOp::RTRC_AccessOptVar);
    stack().popAll();

    // A member whose size is 0 (a table depending on a bad count).
    HostRecordStore::ClassSpec empty;
    empty.name = "WS-EMPTY";
    empty.leaf = TE_GROUP;
    SymbolItem table("WS-TABLE", *scope);
    table.setDataType(TypeItem(records().classType(empty)));
    stack().push(new StackItemAddress(rep(), 0x20000ull, TypeItem(records().pointerType(intType, 4))));
    EXPECT_EQ(raisedCode([&] { stack().genLoadMemberSym(table); }), InvalidOp::RTRC_BadODOObjectValue);
}

TEST_F(CobolLoadTest, ConstantsLoadThroughTheirSymbols)
{
    static const std::int32_t limit = 250;
    declare(records().constant("WS-LIMIT", intType, &limit));
    stack().genLoad(variable("WS-LIMIT"), -1);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->asSigned(), 250);
}

TEST_F(CobolLoadTest, ConditionNames)
{
    // The data item: a signed fullword at 0x20000. Values are stored as the
    // debuggee stores them; a halfword value is converted to the item's type.
    auto word = [](std::int32_t v) {
        return HostRecordStore::ConditionValue{intType, {UBYTE1(v >> 24), UBYTE1(v >> 16), UBYTE1(v >> 8), UBYTE1(v)}};
    };
    auto half = [&](std::int16_t v) {
        return HostRecordStore::ConditionValue{records().integerType(16, false), {UBYTE1(v >> 8), UBYTE1(v)}};
    };
    struct Case {
        const char* name;
        std::vector<HostRecordStore::ConditionValue> values;
        std::vector<std::pair<HostRecordStore::ConditionValue, HostRecordStore::ConditionValue>> ranges;
        std::vector<std::pair<std::int32_t, int>> holds; // data value, 1 or 0
    };
    const Case cases[] = {
        {"VALUES-ONLY", {word(3), word(-7)}, {}, {{3, 1}, {-7, 1}, {4, 0}}},
        {"RANGES-ONLY",
         {},
         {{word(10), word(20)}, {word(-5), word(-1)}},
         {{10, 1}, {20, 1}, {15, 1}, {-5, 1}, {-1, 1}, {9, 0}, {21, 0}, {0, 0}}},
        {"BOTH", {word(100)}, {{word(1), word(2)}}, {{100, 1}, {2, 1}, {3, 0}}},
        {"NONE", {}, {}, {{0, 0}, {1, 0}}},
        {"OTHER-TYPE", {half(300)}, {{half(1000), half(2000)}}, {{300, 1}, {1500, 1}, {301, 0}}},
    };
    for (const Case& c : cases) {
        // The scope keeps the symbol.
        SymbolItem* condition =
            SymbolItem::makeVarSymbol(&records().conditionName(c.name, intType, c.values, c.ranges), *scope);
        ASSERT_NE(condition, nullptr) << c.name;
        for (auto [value, expected] : c.holds) {
            host.memory().storeBigEndian(0x20000, static_cast<std::uint32_t>(value), 4);
            stack().push(new StackItemAddress(rep(), 0x20000ull, TypeItem(records().pointerType(intType, 4))));
            stack().genLoadCondvarSym(*condition);
            ASSERT_EQ(stack().count(), 1u) << c.name;
            EXPECT_NE(dynamic_cast<StackItemB1*>(stack().top()), nullptr) << c.name;
            std::unique_ptr<StackItem> result(stack().pop());
            EXPECT_EQ(result->asUnsigned(), static_cast<std::uint64_t>(expected)) << c.name << " " << value;
        }
    }

    // A symbol that is no condition name, and a data item given by no
    // address, are refused; the popped item is gone.
    declare(records().staticVariable("WS-N", intType, 1, 0x40));
    stack().push(new StackItemAddress(rep(), 0x20000ull, TypeItem(records().pointerType(intType, 4))));
    EXPECT_EQ(raisedCode([&] { stack().genLoadCondvarSym(variable("WS-N")); }), InvalidOp::RTRC_NotSupported);
    SymbolItem* condition = SymbolItem::makeVarSymbol(&records().conditionName("C", intType, {word(1)}, {}), *scope);
    stack().popAll();
    stack().push(new StackItemS4(rep(), 1));
    EXPECT_EQ(raisedCode([&] { stack().genLoadCondvarSym(*condition); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(FortranLoadTest, UnallocatedAndDisassociatedObjects)
{
    // An allocatable array whose allocation word is 0 is pushed unread.
    using dwarf::Builder;
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = Builder().pushObjectAddress().derefSize(4).bytes();
    blocks.allocation = Builder().pushObjectAddress().plusUconst(4).derefSize(4).bytes();
    declare(records().staticVariable("arr", records().fortranDescArrayType(intType, blocks), 1, 0xA0));
    host.memory().storeBigEndian(0x100A0, 0x30000, 4);
    host.memory().storeBigEndian(0x100A4, 0, 4);
    stack().genLoad(variable("arr"), -1);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_FALSE(stack().top()->isAllocated());
    EXPECT_FALSE(stack().top()->loadedFromVariable());
    stack().popAll();
    host.memory().storeBigEndian(0x100A4, 1, 4);
    stack().genLoad(variable("arr"), -1);
    EXPECT_TRUE(stack().top()->isAllocated());
    EXPECT_EQ(stack().top()->asUnsigned(), 0x30000u);
    stack().popAll();

    // A pointer reached through an address: not allocated 40, not
    // associated 39; both set, its target is loaded. A type reached so is
    // bound to no symbol: its state is read at fixed addresses.
    HostRecordStore::FortranBlocks fixed;
    fixed.dataLocation = Builder().constU(0x20000).derefSize(4).bytes();
    fixed.allocation = Builder().constU(0x20004).derefSize(4).bytes();
    fixed.association = Builder().constU(0x20008).derefSize(4).bytes();
    const TYPE_INDEX reached = records().fortranPointerType(intType, fixed);
    host.memory().storeBigEndian(0x20000, 0x21000, 4);
    host.memory().storeBigEndian(0x21000, 77, 4);
    struct Case {
        std::uint32_t allocated, associated;
        int code;
    } cases[] = {
        {0, 1, InvalidOp::RTRC_FortranPointerNotAllocated},
        {1, 0, InvalidOp::RTRC_FortranPointerNotAssociated},
        {1, 1, 0},
    };
    for (const Case& c : cases) {
        host.memory().storeBigEndian(0x20004, c.allocated, 4);
        host.memory().storeBigEndian(0x20008, c.associated, 4);
        stack().popAll();
        stack().push(new StackItemAddress(rep(), 0x20000ull, TypeItem(records().pointerType(reached, 4))));
        EXPECT_EQ(raisedCode([&] { stack().genLoadIndirect(0, TypeItem(reached)); }), c.code);
        EXPECT_EQ(stack().count(), c.code == 0 ? 1u : 0u);
    }
    EXPECT_EQ(stack().top()->asSigned(), 77);

    // The pointer variable itself: disassociated, pushed unread.
    declare(records().staticVariable("fp", fortranPointer(), 1, 0x60));
    host.memory().storeBigEndian(0x10060, 0x21000, 4);
    host.memory().storeBigEndian(0x10064, 1, 4);
    host.memory().storeBigEndian(0x10068, 0, 4);
    stack().popAll();
    stack().genLoad(variable("fp"), -1);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_FALSE(stack().top()->isAssociated());
    EXPECT_EQ(stack().top()->asSigned(), 0);
}

TEST_F(FortranLoadTest, ElementOfAnArrayWithNegativeStride)
{
    // arr(-2:3), its elements 4 bytes apart downward: arr(-2) at 0x30014,
    // arr(3) at 0x30000.
    using dwarf::Builder;
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = Builder().pushObjectAddress().derefSize(4).bytes();
    blocks.lowerBound = Builder().constS(-2).bytes();
    blocks.upperBound = Builder().constS(3).bytes();
    blocks.stride = Builder().constS(-4).bytes();
    blocks.dimension = 1;
    declare(records().staticVariable("arr", records().fortranDescArrayType(intType, blocks), 1, 0xA0));
    host.memory().storeBigEndian(0x100A0, 0x30014, 4);
    for (std::uint32_t i = 0; i < 6; ++i)
        host.memory().storeBigEndian(0x30000 + 4 * i, 100 + i, 4);
    SymbolItem& arr = variable("arr");
    struct Case {
        int subscript;
        std::int64_t value;
    } cases[] = {{-2, 105}, {1, 102}, {3, 100}};
    for (const Case& c : cases) {
        stack().genLoad(arr, -1);
        stack().push(new StackItemS4(rep(), c.subscript));
        stack().genRankIndex(1, &arr.dataType());
        stack().genLoadIndirectRank(1, arr.dataType());
        ASSERT_EQ(stack().count(), 1u) << c.subscript;
        EXPECT_EQ(stack().top()->asSigned(), c.value) << c.subscript;
        stack().popAll();
    }
}
