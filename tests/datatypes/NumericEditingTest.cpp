// The numeric-edited picture machinery: picture counts and expansion, the
// sign and currency form of a picture, and the editing engine checked
// against GnuCOBOL's MOVE to numeric-edited items (frozen table).

#include "EditedFixture.h"

#include "datatypes/NumericEdited.h"
#include "datatypes/ZonedDecimal.h"

using namespace editedtest;

namespace {

TNnumeric_edited record(const char* picture, unsigned length, int precision, int scale)
{
    return numericPictureRecord<TNnumeric_edited>(TE_NUMERIC_EDITED, picture, length, precision, scale);
}

// The working item of an edit for a decimal literal: a sign byte and the
// digits of powers scale .. scale+precision-1 (higher and lower digits are
// cut off, as a MOVE does; a value that becomes zero is positive).
ByteString working(const std::string& literal, int precision, int scale)
{
    std::string v = literal;
    bool negative = false;
    if (!v.empty() && (v[0] == '-' || v[0] == '+')) {
        negative = v[0] == '-';
        v = v.substr(1);
    }
    const size_t point = v.find('.');
    const std::string integer = point == std::string::npos ? v : v.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : v.substr(point + 1);
    auto digitAt = [&](int power) -> char {
        if (power >= 0)
            return power < static_cast<int>(integer.size()) ? integer[integer.size() - 1 - power] : '0';
        const int k = -power - 1;
        return k < static_cast<int>(fraction.size()) ? fraction[k] : '0';
    };
    std::string digits;
    for (int j = precision - 1; j >= 0; --j)
        digits += digitAt(scale + j);
    if (digits.find_first_not_of('0') == std::string::npos)
        negative = false;
    ByteString b;
    b += static_cast<unsigned char>(negative ? 0x60 : 0x4E);
    for (char c : digits)
        b += static_cast<unsigned char>(0xF0 + (c - '0'));
    return b;
}

// An item of the picture holding length bytes of the prefill 0x30.
NumericEdited blankItem(const TNnumeric_edited& r)
{
    ByteString text(ByteString(), 0, r.length, 0x30);
    return NumericEdited(r, text);
}

ByteString editDirect(const TNnumeric_edited& r, const ByteString& source, int editKind = 0, bool allSuppress = false)
{
    NumericEdited item = blankItem(r);
    PICSTRUC2 info;
    item.getNumEditPicInfo(info);
    if (editKind != 0)
        info.editKind = static_cast<unsigned char>(editKind);
    if (allSuppress)
        info.count = static_cast<short>(-info.count);
    item.moveNumToNumEdit(info, reinterpret_cast<const char*>(source.data()), source.length());
    return item.bytes();
}

struct CobolCase {
    std::string picture;
    int precision;
    int scale;
    unsigned length;
    std::string mode;
    std::string value;
    std::string expected;
};

std::vector<CobolCase> cobolCases()
{
    std::vector<CobolCase> cases;
    std::ifstream in(dataPath("numeric_edited_cobol.txt"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream s(line);
        CobolCase c;
        s >> c.picture >> c.precision >> c.scale >> c.length >> c.mode >> c.value >> c.expected;
        cases.push_back(c);
    }
    return cases;
}

} // namespace

TEST(NumericEditingTest, PictureCountsAndExpansion)
{
    NumericEdited item;
    struct {
        const char* text;
        int count;
        int cursorAt;
    } counts[] = {
        {"9(3)V99", 3, 3}, {"Z(12)", 12, 4}, {"ZZ", 0, 0}, {"9()", 0, 2}, {"9(0)9", 0, 3}, {"9(12", 12, 3},
    };
    for (const auto& c : counts) {
        char* cursor = const_cast<char*>(c.text);
        EXPECT_EQ(item.getPicCount(&cursor), c.count) << c.text;
        EXPECT_EQ(cursor - c.text, c.cursorAt) << c.text;
    }

    struct {
        const char* picture;
        const char* expanded;
    } expansions[] = {
        {"9(3)V99", "999V99"}, {"$(3)9.9(2)", "$$$9.99"}, {"+(4)", "++++"}, {"Z(2)B(2)0(2)/", "ZZBB00/"},
        {"*(0)9", "*9"},       {"X(3)P(2)", "X(3)P(2)"},  {"-()9", "-9"},   {"ZZ9.99CR", "ZZ9.99CR"},
    };
    for (const auto& e : expansions) {
        NumericEdited p(record(e.picture, 10, 1, 0), nullptr);
        char out[PICSTRUC2::capacity];
        const int n = p.expandNumEditPic(out);
        EXPECT_EQ(std::string(out, static_cast<size_t>(n)), e.expanded) << e.picture;
    }
}

TEST(NumericEditingTest, SignAndCurrencyForms)
{
    struct {
        const char* picture;
        int kind;
    } cases[] = {
        {"ZZZ9", 1},     {"+ZZ9", 2},     {"ZZ9+", 2},        {"-ZZ9", 3},      {"9(5)-", 3},      {"ZZ9.99CR", 4},
        {"ZZ9.99cr", 4}, {"ZZ9.99DB", 5}, {"ZZ9.99db", 5},    {"+++9", 6},      {"+(4)9", 6},      {"+(1)9", 2},
        {"---9", 7},     {"-(3)9", 7},    {"$$,$$9.99+", 10}, {"$ZZ9.99-", 11}, {"$ZZ9.99CR", 11}, {"$ZZ9.99db", 11},
        {"$$$9.99", 12}, {"+$$$9", 2},    {"-9+", 3},         {"ZZ9.99CR-", 4},
    };
    for (const auto& c : cases) {
        NumericEdited item(record(c.picture, 10, 4, 0), nullptr);
        PICSTRUC2 info;
        item.getNumEditPicInfo(info);
        EXPECT_EQ(info.editKind, c.kind) << c.picture;
        EXPECT_EQ(info.decimalPoint, '.');
        EXPECT_EQ(static_cast<unsigned char>(info.currency), 0x5B);
    }
}

// Every MOVE of the frozen table: the engine fed the working item directly,
// and the whole edit from a zoned literal. BLANK WHEN ZERO and pictures
// whose digit positions all suppress use the engine's two extra forms.
TEST_F(EditedTest, EngineMatchesCobolMoves)
{
    const std::vector<CobolCase> cases = cobolCases();
    ASSERT_GT(cases.size(), 500u);
    for (const CobolCase& c : cases) {
        const TNnumeric_edited r = record(c.picture.c_str(), c.length, c.precision, c.scale);
        const ByteString source = working(c.value, c.precision, c.scale);
        int kind = 0;
        if (c.mode == "bwz") {
            NumericEdited probe(r, nullptr);
            PICSTRUC2 info;
            probe.getNumEditPicInfo(info);
            kind = static_cast<unsigned char>(-info.editKind);
        }
        const ByteString got = editDirect(r, source, kind, c.mode == "allz");
        EXPECT_EQ(hex(got), c.expected) << c.picture << " " << c.mode << " " << c.value;
        if (c.mode != "move")
            continue;
        const ZonedDecimal literal(c.value.c_str());
        const NumericEdited edited(literal, r);
        EXPECT_EQ(hex(edited.bytes()), c.expected) << "through zoned: " << c.picture << " " << c.value;
    }
}

TEST_F(EditedTest, EngineFormsCobolDoesNotShare)
{
    struct {
        const char* picture;
        int precision;
        int scale;
        const char* value;
        const char* expected;
    } cases[] = {
        // A single '$' before suppression symbols floats to the first digit.
        {"$ZZ9.99", 5, -2, "3.45", "  $3.45"},
        {"$ZZ9.99", 5, -2, "123.45", "$123.45"},
        // A '+' before '$' symbols fixes them: each writes '$', no digit.
        {"+$$$9", 1, 0, "7", "+$$$7"},
        // Asterisk fill does not reach a B.
        {"**B**9", 5, 0, "5", "** **5"},
        // The V writes nothing.
        {"9(3)V99", 5, -2, "123.45", "12345"},
        // Lower-case z is no engine symbol: it takes two places and
        // writes two spaces (the sign of kind 1 is a space).
        {"zZ9", 1, 0, "-5", "  5"},
        // A '0' inside a run of suppressed positions is suppressed too.
        {"ZZ0ZZ9", 5, 0, "5", "     5"},
        {"**0**9", 5, 0, "5", "*****5"},
        {"ZZ0ZZ9", 5, 0, "12345", "120345"},
    };
    for (const auto& c : cases) {
        const ByteString expected = ebcdic(c.expected);
        const TNnumeric_edited r = record(c.picture, expected.length(), c.precision, c.scale);
        EXPECT_EQ(hex(editDirect(r, working(c.value, c.precision, c.scale))), hex(expected)) << c.picture;
    }
}

TEST_F(EditedTest, EditStaysInsideTheItem)
{
    // A picture wider than the item: only the item's bytes are written.
    const TNnumeric_edited narrow = record("ZZZ9.99", 3, 6, -2);
    EXPECT_EQ(hex(editDirect(narrow, working("1234.5", 6, -2))), hex(ebcdic("123")));

    // A floating symbol due before the first byte has no place.
    const TNnumeric_edited first = record("Z9$$", 4, 4, 0);
    EXPECT_EQ(hex(editDirect(first, working("1234", 4, 0))), hex(ebcdic("1234")));

    // A picture narrower than the item leaves the prefill after it.
    const TNnumeric_edited wide = record("ZZ9", 5, 3, 0);
    EXPECT_EQ(hex(editDirect(wide, working("42", 3, 0))), "40F4F23030");

    // Digit positions beyond the working item's digits read as zeros.
    const TNnumeric_edited more = record("9(6)", 6, 6, 0);
    const ByteString shortSource = bytes({0x4E, 0xF1, 0xF2});
    EXPECT_EQ(hex(editDirect(more, shortSource)), "F1F2F0F0F0F0");

    // A picture over the expansion's capacity is refused.
    NumericEdited huge(record("Z(9999)", 10, 4, 0), nullptr);
    PICSTRUC2 info;
    EXPECT_EQ(errorCode([&] { huge.getNumEditPicInfo(info); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(errorCode([&] { NumericEdited(record("Z(200)Z(200)", 400, 20, 0), 1.0L); }), InvalidOp::RTRC_Other);
}
