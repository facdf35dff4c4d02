// C arrays met with pointers (differences, comparisons, a null pointer
// constant, an array as a condition) in programs of 8- and 4-byte
// addresses, against what gcc computes (data/c_array_pointer.txt, made by
// gen/gen_c_array_pointer.py). The replay must leave a value of the type
// the build predicted, as the evaluation entry point requires of a result.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FrozenTable.h"
#include "RoadFixture.h"
#include "types/TypeItem.h"

namespace {

struct GccRow {
    std::string kind; // truth, ptrdiff or value
    unsigned size = 0;
    std::int64_t value = 0;
    std::string text;
};

std::vector<GccRow> gccRows(unsigned addressSize)
{
    std::vector<GccRow> rows;
    for (const std::string& line : frozenRows("c_array_pointer.txt")) {
        std::istringstream fields(line);
        unsigned size = 0;
        GccRow r;
        fields >> size >> r.kind >> r.size >> r.value;
        std::getline(fields >> std::ws, r.text);
        if (size == addressSize)
            rows.push_back(r);
    }
    return rows;
}

// int arr[5] = {10, 20, 30, 40, 50}, arr2[3] = {7, 8, 9}, int *p = &arr[2],
// a null int *n and a char *cp at arr.
class RoadArrayPointer : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        RoadTest::SetUp();
        const unsigned bytes = GetParam();
        useAddressSize(bytes);
        const TYPE_INDEX i32 = records().integerType(32, false);
        const TYPE_INDEX i8 = records().integerType(8, false);
        variable("arr", records().arrayType(i32, 20), 0x100);
        variable("arr2", records().arrayType(i32, 12), 0x120);
        variable("p", records().pointerType(i32, bytes), 0x140);
        variable("n", records().pointerType(i32, bytes), 0x148);
        variable("cp", records().pointerType(i8, bytes), 0x150);
        host.addSection(1, kData, bytes * 8);
        for (unsigned i = 0; i < 5; ++i)
            host.memory().storeBigEndian(kData + 0x100 + 4 * i, 10 * (i + 1), 4);
        for (unsigned i = 0; i < 3; ++i)
            host.memory().storeBigEndian(kData + 0x120 + 4 * i, 7 + i, 4);
        host.memory().storeBigEndian(kData + 0x140, kData + 0x108, bytes);
        host.memory().storeBigEndian(kData + 0x148, 0, bytes);
        host.memory().storeBigEndian(kData + 0x150, kData + 0x100, bytes);
    }
};

TEST_P(RoadArrayPointer, AsGccComputesIt)
{
    const std::vector<GccRow> rows = gccRows(GetParam());
    ASSERT_FALSE(rows.empty()) << "the frozen table was not found (NORVEXA_TEST_DATA)";
    for (const GccRow& r : rows) {
        SCOPED_TRACE(r.text);
        Build b;
        const TypeItem* predicted = nullptr;
        try {
            predicted = exprBuild(r.text.c_str(), scope, &b.info);
        } catch (ParseError* e) {
            ADD_FAILURE() << "the build failed: " << e->text();
            delete e;
            continue;
        }
        ASSERT_NE(predicted, nullptr);
        const int failure = symbolsInvalidOpCode([&] { replay(b); });
        if (failure != 0 || stack().count() != 1) {
            ADD_FAILURE() << "the replay raised InvalidOp " << failure << " and left " << stack().count() << " items\n"
                          << EE_InstructionDecoder::listing(*b.info.instructions);
            stack().popAll();
            continue;
        }
        const StackItem& top = *stack().top();
        EXPECT_EQ(top.asSigned(), r.value);
        EXPECT_TRUE(top.type() == *predicted) << "the value is not of the type the build predicted";
        // C's comparisons are ints; here they are booleans.
        if (r.kind != "truth") {
            EXPECT_EQ(predicted->typeSize(), r.size);
        }
        if (r.kind == "ptrdiff") {
            EXPECT_EQ(predicted->typeSize(), GetParam()) << "ptrdiff_t is as wide as an address";
        }
        stack().popAll();
    }
}

