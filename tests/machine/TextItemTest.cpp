// The text items: alphanumeric, national and DBCS values, and figurative
// constants. Padded comparisons, COBOL moves, the digit check against the
// non-numeric mark, loads, conversions, and constants shorter than their
// type.

#include <memory>
#include <string>

#include "TextFixture.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemFigConstant.h"
#include "machine/StackItemNationalString.h"
#include "machine/StackItemS.h"
#include "testhost/DwarfExpression.h"

namespace {

class TextItemTest : public TextFixture {
protected:
    StackItemCharstring text(const std::string& value, const TypeItem& type)
    {
        return StackItemCharstring(rep(), value.data(), value.size(), type);
    }
    StackItemNationalString nationalText(const std::string& value, const TypeItem& type)
    {
        return StackItemNationalString(rep(), value.data(), value.size(), type);
    }
    StackItemDbcsString dbcsText(const std::string& value, const TypeItem& type)
    {
        return StackItemDbcsString(rep(), value.data(), value.size(), type);
    }
    StackItemFigConstant constant(const std::string& value, const TypeItem& type)
    {
        return StackItemFigConstant(rep(), value.data(), value.size(), type);
    }
};

class CobolTextItemTest : public TextItemTest {
protected:
    void SetUp() override
    {
        TextItemTest::SetUp();
        useRepresentation(languageCOBOL, 4);
    }
};

// The comparison result of left against right as -1, 0 or 1, asked through
// all six relations, which must agree.
int order(StackItem& left, const StackItem& right)
{
    const int lt = left.genLT(right), eq = left.genEQ(right), gt = left.genGT(right);
    EXPECT_EQ(left.genLE(right), lt || eq);
    EXPECT_EQ(left.genGE(right), gt || eq);
    EXPECT_EQ(left.genNE(right), !eq);
    EXPECT_EQ(lt + eq + gt, 1);
    return lt ? -1 : gt ? 1 : 0;
}

} // namespace

TEST_F(TextItemTest, ComparisonsPadTheShorterSideWithTheKindsBlank)
{
    // Alphanumeric: AB equals AB and two spaces; AB is below ABC, 0x40
    // being below every letter; a byte above 0x7F orders as unsigned.
    auto ab = text(ebcdic("AB"), alphanumeric(2));
    EXPECT_EQ(order(ab, text(ebcdic("AB  "), alphanumeric(4))), 0);
    EXPECT_EQ(order(ab, text(ebcdic("ABC"), alphanumeric(3))), -1);
    EXPECT_EQ(order(ab, text(ebcdic("A"), alphanumeric(1))), 1);
    EXPECT_EQ(order(ab, text(bytes({0xC1, 0x30}), alphanumeric(2))), 1);

    // National pads with 00 20: AB equals AB and one national space, but
    // not AB followed by the EBCDIC space's bytes 40 40.
    auto nab = nationalText(utf16("AB"), national(4));
    EXPECT_EQ(order(nab, nationalText(utf16("AB "), national(6))), 0);
    EXPECT_EQ(order(nab, nationalText(utf16("AB") + bytes({0x40, 0x40}), national(6))), -1);
    EXPECT_EQ(order(nab, nationalText(utf16("ABC"), national(6))), -1);

    // DBCS pads with 40 40.
    const std::string two = bytes({0x42, 0xC1, 0x42, 0xC2});
    auto dab = dbcsText(two, dbcs(4));
    EXPECT_EQ(order(dab, dbcsText(two + bytes({0x40, 0x40}), dbcs(6))), 0);
    EXPECT_EQ(order(dab, dbcsText(two + bytes({0x00, 0x20}), dbcs(6))), 1);
}

