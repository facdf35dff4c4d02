#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CobolFixture.h"
#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemDecimalNumber.h"
#include "services/InvalidOp.h"
#include "testhost/inprocess/CountingItem.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class CobolDecimalItemTest : public CobolFixture {
protected:
    // S9(5) of each kind holding -12345 (zoned: trailing embedded sign;
    // national: trailing separate sign).
    std::unique_ptr<StackItem> minus12345(char kind)
    {
        if (kind == 'P')
            return loaded(records().packedDecimalType(5, 0, true), decimalimage::packed("-12345", 5, true));
        if (kind == 'Z')
            return loaded(records().zonedDecimalType(5, 0, true, TN_SignTrailingEmbedded),
                          decimalimage::zoned("-12345", 5, true, TN_SignTrailingEmbedded));
        return loaded(records().nationalDecimalType(5, 0, true, TN_SignTrailingSeparate),
                      decimalimage::national("-12345", 5, true, TN_SignTrailingSeparate));
    }
};

class CobolDecimalTraceTest : public CobolFixture {
protected:
    CobolDecimalTraceTest() : CobolFixture(true) {}
};

// Group data: raw bytes that any decimal kind reads in its own record.
class GroupBytes : public StackItem {
public:
    GroupBytes(EvaluationEnvironment& environment, Bytes bytes)
        : StackItem(environment, TypeItem(130u)), bytes_(std::move(bytes))
    {
        setIsCompound(true);
    }
    StackItem* clone() const override { return new GroupBytes(environment_, bytes_); }
    std::uint64_t size() const override { return bytes_.size(); }
    void load(const DebuggeeLocation&) override {}
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override
    {
        return PackedDecimal(bytes_.data(), record);
    }

private:
    Bytes bytes_;
};

Bytes ebcdicDigits(const std::string& digits)
{
    Bytes out;
    for (char c : digits)
        out.push_back(static_cast<std::uint8_t>(0xF0 | (c - '0')));
    return out;
}

Bytes nationalDigits(const std::string& text)
{
    Bytes out;
    for (char c : text) {
        out.push_back(0x00);
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

template <class Record>
Record pictureRecord(UBYTE4 leaf, const char* picture, UBYTE4 length)
{
    Record r{};
    r.leaf = leaf;
    r.length = length;
    r.picture = picture;
    return r;
}

} // namespace

TEST_F(CobolDecimalItemTest, CheckValueNamesTheVariable)
{
    struct Case {
        const char* what;
        TYPE_INDEX type;
        Bytes bytes;
        int code;
    };
    const Case cases[] = {
        {"packed, digit in the sign nibble", records().packedDecimalType(3, 0, true), {0x12, 0x34}, 44},
        {"packed, sign in a digit nibble", records().packedDecimalType(3, 0, true), {0x1C, 0x3C}, 45},
        {"packed, valid", records().packedDecimalType(3, 0, true), {0x12, 0x3D}, 0},
        {"zoned, zone 3 on the sign digit",
         records().zonedDecimalType(3, 0, true, TN_SignTrailingEmbedded),
         {0xF1, 0xF2, 0x33},
         44},
        {"zoned, no digit in a digit byte",
         records().zonedDecimalType(3, 0, true, TN_SignTrailingEmbedded),
         {0xF1, 0xFA, 0xC3},
         45},
        {"zoned, valid", records().zonedDecimalType(3, 0, true, TN_SignTrailingEmbedded), {0xF1, 0xF2, 0xD3}, 0},
        {"national, no digit in a digit character",
         records().nationalDecimalType(2, 0, false, TN_SignNone),
         {0x00, 0x31, 0x00, 0x3A},
         45},
        {"national, bad separate sign",
         records().nationalDecimalType(2, 0, true, TN_SignLeadingSeparate),
         {0x00, 0x2A, 0x00, 0x31, 0x00, 0x32},
         44},
        {"national, valid",
         records().nationalDecimalType(2, 0, true, TN_SignLeadingSeparate),
         {0x00, 0x2D, 0x00, 0x31, 0x00, 0x32},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<StackItem> item = loaded(c.type, c.bytes);
        item->setName("WS-AMOUNT");
        try {
            item->checkValue();
            EXPECT_EQ(c.code, 0);
        } catch (const InvalidOp& e) {
            EXPECT_EQ(e.code(), c.code);
            const ByteString utf8 = e.text().asUTF8();
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(utf8.data()), utf8.length()), "WS-AMOUNT");
        }
    }
}

