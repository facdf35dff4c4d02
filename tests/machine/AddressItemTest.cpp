// Address and array items: values, compares, arithmetic in bytes, indexing
// with recorded COBOL subscripts, loads, the COBOL pointer kinds and the
// conversions between pointers to classes of one hierarchy.

#include <memory>

#include "AddressFixture.h"
#include "compiler/expression_info.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemArray.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "testhost/DwarfExpression.h"
#include "types/CreatedTypeItem.h"

namespace {

class AddressItemTest : public AddressFixture {
protected:
    TypeItem pointerTo(TYPE_INDEX target, unsigned bytes = 4) { return TypeItem(records().pointerType(target, bytes)); }

    std::unique_ptr<StackItemAddress> address(std::uint64_t value, const TypeItem& type)
    {
        return std::make_unique<StackItemAddress>(rep(), static_cast<unsigned long long>(value), type);
    }

    // Records the COBOL subscripts of the expression while fewer than count
    // are recorded.
    void expectSubscripts(unsigned count)
    {
        rep().saveExprInfo(new expression_info{nullptr, nullptr, 0, nullptr, count});
    }

    std::vector<std::uint64_t> recorded()
    {
        std::vector<std::uint64_t> values;
        for (unsigned i = 0; i < rep().evaluationValues().count(); ++i)
            values.push_back(rep().evaluationValues()[i]);
        return values;
    }
};

class CobolAddressItemTest : public AddressItemTest {
protected:
    CobolAddressItemTest() {}
    void SetUp() override
    {
        AddressItemTest::SetUp();
        use(languageCOBOL, 4);
    }
};

const TYPE_INDEX charType{0, 148};

} // namespace

TEST_F(AddressItemTest, ValueBytesAndNumbers)
{
    const TypeItem intPointer = pointerTo(intType);
    auto p = address(0x12345678, intPointer);
    EXPECT_TRUE(p->holdsAddress());
    EXPECT_TRUE(p->hasValue());
    EXPECT_TRUE(p->mayBeAddress());
    EXPECT_EQ(p->size(), 4u);
    EXPECT_EQ(p->asSigned(), 0x12345678);
    EXPECT_EQ(static_cast<long double>(p->asLongDouble()), 305419896.0L);
    EXPECT_EQ(static_cast<long double>(p->imaginaryPart()), 0.0L);
    const auto* bytes = static_cast<const unsigned char*>(p->resultBuffer());
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[3], 0x78);

    // At 4-byte addresses only the low 32 bits are kept; at 8 all 64.
    auto wide = address(0x1122334455667788ull, intPointer);
    EXPECT_EQ(wide->asUnsigned(), 0x55667788u);
    use(languageC, 8);
    auto eight = address(0x1122334455667788ull, pointerTo(intType, 8));
    EXPECT_EQ(eight->asUnsigned(), 0x1122334455667788ull);
    EXPECT_EQ(eight->size(), 8u);
    EXPECT_EQ(static_cast<const unsigned char*>(eight->resultBuffer())[0], 0x11);
}

