#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "datatypes/DecimalFloat.h"
#include "datatypes/PackedDecimal.h"
#include "machine/StackItemDecimalFloat.h"
#include "machine/StackItemFloat.h"
#include "machine/StackItemS.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class DecimalFloatItemTest : public MachineFixture {
protected:
    // The item a decimal literal pushes, taken off the stack.
    std::unique_ptr<StackItem> literal(const std::string& text)
    {
        stack().genLoadDecimalRealValue(text.c_str());
        return std::unique_ptr<StackItem>(stack().pop());
    }
};

const char* const suffixes[] = {"DF", "DD", "DL"};

std::string textOf(const StackItem& item)
{
    ByteString text;
    item.asDecimalFloat().format(text);
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

std::vector<unsigned char> bufferOf(const StackItem& item)
{
    const auto* b = static_cast<const unsigned char*>(item.resultBuffer());
    return std::vector<unsigned char>(b, b + item.size());
}

// A packed-decimal operand, which gives no decimal float.
class PackedOperand : public StackItem {
public:
    explicit PackedOperand(EvaluationEnvironment& environment) : StackItem(environment, TypeItem(130u)) {}
    StackItem* clone() const override { return new PackedOperand(environment_); }
    std::uint64_t size() const override { return 0; }
    void load(const DebuggeeLocation&) override {}
    DecimalFloat asDecimalFloat() const override { return PackedDecimal(1LL).operator DecimalFloat(); }
};

} // namespace

TEST_F(DecimalFloatItemTest, OracleTable)
{
    // Python's decimal in the item's own context (see gen/gen_decimal_items.py).
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/decimal_items.txt");
    std::string line;
    unsigned rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int size = 0, rsize = 0;
        std::string op, left, right, expected;
        fields >> size >> op >> left >> rsize >> right >> expected;
        ++rows;
        std::unique_ptr<StackItem> a = literal(left + suffixes[size]);
        std::unique_ptr<StackItem> b = literal(right + suffixes[rsize]);
        const std::string before = textOf(*a);
        if (op == "cmp") {
            const int c = std::stoi(expected);
            EXPECT_EQ(a->genEQ(*b), c == 0) << line;
            EXPECT_EQ(a->genNE(*b), c != 0) << line;
            EXPECT_EQ(a->genLT(*b), c < 0) << line;
            EXPECT_EQ(a->genLE(*b), c <= 0) << line;
            EXPECT_EQ(a->genGT(*b), c > 0) << line;
            EXPECT_EQ(a->genGE(*b), c >= 0) << line;
            continue;
        }
        if (expected == "ERR:3") {
            EXPECT_EQ(raisedCode([&] { a->genDivide(*b); }), InvalidOp::RTRC_DivideByZero) << line;
            EXPECT_EQ(textOf(*a), before) << line;
            continue;
        }
        if (op == "add")
            a->genAdd(*b);
        else if (op == "sub")
            a->genSubtract(*b);
        else if (op == "mul")
            a->genMult(*b);
        else
            a->genDivide(*b);
        EXPECT_EQ(textOf(*a), expected) << line;
        // What the item computes with is what it stores.
        const DecimalFloat stored(static_cast<DecimalFloat::Size>(size), a->resultBuffer());
        ByteString storedText;
        stored.format(storedText);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(storedText.data()), storedText.length()), expected) << line;
    }
    EXPECT_GT(rows, 1200u) << "decimal_items.txt was not found or is cut short";
}

TEST_F(DecimalFloatItemTest, ValueIsHeldAtTheItemsOwnSize)
{
    // A literal with more digits than a decimal32 holds equals its stored
    // value, and a 128-bit item fed from a 64-bit one computes in 34 digits.
    std::unique_ptr<StackItem> a = literal("1.23456789DF");
    EXPECT_EQ(textOf(*a), "1.234568");
    const StackItemDecimalFloat32 stored(rep(), DecimalFloat(DecimalFloat::Size32, a->resultBuffer()));
    EXPECT_TRUE(a->genEQ(stored));

    std::unique_ptr<StackItem> wide(RuntimeStack::makeStackItem(TypeItem(193u), nullptr));
    wide->genConvert(*literal("1DD"));
    wide->genDivide(*literal("3DD"));
    EXPECT_EQ(textOf(*wide), "0.3333333333333333333333333333333333");

    // A binary float converted into a 32-bit item is rounded to 7 digits.
    std::unique_ptr<StackItem> narrow(RuntimeStack::makeStackItem(TypeItem(159u), nullptr));
    narrow->genConvert(StackItemD(rep(), FloatNumber(0.1)));
    EXPECT_EQ(textOf(*narrow), "0.1000000");

    // Negation keeps the size's context: 1/3 in 16 digits stays 16 digits.
    std::unique_ptr<StackItem> third = literal("1DD");
    third->genDivide(*literal("3DD"));
    third->genNegate();
    third->genMult(*literal("1.00000000000000000001DL"));
    EXPECT_EQ(textOf(*third), "-0.3333333333333333");
}