TEST_F(CobolDecimalItemTest, LoadTakesDebuggeeMemoryOfTheRecordsLength)
{
    for (TYPE_INDEX type :
         {records().packedDecimalType(5, -2, true), records().zonedDecimalType(5, -2, true, TN_SignTrailingEmbedded),
          records().nationalDecimalType(5, -2, true, TN_SignLeadingSeparate)}) {
        std::unique_ptr<StackItem> item = made(type);
        ASSERT_TRUE(item->hasValue());
        EXPECT_EQ(raisedCode([&] { item->load(DebuggeeLocation(5ul)); }), InvalidOp::RTRC_Other);
        EXPECT_FALSE(item->hasValue()) << "a register location leaves no value";
        EXPECT_EQ(raisedCode([&] { item->load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    }
    // Only the record's bytes are read, and the location is kept.
    const TYPE_INDEX packed = records().packedDecimalType(5, -2, true);
    const DebuggeeLocation at = place({0x12, 0x34, 0x5C, 0x99, 0x99});
    std::unique_ptr<StackItem> item = made(packed);
    item->load(at);
    EXPECT_EQ(imageOf(*item), (Bytes{0x12, 0x34, 0x5C}));
    EXPECT_EQ(plainText(*item), "123.45");
    EXPECT_EQ(item->location().address().addr(), at.address().addr());
    EXPECT_TRUE(item->hasValue());

    // The evaluator's own copy of a value (as a condition name keeps its
    // values) is read as well.
    unsigned char copy[3] = {0x00, 0x12, 0x5D};
    DebuggeeLocation buffer;
    buffer = static_cast<void*>(copy);
    std::unique_ptr<StackItem> kept = made(packed);
    kept->load(buffer);
    EXPECT_EQ(plainText(*kept), "-1.25");

    // A record of length 0 is refused.
    records().type(packed)->packed.byteLength = 0;
    std::unique_ptr<StackItem> empty = made(packed);
    EXPECT_EQ(raisedCode([&] { empty->load(place({0x1C})); }), InvalidOp::RTRC_Other);
}

TEST_F(CobolDecimalItemTest, OperandsAreReadInTheLeftKind)
{
    // Packed + zoned: the zoned value becomes packed; the sum is packed,
    // with the created type of its own record.
    std::unique_ptr<StackItem> left =
        loaded(records().packedDecimalType(5, -2, true), decimalimage::packed("12345", 5, true));
    const TypeItem loadedType = left->type();
    std::unique_ptr<StackItem> right = literal('Z', "-0.5");
    left->genAdd(*right);
    EXPECT_NE(dynamic_cast<StackItemPackedDecimal*>(left.get()), nullptr);
    EXPECT_EQ(plainText(*left), "122.95");
    ASSERT_NE(left->type().typeEntry(), nullptr);
    EXPECT_EQ(+left->type().typeEntry()->leaf, unsigned(TE_PACKED_DECIMAL));
    EXPECT_FALSE(left->type() == loadedType);
    EXPECT_EQ(left->size(), imageOf(*left).size());
    EXPECT_EQ(imageOf(*left), (Bytes{0x00, 0x12, 0x29, 0x5C})) << "6 digits, 2 places";

    // Zoned and national left operands keep their own kinds.
    std::unique_ptr<StackItem> zoned = literal('Z', "10");
    zoned->genMult(*literal('P', "-2.5"));
    EXPECT_NE(dynamic_cast<StackItemZonedDecimal*>(zoned.get()), nullptr);
    EXPECT_EQ(plainText(*zoned), "-25");
    std::unique_ptr<StackItem> national = literal('N', "7");
    national->genSubtract(*literal('P', "9"));
    EXPECT_NE(dynamic_cast<StackItemNationalDecimal*>(national.get()), nullptr);
    EXPECT_EQ(plainText(*national), "-2");

    // A negative zero from arithmetic stays negative.
    std::unique_ptr<StackItem> product = literal('P', "-5");
    product->genMult(*literal('P', "0"));
    EXPECT_EQ(imageOf(*product).back() & 0x0F, 0x0D);

    // Operands without a decimal form are refused.
    int deletions = 0;
    std::unique_ptr<StackItem> plain = literal('P', "1");
    EXPECT_EQ(raisedCode([&] { plain->genAdd(CountingItem(rep(), deletions)); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(CobolDecimalItemTest, DivideByZeroKeepsTheValue)
{
    for (char kind : {'P', 'Z', 'N'}) {
        SCOPED_TRACE(kind);
        std::unique_ptr<StackItem> item = literal(kind, "-42.5");
        const Bytes before = imageOf(*item);
        EXPECT_EQ(raisedCode([&] { item->genDivide(*literal('P', "0.00")); }), InvalidOp::RTRC_DivideByZero);
        EXPECT_EQ(imageOf(*item), before);
    }
}

TEST_F(CobolDecimalItemTest, PowerTakesTheCountOfPlaces)
{
    struct Case {
        char kind;
        const char* base;
        const char* exponent;
        unsigned places;
        const char* result;
    };
    const Case cases[] = {
        {'P', "2", "10", 0, "1024"}, {'P', "1.5", "2", 2, "2.25"}, {'Z', "2", "-1", 3, "0.5"},
        {'N', "-3", "3", 0, "-27"},  {'P', "10", "0", 0, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.kind) + " " + c.base + " ** " + c.exponent);
        std::unique_ptr<StackItem> item = literal(c.kind, c.base);
        item->genPow(*literal('P', c.exponent), c.places);
        EXPECT_EQ(plainText(*item), c.result);
        EXPECT_EQ(item->size(), imageOf(*item).size());
    }
}

TEST_F(CobolDecimalItemTest, ComparisonsAlignTheScales)
{
    std::unique_ptr<StackItem> item = literal('P', "12.50");
    EXPECT_EQ(item->genEQ(*literal('Z', "12.5")), 1);
    EXPECT_EQ(item->genLT(*literal('N', "12.51")), 1);
    EXPECT_EQ(item->genGE(*literal('P', "-100")), 1);
    EXPECT_EQ(item->genNE(*literal('P', "12.5")), 0);
    EXPECT_EQ(literal('N', "-1")->genGT(*literal('Z', "-2")), 1);
}

TEST_F(CobolDecimalItemTest, NumbersForTheOtherItems)
{
    for (char kind : {'P', 'Z', 'N'}) {
        SCOPED_TRACE(kind);
        std::unique_ptr<StackItem> item = minus12345(kind);
        EXPECT_EQ(item->asSigned(), -12345);
        EXPECT_EQ(item->isZero(), 0);
        EXPECT_EQ(static_cast<long double>(item->imaginaryPart()), 0.0L);
        EXPECT_EQ(raisedCode([&] { item->asDecimalFloat(); }), InvalidOp::RTRC_Other);
        EXPECT_EQ(static_cast<long double>(item->realPart()), -12345.0L);
        // Not decimal conversions: left to the base.
        EXPECT_EQ(raisedCode([&] { item->asIndexDataItem(TNindex_data_item{}); }), InvalidOp::RTRC_IncompatTypes);
        EXPECT_EQ(raisedCode([&] { item->genModulus(*literal('P', "2")); }), InvalidOp::RTRC_IncompatTypes);
    }
}

TEST_F(CobolDecimalItemTest, ConversionTable)
{
    TNcharstring digitsOk{};
    digitsOk.leaf = TE_CHARSTRING;
    digitsOk.size.length = 5;
    TNcharstring noDigits = digitsOk;
    noDigits.flags = 0x20;
    TNfixed_point_binary binary{};
    binary.leaf = TE_FIXED_POINT_BINARY;
    binary.flags = TN_BinarySigned;
    binary.byteLength = 4;
    binary.precision = 7;
    binary.scale = -2;
    const auto numeric = [] {
        TNnumeric_edited r{};
        r.leaf = TE_NUMERIC_EDITED;
        r.length = 7;
        r.precision = 5;
        r.picture = "-99999";
        r.length = 6;
        return r;
    }();
    TNnational_numeric_edited nationalNumeric{};
    nationalNumeric.leaf = TE_NATIONAL_NUMERIC_EDITED;
    nationalNumeric.length = 12;
    nationalNumeric.precision = 5;
    nationalNumeric.picture = "-99999";
    const auto external = pictureRecord<TNexternal_float>(TE_EXTERNAL_FLOAT, "-9(5).E+99", 10);
    const auto nationalExternal =
        pictureRecord<TNnational_external_float>(TE_NATIONAL_EXTERNAL_FLOAT, "-9(5).E+99", 20);
    const auto alphaEdited = pictureRecord<TNalpha_numeric_edited>(TE_ALPHA_NUMERIC_EDITED, "XXBXXX", 6);
    const auto nationalEdited = pictureRecord<TNnational_edited>(TE_NATIONAL_EDITED, "NNBNNN", 12);

    for (char kind : {'P', 'Z', 'N'}) {
        SCOPED_TRACE(kind);
        std::unique_ptr<StackItem> item = minus12345(kind);
        EXPECT_EQ(plainText(item->asPackedDecimal(TNpacked_decimal{})), "-12345");
        EXPECT_EQ(bytesOf(item->asZonedDecimal(TNzoned_decimal{}).toCharstring()), ebcdicDigits("12345"));
        EXPECT_EQ(static_cast<long long>(item->asZonedDecimal(TNzoned_decimal{})), -12345);
        EXPECT_EQ(static_cast<long long>(item->asNationalDecimal(TNnational_decimal{})), -12345);
        const FixedPointBinary b = item->asFixedPointBinary(binary);
        EXPECT_EQ(static_cast<long long>(b), -12345);
        if (kind != 'N') {
            EXPECT_EQ(b.scale(), -2) << "made for the descriptor";
        }
        EXPECT_EQ(minus12345(kind)->asIndexName(TNindex_name{}).record().elementLength, 0u);
        EXPECT_EQ(bytesOf(item->asNumericEdited(numeric).bytes()), (Bytes{0x60, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5}));
        EXPECT_EQ(bytesOf(item->asNationalNumericEdited(nationalNumeric).bytes()), nationalDigits("-12345"));
        EXPECT_EQ(static_cast<long double>(item->asExternalFloat(external)), -12345.0L);
        EXPECT_EQ(static_cast<long double>(item->asNationalExternalFloat(nationalExternal)), -12345.0L);
        // Character targets: the digits without the sign.
        EXPECT_EQ(bytesOf(item->asCharstring(digitsOk)), ebcdicDigits("12345"));
        if (kind == 'N') {
            EXPECT_EQ(bytesOf(item->asCharstring(noDigits)), ebcdicDigits("12345"));
        } else {
            EXPECT_EQ(raisedCode([&] { item->asCharstring(noDigits); }), InvalidOp::RTRC_IncompatTypes);
        }
        EXPECT_EQ(bytesOf(item->asNationalString(TNnational_string{})), nationalDigits("12345"));
        EXPECT_EQ(bytesOf(item->asAlphaNumericEdited(alphaEdited).bytes()),
                  (Bytes{0xF1, 0xF2, 0x40, 0xF3, 0xF4, 0xF5}));
        // National-edited: unsigned digits, no sign edited in.
        EXPECT_EQ(bytesOf(item->asNationalEdited(nationalEdited).bytes()), nationalDigits("12 345"));
        // A group takes the storage bytes as they are.
        EXPECT_EQ(bytesOf(item->asAlphaNumericGroup(TNclass{})), imageOf(*item));
    }
}

TEST_F(CobolDecimalItemTest, WideValuesKeepTheirDigits)
{
    // 25 digits do not fit a 64-bit binary: the characters come from the
    // decimal digits themselves.
    std::unique_ptr<StackItem> wide = literal('P', "1234567890123456789012345");
    EXPECT_EQ(bytesOf(wide->asNationalString(TNnational_string{})), nationalDigits("1234567890123456789012345"));
    TNcharstring text{};
    text.leaf = TE_CHARSTRING;
    text.size.length = 25;
    EXPECT_EQ(bytesOf(wide->asCharstring(text)), ebcdicDigits("1234567890123456789012345"));
    const auto edited = pictureRecord<TNalpha_numeric_edited>(TE_ALPHA_NUMERIC_EDITED, "X(25)", 25);
    EXPECT_EQ(bytesOf(wide->asAlphaNumericEdited(edited).bytes()), ebcdicDigits("1234567890123456789012345"));
    const auto nationalEdited = pictureRecord<TNnational_edited>(TE_NATIONAL_EDITED, "N(25)", 50);
    EXPECT_EQ(bytesOf(wide->asNationalEdited(nationalEdited).bytes()), nationalDigits("1234567890123456789012345"));
}

TEST_F(CobolDecimalItemTest, ConvertIsAMoveUnlessTheSourceIsAGroup)
{
    const TYPE_INDEX target = records().packedDecimalType(3, -1, false);
    // A MOVE cuts at both ends and drops the sign of an unsigned picture.
    std::unique_ptr<StackItem> moved = made(target);
    moved->genConvert(*literal('Z', "-1234.56"));
    EXPECT_EQ(imageOf(*moved), (Bytes{0x34, 0x5F}));

    // A group source is taken as it delivers itself: its bytes read in
    // the target's record, the unsigned sign nibble F kept where a MOVE
    // into the signed picture would write C.
    const TYPE_INDEX signedTarget = records().packedDecimalType(3, 0, true);
    GroupBytes group(rep(), {0x12, 0x3F});
    std::unique_ptr<StackItem> taken = made(signedTarget);
    taken->genConvert(group);
    EXPECT_EQ(imageOf(*taken), (Bytes{0x12, 0x3F}));
    group.setIsCompound(false);
    taken->genConvert(group);
    EXPECT_EQ(imageOf(*taken), (Bytes{0x12, 0x3C}));

    // Group data of another shape is kept whole: the item's size follows it.
    std::unique_ptr<StackItem> wider = literal('P', "-1234.56");
    wider->setIsCompound(true);
    std::unique_ptr<StackItem> widened = made(signedTarget);
    widened->genConvert(*wider);
    EXPECT_EQ(imageOf(*widened), (Bytes{0x01, 0x23, 0x45, 0x6D}));
}

TEST_F(CobolDecimalTraceTest, ArithmeticAndMovesAreTraced)
{
    SVCTestSeam::setTrace(true);
    std::unique_ptr<StackItem> item = literal('P', "1.25");
    item->genAdd(*literal('P', "10.5"));
    EXPECT_TRUE(host.traced("[5,-2,2]")) << "digits, scale and places of the sum";
    std::unique_ptr<StackItem> target = made(records().packedDecimalType(7, -3, true));
    target->genConvert(*item);
    EXPECT_TRUE(host.traced("value [7,3]"));
    EXPECT_TRUE(host.traced("type  [7,-3,3]"));
    target->load(place(decimalimage::packed("1", 7, true)));
    EXPECT_TRUE(host.traced("[7,-3,3]"));
}
