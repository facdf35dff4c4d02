#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AddressFixture.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemU.h"
#include "services/InvalidOp.h"
#include "testhost/DecimalImages.h"
#include "types/CreatedTypeItem.h"
#include "types/SymbolItem.h"

// Level-88 condition names over packed, zoned and binary data items: the
// condition values are of the data item's own kind or of another one, and
// are compared after a conversion into the data item's type.

namespace {

using Bytes = std::vector<std::uint8_t>;
using Value = HostRecordStore::ConditionValue;

class CobolConditionNameTest : public AddressFixture {
protected:
    CobolConditionNameTest() : AddressFixture(languageCOBOL) {}

    // Whether the condition holds over the data item stored as image.
    int holds(const SymbolItem& condition, TYPE_INDEX dataType, const Bytes& image)
    {
        host.memory().store(0x20000, image);
        stack().push(new StackItemAddress(rep(), 0x20000ull, TypeItem(records().pointerType(dataType, 4))));
        try {
            stack().genLoadCondvarSym(condition);
        } catch (const InvalidOp& e) {
            ADD_FAILURE() << "raised " << e.code() << " " << (e.function() ? e.function() : "") << ":" << e.line();
            return -1;
        }
        EXPECT_EQ(stack().count(), 1u);
        std::unique_ptr<StackItem> result(stack().pop());
        return static_cast<int>(result->asUnsigned());
    }
};

struct Kind {
    const char* name;
    TYPE_INDEX (*type)(HostRecordStore&);
    // The image of a scaled integer (two decimal places) in that kind.
    Bytes (*image)(const std::string&);
};

const Kind kinds[] = {
    {"packed S9(3)V99", [](HostRecordStore& r) { return r.packedDecimalType(5, -2, true); },
     [](const std::string& v) { return decimalimage::packed(v, 5, true); }},
    {"zoned S9(3)V99", [](HostRecordStore& r) { return r.zonedDecimalType(5, -2, true, TN_SignTrailingEmbedded); },
     [](const std::string& v) { return decimalimage::zoned(v, 5, true, TN_SignTrailingEmbedded); }},
    {"binary S9(3)V99", [](HostRecordStore& r) { return r.binaryType(4, 5, -2, true); },
     [](const std::string& v) { return decimalimage::binary(std::stoll(v), 4); }},
};

} // namespace

TEST_F(CobolConditionNameTest, ValuesRangesBothAndNone)
{
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const TYPE_INDEX data = kind.type(records());
        const auto own = [&](const char* v) { return Value{data, kind.image(v)}; };
        // A value of another kind: a packed S9(1)V9 of 2.5 is 2.50 here.
        const Value packedTwoAndAHalf{records().packedDecimalType(2, -1, true), decimalimage::packed("25", 2, true)};
        struct Case {
            const char* name;
            std::vector<Value> values;
            std::vector<std::pair<Value, Value>> ranges;
            std::vector<std::pair<const char*, int>> checks; // data value (scaled), holds
        };
        const Case cases[] = {
            {"VALUES", {own("-150"), packedTwoAndAHalf}, {}, {{"-150", 1}, {"250", 1}, {"150", 0}, {"251", 0}}},
            {"RANGE", {}, {{own("-100"), own("99999")}}, {{"-100", 1}, {"0", 1}, {"99999", 1}, {"-101", 0}}},
            {"BOTH",
             {own("0")},
             {{own("1000"), own("2000")}, {packedTwoAndAHalf, own("300")}},
             {{"0", 1}, {"1500", 1}, {"275", 1}, {"249", 0}, {"2001", 0}, {"999", 0}}},
            {"NONE", {}, {}, {{"0", 0}, {"100", 0}}},
        };
        for (const Case& c : cases) {
            SymbolItem* condition =
                SymbolItem::makeVarSymbol(&records().conditionName(c.name, data, c.values, c.ranges), *scope);
            ASSERT_NE(condition, nullptr) << c.name;
            for (const auto& [value, expected] : c.checks)
                EXPECT_EQ(holds(*condition, data, kind.image(value)), expected) << c.name << " " << value;
        }
    }
}

// The data item's address as a variable's address load makes it: a created
// pointer to the item's declared type, the qualifier that leads to its
// condition names.
TEST_F(CobolConditionNameTest, ThroughThePointerToTheDeclaredType)
{
    const TYPE_INDEX digits = records().zonedDecimalType(2, 0, false, TN_SignNone);
    const auto zoned = [](const char* v) { return decimalimage::zoned(v, 2, false, TN_SignNone); };
    HostRecordStore::Condition passing;
    passing.name = "PASSING";
    passing.ranges = {{Value{digits, zoned("5")}, Value{digits, zoned("10")}}};
    const TYPE_INDEX declared = records().conditionQualifier(digits, {passing});
    SymbolItem* condition = SymbolItem::makeVarSymbol(
        &records().conditionName("PASSING", digits, {}, {{Value{digits, zoned("5")}, Value{digits, zoned("10")}}}),
        *scope);
    ASSERT_NE(condition, nullptr);
    const TypeItem* pointer = CreatedTypeItem::findPointerType(TypeItem(declared));
    for (const auto& [value, expected] : std::vector<std::pair<const char*, int>>{{"7", 1}, {"4", 0}, {"10", 1}}) {
        host.memory().store(0x20000, zoned(value));
        stack().push(new StackItemAddress(rep(), 0x20000ull, *pointer));
        ASSERT_EQ(raisedCode([&] { stack().genLoadCondvarSym(*condition); }), 0) << value;
        std::unique_ptr<StackItem> result(stack().pop());
        EXPECT_EQ(result->asUnsigned(), static_cast<unsigned long long>(expected)) << value;
    }
}