TEST_F(TextItemTest, MovesCutAndPadByJustification)
{
    struct Case {
        const char* name;
        UBYTE4 targetLength;
        UBYTE4 flags;
        std::string expected;
    } cases[] = {
        {"justified 3 into 5", 5, justified, bytes({0x40, 0x40, 0xC1, 0xC2, 0xC3})},
        {"justified 3 into 2", 2, justified, bytes({0xC2, 0xC3})},
        {"justified 3 into 3", 3, justified, ebcdic("ABC")},
        {"left 3 into 5", 5, 0, bytes({0xC1, 0xC2, 0xC3, 0x40, 0x40})},
        {"left 3 into 2", 2, 0, ebcdic("AB")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StackItemCharstring target(rep(), nullptr, 0, alphanumeric(c.targetLength, c.flags));
        target.genConvert(text(ebcdic("ABC"), alphanumeric(3)));
        EXPECT_EQ(valueOf(target), hex(c.expected));
    }

    // National: two characters into 6 bytes append one national space;
    // justified, the space goes in front.
    StackItemNationalString wide(rep(), nullptr, 0, national(6));
    wide.genConvert(nationalText(utf16("AB"), national(4)));
    EXPECT_EQ(valueOf(wide), hex(utf16("AB ")));
    StackItemNationalString right(rep(), nullptr, 0, national(6, justified));
    right.genConvert(nationalText(utf16("AB"), national(4)));
    EXPECT_EQ(valueOf(right), hex(utf16(" AB")));

    // DBCS: one character into three appends two DBCS spaces; four into
    // three keep the first three.
    StackItemDbcsString three(rep(), nullptr, 0, dbcs(6));
    three.genConvert(dbcsText(bytes({0x42, 0xC1}), dbcs(2)));
    EXPECT_EQ(valueOf(three), "42C140404040");
    three.genConvert(dbcsText(bytes({0x42, 0xC1, 0x42, 0xC2, 0x42, 0xC3, 0x42, 0xC4}), dbcs(8)));
    EXPECT_EQ(valueOf(three), "42C142C242C3");
}

// A text shorter than its type is padded with the kind's blank, never read
// past its end; a null text is all blanks.
TEST_F(TextItemTest, ShortTextsArePaddedWithTheKindsBlank)
{
    EXPECT_EQ(valueOf(text(ebcdic("ABC"), alphanumeric(10))), "C1C2C340404040404040");
    EXPECT_EQ(valueOf(nationalText(utf16("A"), national(10))), "00410020002000200020");
    EXPECT_EQ(valueOf(dbcsText(bytes({0x42, 0xC1}), dbcs(6))), "42C140404040");
    EXPECT_EQ(valueOf(constant(ebcdic("AB"), alphanumeric(5))), "C1C2404040");

    EXPECT_EQ(valueOf(StackItemCharstring(rep(), nullptr, 0, alphanumeric(3))), "404040");
    EXPECT_EQ(valueOf(StackItemNationalString(rep(), nullptr, 0, national(4))), "00200020");
    EXPECT_EQ(valueOf(StackItemDbcsString(rep(), nullptr, 0, dbcs(4))), "40404040");
    EXPECT_EQ(valueOf(StackItemFigConstant(rep(), nullptr, 0, alphanumeric(2))), "4040");

    // A longer text is cut to the type.
    EXPECT_EQ(valueOf(text(ebcdic("ABCDE"), alphanumeric(2))), "C1C2");
}

TEST_F(TextItemTest, TextItemsNeedATypeRecord)
{
    EXPECT_EQ(raisedCode([&] { StackItemCharstring(rep(), "A", 1, TypeItem(130u)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { StackItemNationalString(rep(), "A", 1, TypeItem(130u)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { StackItemDbcsString(rep(), "A", 1, TypeItem(130u)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { StackItemFigConstant(rep(), "A", 1, TypeItem(130u)); }), InvalidOp::RTRC_Other);
}

// A value the evaluator holds must be digits and spaces before it is read
// as a number; a loaded value goes to the value class as it is; a
// non-numeric item is never a number.
TEST_F(TextItemTest, DigitCheckAndNonNumericMark)
{
    const TNpacked_decimal packed{};
    auto letter = text(ebcdic("1A"), alphanumeric(2));
    EXPECT_EQ(raisedCode([&] { letter.asPackedDecimal(packed); }), InvalidOp::RTRC_NonNumericCharsInString);
    EXPECT_EQ(raisedCode([&] { letter.asZonedDecimal(TNzoned_decimal{}); }), InvalidOp::RTRC_NonNumericCharsInString);
    EXPECT_EQ(raisedCode([&] { letter.asLongDouble(); }), InvalidOp::RTRC_NonNumericCharsInString);

    // A minus sign is no digit for the check, but the zoned value class
    // reads it: loaded from memory, the same bytes give -12.
    const std::string minus12 = ebcdic("-12");
    auto literal = text(minus12, alphanumeric(3));
    EXPECT_EQ(raisedCode([&] { literal.asPackedDecimal(packed); }), InvalidOp::RTRC_NonNumericCharsInString);
    store(0x20000, minus12);
    StackItemCharstring loaded(rep(), nullptr, 0, alphanumeric(3));
    loaded.load(at(0x20000));
    EXPECT_EQ(static_cast<long long>(loaded.asZonedDecimal(TNzoned_decimal{})), -12);
    EXPECT_EQ(static_cast<long long>(loaded.asPackedDecimal(packed)), -12);

    auto digits = text(ebcdic("042"), alphanumeric(3));
    EXPECT_EQ(static_cast<long long>(digits.asPackedDecimal(packed)), 42);

    auto marked = text(ebcdic("42"), alphanumeric(2, nonNumeric));
    EXPECT_EQ(raisedCode([&] { marked.asPackedDecimal(packed); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { marked.asLongDouble(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { marked.asDecimalFloat(); }), InvalidOp::RTRC_IncompatTypes);
    // The mark is refreshed from the record by a load.
    store(0x20010, ebcdic("42"));
    marked.load(at(0x20010));
    EXPECT_TRUE(marked.nonNumeric());
}

// A C character-array literal (leaf 83) is text of the array's fixed
// extent and never a number.
TEST_F(TextItemTest, CharacterArrayLiteral)
{
    auto table = [&](const DwarfBlock* count) {
        TYPE_INDEX t;
        TNcobolTable& r = records().newType(TE_COBOL_TABLE, &t).cobolTable;
        r.elementType = TYPE_INDEX{0, 148};
        r.countBlock = count;
        return TypeItem(t);
    };
    const TypeItem four = table(records().dwarfBlock(dwarf::Builder().constU(4).bytes()));
    auto literal = text("\xF1\xF2", four);
    EXPECT_EQ(valueOf(literal), "F1F24040");
    EXPECT_TRUE(literal.nonNumeric());
    EXPECT_EQ(raisedCode([&] { literal.asPackedDecimal(TNpacked_decimal{}); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { literal.asNationalDecimal(TNnational_decimal{}); }), InvalidOp::RTRC_IncompatTypes);
    // Without a fixed extent there is no literal.
    EXPECT_EQ(raisedCode([&] { text("ab", table(nullptr)); }), InvalidOp::RTRC_Other);
}

TEST_F(TextItemTest, ZeroLengthLoadsFailOutsideCobol)
{
    StackItemCharstring empty(rep(), nullptr, 0, alphanumeric(0));
    EXPECT_EQ(raisedCode([&] { empty.load(at(0x20000)); }), InvalidOp::RTRC_Other);
    StackItemDbcsString none(rep(), nullptr, 0, dbcs(0));
    EXPECT_EQ(raisedCode([&] { none.load(at(0x20000)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { empty.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(empty.hasValue());
}

TEST_F(CobolTextItemTest, ZeroLengthAlphanumericLoadIsEmptyInCobol)
{
    StackItemCharstring empty(rep(), nullptr, 0, alphanumeric(0));
    empty.load(at(0x20000));
    EXPECT_EQ(empty.stringLength(), 0u);
    EXPECT_TRUE(empty.hasValue());
    StackItemNationalString nothing(rep(), nullptr, 0, national(0));
    nothing.load(at(0x20000));
    EXPECT_EQ(nothing.value().length(), 0u);
    // DBCS has no empty load, in COBOL too.
    StackItemDbcsString none(rep(), nullptr, 0, dbcs(0));
    EXPECT_EQ(raisedCode([&] { none.load(at(0x20000)); }), InvalidOp::RTRC_Other);
    // And an alphanumeric value is no C string in COBOL.
    EXPECT_FALSE(empty.isString());
}

TEST_F(TextItemTest, LoadReadsTheTypesBytes)
{
    store(0x20000, ebcdic("HELLO"));
    StackItemCharstring item(rep(), nullptr, 0, alphanumeric(5));
    item.load(at(0x20000));
    EXPECT_EQ(valueOf(item), hex(ebcdic("HELLO")));
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::debuggeeMemory);
    EXPECT_TRUE(item.isString());
    // A copy keeps the value and the length of a reference-modified slice.
    StackItemDbcsString slice(rep(), ByteString(reinterpret_cast<const unsigned char*>("\x42\xC1"), 2), dbcs(8),
                              at(0x20000), 2);
    std::unique_ptr<StackItem> copy(slice.clone());
    EXPECT_EQ(copy->size(), 2u);
    EXPECT_EQ(valueOf(*copy), "42C1");
}

// One case a row of the alphanumeric conversion table.
TEST_F(TextItemTest, AlphanumericConversions)
{
    auto value = text(ebcdic("123"), alphanumeric(3));
    EXPECT_EQ(static_cast<long long>(value.asZonedDecimal(TNzoned_decimal{})), 123);
    EXPECT_EQ(static_cast<long long>(value.asPackedDecimal(TNpacked_decimal{})), 123);
    EXPECT_EQ(static_cast<long long>(value.asFixedPointBinary(TNfixed_point_binary{})), 123);
    EXPECT_EQ(static_cast<long double>(value.asLongDouble()), 123.0L);
    EXPECT_EQ(static_cast<long long>(value.asNationalDecimal(TNnational_decimal{})), 123);
    EXPECT_EQ(raisedCode([&] { value.asDecimalFloat(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(hex(value.asNationalString(TNnational_string{})), hex(utf16("123")));
    EXPECT_EQ(hex(value.asCharstring(TNcharstring{})), hex(ebcdic("123")));
    EXPECT_EQ(hex(value.asAlphaNumericGroup(TNclass{})), hex(ebcdic("123")));
    // Numeric-edited targets check the digits of every value.
    store(0x20000, ebcdic("1A"));
    StackItemCharstring loaded(rep(), nullptr, 0, alphanumeric(2));
    loaded.load(at(0x20000));
    EXPECT_EQ(raisedCode([&] { loaded.asNumericEdited(TNnumeric_edited{}); }), InvalidOp::RTRC_NonNumericCharsInString);
    EXPECT_EQ(raisedCode([&] { loaded.asNationalNumericEdited(TNnational_numeric_edited{}); }),
              InvalidOp::RTRC_NonNumericCharsInString);
    // Arithmetic stays refused.
    EXPECT_EQ(raisedCode([&] { value.genAdd(value); }), InvalidOp::RTRC_IncompatTypes);
}

// One case a row of the national conversion table: the text is an unsigned
// integer of one digit a character.
TEST_F(TextItemTest, NationalConversions)
{
    auto value = nationalText(utf16("0042"), national(8));
    EXPECT_EQ(static_cast<long long>(value.asNationalDecimal(TNnational_decimal{})), 42);
    EXPECT_EQ(static_cast<long long>(value.asZonedDecimal(TNzoned_decimal{})), 42);
    EXPECT_EQ(static_cast<long long>(value.asPackedDecimal(TNpacked_decimal{})), 42);
    EXPECT_EQ(static_cast<long long>(value.asFixedPointBinary(TNfixed_point_binary{})), 42);
    EXPECT_EQ(static_cast<long double>(value.asLongDouble()), 42.0L);
    EXPECT_EQ(hex(value.asCharstring(TNcharstring{})), hex(ebcdic("0042")));
    EXPECT_EQ(hex(value.asNationalString(TNnational_string{})), hex(utf16("0042")));

    auto letters = nationalText(utf16("4X"), national(4));
    EXPECT_EQ(raisedCode([&] { letters.asNumericEdited(TNnumeric_edited{}); }),
              InvalidOp::RTRC_NonNumericCharsInString);
    EXPECT_EQ(raisedCode([&] { letters.asNationalNumericEdited(TNnational_numeric_edited{}); }),
              InvalidOp::RTRC_NonNumericCharsInString);
}

// The national decimal descriptor's byte length is one byte: a text of more
// characters than a national decimal holds digits is refused, not read
// with a length that disagrees with its digits.
TEST_F(TextItemTest, LongNationalTextIsNoNumber)
{
    const std::string digits300 = utf16(std::string(150, '1'));
    auto value = nationalText(digits300, national(300));
    EXPECT_EQ(raisedCode([&] { value.asNationalDecimal(TNnational_decimal{}); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { value.asPackedDecimal(TNpacked_decimal{}); }), InvalidOp::RTRC_IncompatTypes);
}

// A national move of more than 32,767 characters goes to the host in
// pieces and loses nothing.
TEST_F(TextItemTest, LongNationalMoveConvertsEveryCharacter)
{
    const unsigned n = 40000;
    auto source = text(std::string(n, static_cast<char>(0xC1)), alphanumeric(n));
    StackItemNationalString target(rep(), nullptr, 0, national(2 * n));
    target.genConvert(source);
    const ByteString& value = target.value();
    ASSERT_EQ(value.length(), 2 * n);
    unsigned wrong = 0;
    for (unsigned i = 0; i < n; ++i)
        wrong += value[2 * i] != 0x00 || value[2 * i + 1] != 0x41;
    EXPECT_EQ(wrong, 0u);
    EXPECT_GE(host.callCount(HS_ExprEbcdicConvert), 2u);
}

class DbcsTextItemTest : public TextItemTest {
protected:
    void SetUp() override
    {
        host.setDefaultCodePage("939");
        TextItemTest::SetUp();
    }
};

// DBCS text goes to the host as mixed EBCDIC between shift-out and shift-in.
TEST_F(DbcsTextItemTest, DbcsToNationalSendsShiftedText)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows test host converts no DBCS page";
#endif
    auto value = dbcsText(bytes({0x42, 0xC1, 0x42, 0xC2}), dbcs(4));
    host.clearCalls();
    const ByteString converted = value.asNationalString(TNnational_string{});
    const auto calls = host.callsTo(HS_ExprEbcdicConvert);
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(calls.front().arguments.find("source=0E42C142C20F"), std::string::npos) << calls.front().arguments;
    EXPECT_NE(calls.front().arguments.find("codePage=939"), std::string::npos) << calls.front().arguments;
    // The two full-width letters, then national spaces where the shift
    // bytes stood.
    ASSERT_GE(converted.length(), 4u);
    EXPECT_EQ(hex(converted.data(), 4), "FF21FF22");

    EXPECT_EQ(raisedCode([&] { value.asCharstring(TNcharstring{}); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { value.asPackedDecimal(TNpacked_decimal{}); }), InvalidOp::RTRC_IncompatTypes);
}

// ---------------------------------------------------------------------------
// Figurative constants

TEST_F(TextItemTest, FigurativeConstantTakesTheOtherOperandsLength)
{
    // SPACE against AB and two spaces: four spaces, the item greater.
    auto space = constant(bytes({0x40}), alphanumeric(1));
    auto item = text(ebcdic("AB  "), alphanumeric(4));
    EXPECT_EQ(space.genLT(item), 1);
    EXPECT_EQ(order(space, item), -1);
    EXPECT_EQ(order(space, text(ebcdic("    "), alphanumeric(4))), 0);

    // A two-byte constant is padded, not repeated.
    auto ab = constant(ebcdic("AB"), alphanumeric(2));
    EXPECT_EQ(order(ab, text(ebcdic("AB   "), alphanumeric(5))), 0);
    EXPECT_EQ(order(ab, text(ebcdic("ABAB "), alphanumeric(5))), -1);

    // Against national and DBCS items.
    auto nspace = nationalText(utf16("  "), national(4));
    EXPECT_EQ(order(space, nspace), 0);
    auto high = constant(bytes({0xFF}), alphanumeric(1));
    EXPECT_EQ(order(high, dbcsText(bytes({0xFF, 0xFF, 0xFF, 0xFF}), dbcs(4))), 0);

    // A binary operand has no text comparison.
    StackItemS4 four(rep(), 4);
    EXPECT_EQ(raisedCode([&] { space.genEQ(four); }), InvalidOp::RTRC_Other);
}

// Each relation of the constant is the mirrored relation of the item.
TEST_F(TextItemTest, FigurativeConstantRelationsAreMirrored)
{
    auto zero = constant(ebcdic("0"), alphanumeric(1));
    struct Case {
        const char* item;
        int eq, ne, lt, le, gt, ge;
    } cases[] = {
        {"000", 1, 0, 0, 1, 0, 1},
        {"001", 0, 1, 1, 1, 0, 0},
        {"   ", 0, 1, 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        auto item = text(ebcdic(c.item), alphanumeric(3));
        EXPECT_EQ(zero.genEQ(item), c.eq);
        EXPECT_EQ(zero.genNE(item), c.ne);
        EXPECT_EQ(zero.genLT(item), c.lt);
        EXPECT_EQ(zero.genLE(item), c.le);
        EXPECT_EQ(zero.genGT(item), c.gt);
        EXPECT_EQ(zero.genGE(item), c.ge);
    }
}

TEST_F(TextItemTest, FigurativeConstantMoves)
{
    // HIGH-VALUE into national and DBCS is all FF, not a converted
    // character.
    auto high = constant(bytes({0xFF}), alphanumeric(1));
    StackItemNationalString n(rep(), nullptr, 0, national(6));
    n.genConvert(high);
    EXPECT_EQ(valueOf(n), "FFFFFFFFFFFF");
    StackItemDbcsString d(rep(), nullptr, 0, dbcs(4));
    d.genConvert(high);
    EXPECT_EQ(valueOf(d), "FFFFFFFF");

    // SPACE into national is national spaces; into DBCS, DBCS spaces; into
    // alphanumeric, repeated.
    auto space = constant(bytes({0x40}), alphanumeric(1));
    n.genConvert(space);
    EXPECT_EQ(valueOf(n), "002000200020");
    d.genConvert(space);
    EXPECT_EQ(valueOf(d), "40404040");
    StackItemCharstring a(rep(), nullptr, 0, alphanumeric(3));
    a.genConvert(constant(ebcdic("Q"), alphanumeric(1)));
    EXPECT_EQ(valueOf(a), hex(ebcdic("QQQ")));
    // A longer constant is used as it stands and padded by the target.
    StackItemCharstring b(rep(), nullptr, 0, alphanumeric(5));
    b.genConvert(constant(ebcdic("AB"), alphanumeric(2)));
    EXPECT_EQ(valueOf(b), hex(ebcdic("AB   ")));
}

// A move into a named constant cuts or pads the converted text by its own
// length: a national source's text is half its size.
TEST_F(TextItemTest, MoveIntoAConstantUsesTheConvertedLength)
{
    auto named = constant(ebcdic("WXYZ"), alphanumeric(4));
    named.genConvert(nationalText(utf16("AB"), national(4)));
    EXPECT_EQ(valueOf(named), hex(ebcdic("AB  ")));
    named.genConvert(text(ebcdic("ABCDEF"), alphanumeric(6)));
    EXPECT_EQ(valueOf(named), hex(ebcdic("ABCD")));
}

TEST_F(TextItemTest, FigurativeConstantNumbers)
{
    // ZERO for a packed 5,2 target: three F0 digits, value 0.
    auto zero = constant(ebcdic("0"), alphanumeric(1));
    TNpacked_decimal packed{};
    packed.precision = 5;
    packed.decimalPlaces = 2;
    const PackedDecimal p = zero.asPackedDecimal(packed);
    EXPECT_EQ(static_cast<long long>(p), 0);
    EXPECT_EQ(static_cast<long long>(zero.asZonedDecimal(TNzoned_decimal{})), 0);
    TNfixed_point_binary binary{};
    binary.precision = 4;
    EXPECT_EQ(static_cast<long long>(constant(ebcdic("7"), alphanumeric(1)).asFixedPointBinary(binary)), 7777);
    TNzoned_decimal zoned{};
    zoned.precision = 3;
    EXPECT_EQ(static_cast<long long>(constant(ebcdic("9"), alphanumeric(1)).asZonedDecimal(zoned)), 999);

    // NULL is the null address and no number; other constants are no
    // address.
    auto null = constant(bytes({0x00}), alphanumeric(1));
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(null.asUnsigned(), 0u);
    EXPECT_EQ(raisedCode([&] { null.asPackedDecimal(packed); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { zero.asUnsigned(); }), InvalidOp::RTRC_IncompatTypes);
    // A non-numeric constant is no number.
    auto marked = constant(ebcdic("0"), alphanumeric(1, nonNumeric));
    EXPECT_EQ(raisedCode([&] { marked.asPackedDecimal(packed); }), InvalidOp::RTRC_IncompatTypes);
}