TEST_F(AddressItemTest, EvaluatorBufferIsNeverADebuggeeAddress)
{
    unsigned char buffer[16] = {};
    DebuggeeLocation inside;
    inside = static_cast<void*>(buffer);
    StackItemAddress p(rep(), inside, pointerTo(intType));
    EXPECT_EQ(p.asUnsigned(), 0u);
    EXPECT_EQ(p.asSigned(), 0);
    const auto* bytes = static_cast<const unsigned char*>(p.resultBuffer());
    EXPECT_EQ(bytes[0] | bytes[1] | bytes[2] | bytes[3], 0);

    // An item without a value has no number and takes no arithmetic.
    StackItemAddress empty(rep(), pointerTo(intType));
    StackItemS4 one(rep(), 1);
    EXPECT_EQ(raisedCode([&] { empty.asUnsigned(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { empty.genPointerAdd(one); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { empty.genIndex(one, 4); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(empty.size(), 4u);
}

TEST_F(AddressItemTest, NullCompares)
{
    const TypeItem intPointer = pointerTo(intType);
    const TypeItem charPointer = pointerTo(charType);
    struct Case {
        std::uint64_t left;
        bool leftIsInt;
        std::uint64_t right;
        bool rightIsInt;
        int eq; // -1: a type error
    } cases[] = {
        {0, true, 0x100, false, 0},    {0x100, false, 0, true, 0},    {0, true, 0, false, 1},
        {0x100, true, 0x100, true, 1}, {0x100, true, 0x104, true, 0}, {0x100, true, 0x100, false, -1},
    };
    for (const Case& c : cases) {
        auto l = address(c.left, c.leftIsInt ? intPointer : charPointer);
        auto r = address(c.right, c.rightIsInt ? intPointer : charPointer);
        if (c.eq < 0) {
            EXPECT_EQ(raisedCode([&] { l->genEQ(*r); }), InvalidOp::RTRC_IncompatTypes);
            EXPECT_EQ(raisedCode([&] { l->genNE(*r); }), InvalidOp::RTRC_IncompatTypes);
            continue;
        }
        EXPECT_EQ(l->genEQ(*r), c.eq) << c.left << " " << c.right;
        EXPECT_EQ(l->genNE(*r), 1 - c.eq) << c.left << " " << c.right;
    }
}

TEST_F(AddressItemTest, OrderingComparesCheckTypesOutsideCobol)
{
    const TypeItem intPointer = pointerTo(intType);
    auto low = address(0x100, intPointer);
    auto high = address(0x200, intPointer);
    EXPECT_EQ(low->genLT(*high), 1);
    EXPECT_EQ(low->genLE(*high), 1);
    EXPECT_EQ(low->genGT(*high), 0);
    EXPECT_EQ(high->genGE(*low), 1);
    EXPECT_EQ(low->genLE(*low), 1);
    EXPECT_EQ(low->genGE(*low), 1);

    auto other = address(0x200, pointerTo(charType));
    EXPECT_EQ(raisedCode([&] { low->genLT(*other); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { low->genGE(*other); }), InvalidOp::RTRC_IncompatTypes);
    // The ordering compares make no exception for null.
    auto null = address(0, pointerTo(charType));
    EXPECT_EQ(raisedCode([&] { low->genGT(*null); }), InvalidOp::RTRC_IncompatTypes);

    use(languageCOBOL, 4);
    auto cobolLow = address(0x100, intPointer);
    auto cobolHigh = address(0x200, pointerTo(charType));
    EXPECT_EQ(cobolLow->genLT(*cobolHigh), 1);
    EXPECT_EQ(cobolHigh->genGT(*cobolLow), 1);
    EXPECT_EQ(cobolLow->genEQ(*cobolHigh), 0);
}

TEST_F(AddressItemTest, ArithmeticInBytes)
{
    const TypeItem intPointer = pointerTo(intType);
    auto p = address(0x1000, intPointer);
    StackItemS4 eight(rep(), 8);
    StackItemS4 minusFour(rep(), -4);
    p->genPointerAdd(eight);
    EXPECT_EQ(p->asUnsigned(), 0x1008u);
    p->genPointerAdd(minusFour);
    EXPECT_EQ(p->asUnsigned(), 0x1004u);

    // Two addresses are never added.
    auto q = address(0x10, intPointer);
    EXPECT_EQ(raisedCode([&] { p->genPointerAdd(*q); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(p->asUnsigned(), 0x1004u);

    // Differences: of two pointers, a signed byte count as wide as an
    // address (the program's ptrdiff_t); of a pointer and an integer, a new
    // address, this one unchanged.
    auto lower = address(0x1010, intPointer);
    std::unique_ptr<StackItem> distance(p->genPointerSubtract(*lower));
    ASSERT_NE(dynamic_cast<StackItemS4*>(distance.get()), nullptr);
    EXPECT_EQ(distance->asSigned(), -12);
    std::unique_ptr<StackItem> back(p->genPointerSubtract(eight));
    ASSERT_NE(dynamic_cast<StackItemAddress*>(back.get()), nullptr);
    EXPECT_EQ(back->asUnsigned(), 0xFFCu);
    EXPECT_EQ(p->asUnsigned(), 0x1004u);
    auto other = address(0x1000, pointerTo(charType));
    EXPECT_EQ(raisedCode([&] { std::unique_ptr<StackItem>(p->genPointerSubtract(*other)); }),
              InvalidOp::RTRC_IncompatTypes);

    use(languageC, 8);
    auto wide = address(0x1004, pointerTo(intType, 8));
    auto wideLower = address(0x1010, pointerTo(intType, 8));
    std::unique_ptr<StackItem> wideDistance(wide->genPointerSubtract(*wideLower));
    ASSERT_NE(dynamic_cast<StackItemS8*>(wideDistance.get()), nullptr);
    EXPECT_EQ(wideDistance->asSigned(), -12);
}

// An array met with a pointer counts as a pointer to its element, on either
// side of a difference or a compare; an element of another type is refused.
TEST_F(AddressItemTest, ArraysMeetPointersAsPointersToTheirElement)
{
    const TYPE_INDEX arrayIndex = records().arrayType(intType, 20);
    auto array = [&] {
        auto item = std::make_unique<StackItemArray>(rep(), TypeItem(arrayIndex));
        item->load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10100))));
        return item;
    };
    auto p = address(0x10108, pointerTo(intType));

    std::unique_ptr<StackItem> fromPointer(p->genPointerSubtract(*array()));
    EXPECT_EQ(fromPointer->asSigned(), 8);
    std::unique_ptr<StackItem> fromArray(array()->genPointerSubtract(*p));
    EXPECT_EQ(fromArray->asSigned(), -8);
    std::unique_ptr<StackItem> twoArrays(array()->genPointerSubtract(*array()));
    EXPECT_EQ(twoArrays->asSigned(), 0);

    EXPECT_EQ(p->genEQ(*array()), 0);
    EXPECT_EQ(array()->genNE(*p), 1);
    EXPECT_EQ(array()->genLT(*p), 1);
    EXPECT_EQ(p->genGE(*array()), 1);
    EXPECT_EQ(array()->genEQ(*array()), 1);
    auto first = address(0x10100, pointerTo(intType));
    EXPECT_EQ(first->genEQ(*array()), 1);
    // Arrays of other lengths of the same element meet as well.
    StackItemArray shorter(rep(), TypeItem(records().arrayType(intType, 8)));
    shorter.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10100))));
    EXPECT_EQ(array()->genEQ(shorter), 1);

    auto chars = address(0x10100, pointerTo(charType));
    EXPECT_EQ(raisedCode([&] { chars->genEQ(*array()); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { array()->genLT(*chars); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { std::unique_ptr<StackItem>(chars->genPointerSubtract(*array())); }),
              InvalidOp::RTRC_IncompatTypes);
}

TEST_F(AddressItemTest, AddressesWrapAtThirtyTwoBitsOnlyAtAddressSizeFour)
{
    StackItemS4 step(rep(), 0x20);
    auto p = address(0xFFFFFFF0u, pointerTo(intType));
    p->genPointerAdd(step);
    EXPECT_EQ(p->asUnsigned(), 0x10u);
    StackItemS4 two(rep(), 2);
    p->genRankIndex(two, 1, -0x20);
    EXPECT_EQ(p->asUnsigned(), 0xFFFFFFF0u);

    use(languageC, 8);
    StackItemS4 wideStep(rep(), 0x20);
    auto wide = address(0xFFFFFFF0u, pointerTo(intType, 8));
    wide->genPointerAdd(wideStep);
    EXPECT_EQ(wide->asUnsigned(), 0x100000010ull);
}

TEST_F(AddressItemTest, IndexingInC)
{
    auto p = address(0x2000, pointerTo(intType));
    struct Case {
        int subscript;
        std::int64_t elementSize;
        std::uint64_t expected;
    } cases[] = {
        {0, 8, 0x2000}, {3, 8, 0x2018}, {-1, 8, 0x1FF8}, {2, -4, 0x1FF8}, {5, 0, 0x2000},
    };
    for (const Case& c : cases) {
        auto item = address(0x2000, pointerTo(intType));
        StackItemS4 subscript(rep(), c.subscript);
        item->genIndex(subscript, c.elementSize);
        EXPECT_EQ(item->asUnsigned(), c.expected) << c.subscript << "*" << c.elementSize;
        EXPECT_EQ(item->location().kind(), DebuggeeLocation::none);
    }
    // Ranks: (subscript - lower bound) * stride, a negative stride included.
    StackItemS4 three(rep(), 3);
    p->genRankIndex(three, 1, -8);
    EXPECT_EQ(p->asUnsigned(), 0x2000u - 16);
    EXPECT_TRUE(rep().evaluationValues().count() == 0);
}

TEST_F(CobolAddressItemTest, SubscriptsCountFromOneAndAreRecordedUpToTheCount)
{
    expectSubscripts(2);
    auto p = address(0x3000, pointerTo(intType));
    StackItemS4 one(rep(), 1);
    StackItemS4 four(rep(), 4);
    p->genIndex(one, 10);
    EXPECT_EQ(p->asUnsigned(), 0x3000u);
    p->genIndex(four, 10);
    EXPECT_EQ(p->asUnsigned(), 0x3000u + 30);
    p->genIndex(four, 10); // a third subscript is not recorded
    EXPECT_EQ(p->asUnsigned(), 0x3000u + 60);
    EXPECT_EQ(recorded(), (std::vector<std::uint64_t>{1, 4}));

    // An index name holds a byte offset: 3 elements on records occurrence 4;
    // one of element size 0 holds the occurrence number itself.
    rep().evaluationValues() = List<std::uint64_t>();
    StackItemU4 byOffset(rep(), 3 * 12);
    byOffset.setType(TypeItem(records().indexNameType(4, 12)));
    auto q = address(0x4000, pointerTo(intType));
    q->genIndex(byOffset, 12);
    EXPECT_EQ(q->asUnsigned(), 0x4000u + 36);
    StackItemU4 byNumber(rep(), 5);
    byNumber.setType(TypeItem(records().indexNameType(4, 0)));
    q->genIndex(byNumber, 0);
    EXPECT_EQ(q->asUnsigned(), 0x4000u + 41);
    EXPECT_EQ(recorded(), (std::vector<std::uint64_t>{4, 5}));
}

TEST_F(CobolAddressItemTest, NothingIsRecordedWithoutAnExpectedCount)
{
    auto p = address(0x3000, pointerTo(intType));
    StackItemS4 two(rep(), 2);
    p->genIndex(two, 4);
    EXPECT_EQ(p->asUnsigned(), 0x3004u);
    expectSubscripts(0);
    p->genIndex(two, 4);
    EXPECT_EQ(rep().evaluationValues().count(), 0u);
}

TEST_F(AddressItemTest, LoadsReadThePointerStored)
{
    host.memory().storeBigEndian(0x10080, 0xABCD0, 4);
    const TypeItem intPointer = pointerTo(intType);
    StackItemAddress p(rep(), intPointer);
    p.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10080))));
    EXPECT_TRUE(p.hasValue());
    EXPECT_EQ(p.asUnsigned(), 0xABCD0u);
    EXPECT_EQ(p.location().address().addr(), 0x10080u);
    // Arithmetic forgets where the pointer lives.
    StackItemS4 one(rep(), 1);
    p.genPointerAdd(one);
    EXPECT_EQ(p.location().kind(), DebuggeeLocation::none);
    EXPECT_EQ(raisedCode([&] { p.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(p.hasValue());

    // The address of a function is its value.
    const TypeItem function(records().functionType(intType, {}));
    StackItemAddress f(rep(), function);
    f.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10200))));
    EXPECT_EQ(f.asUnsigned(), 0x10200u);
    EXPECT_EQ(f.location().kind(), DebuggeeLocation::debuggerBuffer);
    EXPECT_EQ(raisedCode([&] { f.load(DebuggeeLocation(5ul)); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(f.hasValue());
}

TEST_F(AddressItemTest, ArraysBecomePointersOnTheirFirstArithmetic)
{
    const TYPE_INDEX arrayIndex = records().arrayType(intType, 40);
    StackItemArray array(rep(), TypeItem(arrayIndex));
    array.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10100))));
    EXPECT_EQ(array.asUnsigned(), 0x10100u); // the first element's address
    EXPECT_TRUE(array.type().hasFlag(TypeFlags::array));
    StackItemS4 eight(rep(), 8);
    array.genPointerAdd(eight);
    EXPECT_TRUE(array.type().hasFlag(TypeFlags::pointer));
    EXPECT_TRUE(array.type().pointee() == TypeItem(intType));
    EXPECT_EQ(array.asUnsigned(), 0x10108u);

    StackItemArray indexed(rep(), TypeItem(arrayIndex));
    indexed.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10100))));
    StackItemS4 two(rep(), 2);
    indexed.genIndex(two, 4);
    EXPECT_EQ(indexed.asUnsigned(), 0x10108u);
    std::unique_ptr<StackItem> copy(indexed.clone());
    ASSERT_NE(dynamic_cast<StackItemArray*>(copy.get()), nullptr);
    EXPECT_EQ(copy->asUnsigned(), 0x10108u);

    // Arrays live in memory: not in a register, not in the evaluator.
    StackItemArray inRegister(rep(), TypeItem(arrayIndex));
    EXPECT_EQ(raisedCode([&] { inRegister.load(DebuggeeLocation(5ul)); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(inRegister.hasValue());
    // A non-array type cannot become a pointer.
    StackItemArray notAnArray(rep(), TypeItem(intType));
    notAnArray.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10100))));
    EXPECT_EQ(raisedCode([&] { notAnArray.genPointerAdd(eight); }), InvalidOp::RTRC_Other);
}