TEST_F(DecimalFloatItemTest, StoredBytesAreBigEndian)
{
    const struct {
        const char* text;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"1DD", {0x22, 0x38, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}},
        {"1DF", {0x22, 0x50, 0x00, 0x01}},
        {"-1DF", {0xA2, 0x50, 0x00, 0x01}},
        {"1DL", {0x22, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<StackItem> item = literal(c.text);
        EXPECT_EQ(bufferOf(*item), c.bytes) << c.text;
        // Loading the bytes back gives the value.
        host.memory().store(0x300, c.bytes);
        std::unique_ptr<StackItem> loaded(item->clone());
        loaded->load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x300))));
        EXPECT_EQ(textOf(*loaded), textOf(*item)) << c.text;
        EXPECT_TRUE(loaded->location().kind() == DebuggeeLocation::debuggeeMemory);
    }
}

TEST_F(DecimalFloatItemTest, FactoryItemsAndFailures)
{
    const struct {
        unsigned index;
        std::uint64_t size;
    } rows[] = {{159, 4}, {192, 8}, {193, 16}};
    for (const auto& row : rows) {
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(TypeItem(row.index), nullptr));
        EXPECT_EQ(item->size(), row.size);
        EXPECT_TRUE(item->isZero());
        EXPECT_TRUE(item->genEQ(*literal("0DD")));
        EXPECT_FALSE(item->isQuvHexFloat());
        EXPECT_EQ(raisedCode([&] { item->genPow(*literal("2DD"), 0); }), InvalidOp::RTRC_IncompatTypes);
        EXPECT_EQ(raisedCode([&] { item->genTruncateFP(8); }), InvalidOp::RTRC_IncompatTypes);
        // Division by zero leaves the item as it was.
        std::unique_ptr<StackItem> one = literal("1DD");
        EXPECT_EQ(raisedCode([&] { one->genDivide(*item); }), InvalidOp::RTRC_DivideByZero);
        EXPECT_EQ(textOf(*one), "1");
        // A source that gives no decimal float.
        EXPECT_EQ(raisedCode([&] { item->genConvert(PackedOperand(rep())); }), InvalidOp::RTRC_IncompatTypes);
    }
    // No location: the load fails and the item has no value.
    std::unique_ptr<StackItem> item = literal("1DD");
    EXPECT_NE(raisedCode([&] { item->load(DebuggeeLocation()); }), 0);
    EXPECT_FALSE(item->hasValue());
}

TEST_F(DecimalFloatItemTest, NaNOrdersAboveEverything)
{
    // Whatever the NaN's sign and side.
    for (const char* nan : {"NaNDD", "-NaNDD"}) {
        std::unique_ptr<StackItem> one = literal("1DD");
        std::unique_ptr<StackItem> n = literal(nan);
        EXPECT_EQ(one->genEQ(*n), 0) << nan;
        EXPECT_EQ(one->genNE(*n), 1) << nan;
        EXPECT_EQ(one->genLT(*n), 0) << nan;
        EXPECT_EQ(one->genLE(*n), 0) << nan;
        EXPECT_EQ(one->genGT(*n), 1) << nan;
        EXPECT_EQ(one->genGE(*n), 1) << nan;
        EXPECT_EQ(n->genLT(*one), 0) << nan;
        EXPECT_EQ(n->genGT(*one), 1) << nan;
    }
}

TEST_F(DecimalFloatItemTest, ViewsAsOtherNumbers)
{
    std::unique_ptr<StackItem> item = literal("-2.75DD");
    EXPECT_EQ(item->asSigned(), -2);
    EXPECT_EQ(static_cast<long double>(item->asLongDouble()), -2.75L);
    EXPECT_EQ(static_cast<long double>(item->realPart()), -2.75L);
    EXPECT_EQ(static_cast<long double>(item->imaginaryPart()), 0.0L);
    std::unique_ptr<StackItem> copy(item->clone());
    const StackItem& copied = *copy;
    EXPECT_EQ(typeid(copied), typeid(StackItemDecimalFloat64));
    EXPECT_EQ(textOf(*copy), "-2.75");
    // An integer item converts exactly.
    std::unique_ptr<StackItem> fromInteger(RuntimeStack::makeStackItem(TypeItem(192u), nullptr));
    fromInteger->genConvert(StackItemS8(rep(), 1234567890123LL));
    EXPECT_EQ(textOf(*fromInteger), "1234567890123");
}