// Pointers of another element type: compared by address once both sides
// have one type; a difference is refused by the build.
TEST_P(RoadArrayPointer, PointersOfAnotherElementType)
{
    const struct {
        const char* text;
        std::int64_t value;
    } compares[] = {
        {"cp == arr", 1},       {"arr == cp", 1},    {"cp != arr + 1", 1}, {"arr + 1 == cp", 0},
        {"(char *)p == cp", 0}, {"cp < arr + 1", 1}, {"p > cp", 1},
    };
    for (const auto& c : compares)
        EXPECT_EQ(value(c.text), c.value) << c.text;
    for (const char* text : {"cp - arr", "arr - cp", "p - cp"}) {
        Build b;
        build(b, text);
        EXPECT_NE(b.parseErrorKind, -1) << text;
    }
}

// An array the build took as a pointer to its first element is that pointer
// once replayed, as the whole result too; &arr is the array's address as a
// pointer to the array, and a plain arr stays the array.
TEST_P(RoadArrayPointer, DecayedArrayIsThePointerTheBuildPredicted)
{
    const struct {
        const char* text;
        bool toArray; // a pointer to the whole array
    } cases[] = {
        {"(arr)", false}, {"+arr", false},  {"(n, arr)", false}, {"p ? arr : n", false}, {"n ? p : arr", false},
        {"&*arr", false}, {"*&arr", false}, {"&arr", true},      {"(&arr)", true},       {"*&arr + 0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Build b;
        const TypeItem* predicted = exprBuild(c.text, scope, &b.info);
        ASSERT_NE(predicted, nullptr);
        ASSERT_TRUE(predicted->hasFlag(TypeFlags::pointer));
        EXPECT_EQ(predicted->dereference().hasFlag(TypeFlags::array), c.toArray);
        ASSERT_EQ(symbolsInvalidOpCode([&] { replay(b); }), 0) << EE_InstructionDecoder::listing(*b.info.instructions);
        ASSERT_EQ(stack().count(), 1u);
        EXPECT_TRUE(stack().top()->type() == *predicted);
        EXPECT_EQ(stack().top()->asUnsigned(), kData + 0x100);
        stack().popAll();
    }
    Build whole;
    const TypeItem* array = exprBuild("arr", scope, &whole.info);
    ASSERT_TRUE(array != nullptr && array->hasFlag(TypeFlags::array));
    ASSERT_EQ(symbolsInvalidOpCode([&] { replay(whole); }), 0);
    EXPECT_TRUE(stack().top()->type() == *array);
    stack().popAll();
    // A member array: struct { int x; int m[3]; } s over arr's storage.
    const TYPE_INDEX i32 = records().integerType(32, false);
    variable("s", records().structType({16, {{"x", i32}, {"m", records().arrayType(i32, 12)}}, {0, 4}}), 0x100);
    for (const char* text : {"(s.m)", "(n, s.m)"}) {
        SCOPED_TRACE(text);
        Build b;
        const TypeItem* predicted = exprBuild(text, scope, &b.info);
        ASSERT_EQ(symbolsInvalidOpCode([&] { replay(b); }), 0) << EE_InstructionDecoder::listing(*b.info.instructions);
        EXPECT_TRUE(stack().top()->type() == *predicted);
        EXPECT_EQ(stack().top()->asUnsigned(), kData + 0x104);
        stack().popAll();
    }
    EXPECT_EQ(value("*(n, s.m)"), 20);
    EXPECT_EQ(value("sizeof &arr"), GetParam());
    EXPECT_EQ(value("sizeof arr"), 20);
    EXPECT_EQ(value("sizeof (arr)"), 20);
}

// A shared array's address is more than a private pointer holds: where the
// build takes it as a pointer, no conversion is emitted, and the array item
// is left as it is.
TEST_P(RoadArrayPointer, SharedArrayIsNotConvertedToAPrivatePointer)
{
    TYPE_INDEX shared{};
    _TYPE_ENTRY& e = records().newType(TE_UPC_SHARED, &shared);
    e.upcshared.qualifiedType = records().arrayType(records().integerType(32, false), 20);
    e.upcshared.factor.blockFactor = 1;
    variable("sarr", shared, 0x160);
    for (const char* text : {"(sarr)", "(arr)"}) {
        Build b;
        build(b, text);
        ASSERT_EQ(b.parseErrorKind, -1) << text << ": " << b.parseErrorText;
        const std::string listing = EE_InstructionDecoder::listing(*b.info.instructions);
        EXPECT_EQ(listing.find("genConvert") == std::string::npos, text[1] == 's') << text << "\n" << listing;
    }
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadArrayPointer, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

} // namespace