TEST_F(AddressItemTest, ConversionsKeepTheAddress)
{
    auto source = address(0x5000, pointerTo(intType));
    StackItemAddress target(rep(), pointerTo(charType));
    target.genConvert(*source);
    EXPECT_EQ(target.asUnsigned(), 0x5000u);
    StackItemU4 integer(rep(), 0x6000);
    target.genConvert(integer);
    EXPECT_EQ(target.asUnsigned(), 0x6000u);
    StackItemNull null(rep());
    EXPECT_EQ(raisedCode([&] { target.genConvert(null); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(CobolAddressItemTest, CobolPointerKindsMustAgree)
{
    const TYPE_INDEX plainIndex = records().pointerType(intType, 4);
    const TYPE_INDEX kindIndex = records().pointerType(intType, 4);
    records().type(kindIndex)->pointer.flags |= TNpointer_CobolKind;
    const TypeItem plain(plainIndex);
    const TypeItem kind(kindIndex);

    struct Case {
        bool targetKind;
        bool sourceKind;
        int code;
    } cases[] = {
        {false, false, 0}, {true, true, 0}, {true, false, InvalidOp::RTRC_Other}, {false, true, InvalidOp::RTRC_Other}};
    for (const Case& c : cases) {
        auto source = address(0x7000, c.sourceKind ? kind : plain);
        StackItemAddress target(rep(), c.targetKind ? kind : plain);
        EXPECT_EQ(raisedCode([&] { target.genConvert(*source); }), c.code) << c.targetKind << c.sourceKind;
        if (c.code == 0) {
            EXPECT_EQ(target.asUnsigned(), 0x7000u);
        }
    }
    // An integer converts to a plain pointer, not to one of the marked kind.
    StackItemU4 integer(rep(), 0x8000);
    StackItemAddress plainTarget(rep(), plain);
    plainTarget.genConvert(integer);
    EXPECT_EQ(plainTarget.asUnsigned(), 0x8000u);
    StackItemAddress kindTarget(rep(), kind);
    EXPECT_EQ(raisedCode([&] { kindTarget.genConvert(integer); }), InvalidOp::RTRC_Other);
    // Something that is no pointer, integer or string does not convert.
    StackItemNull null(rep());
    EXPECT_EQ(raisedCode([&] { plainTarget.genConvert(null); }), InvalidOp::RTRC_Other);
}

TEST_F(AddressItemTest, FortranDescriptorArrayAtItsSymbolIsItsData)
{
    use(languageFortran, 4);
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(4).bytes();
    declare(records().staticVariable("arr", records().fortranDescArrayType(intType, blocks), 1, 0xA0));
    host.memory().storeBigEndian(0x100A0, 0x30000, 4);
    SymbolItem& arr = variable("arr");
    const DebuggeeLocation descriptor = arr.debuggeeAddress(-1);
    ASSERT_EQ(descriptor.address().addr(), 0x100A0u);
    ASSERT_TRUE(arr.dataType().hasFlag(TypeFlags::fortranDescriptor));

    StackItemArray atSymbol(rep(), arr.dataType());
    atSymbol.load(descriptor);
    EXPECT_EQ(atSymbol.asUnsigned(), 0x30000u);
    EXPECT_EQ(atSymbol.location().address().addr(), 0x30000u);

    // Anywhere else the place itself is the array's first element.
    StackItemArray elsewhere(rep(), arr.dataType());
    elsewhere.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x100B0))));
    EXPECT_EQ(elsewhere.asUnsigned(), 0x100B0u);
}
