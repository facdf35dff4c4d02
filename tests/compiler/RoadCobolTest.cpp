// Text to value in COBOL over a small program, in programs of 8- and 4-byte
// addresses: packed and zoned arithmetic stored into receiving items, a
// qualified group member, a table item with and without subscript, and
// GnuCOBOL's COMPUTE results (data/cobol_compute.txt,
// made by gen/gen_cobol_compute.py) stored by the replay.

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "FrozenTable.h"
#include "RoadFixture.h"
#include "testhost/DecimalImages.h"

namespace {

// The scaled integer of a decimal text with the given fraction digits
// ("-1.5", 2 gives "-150"); digits beyond them are cut.
std::string scaled(const std::string& text, unsigned fraction)
{
    const bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string part = point == std::string::npos ? "" : digits.substr(point + 1);
    part.resize(fraction, '0');
    std::string all = whole + part;
    while (all.size() > 1 && all[0] == '0')
        all.erase(0, 1);
    return (negative && all != "0" ? "-" : "") + all;
}

class RoadCobol : public RoadTest, public ::testing::WithParamInterface<unsigned> {
protected:
    RoadCobol() : RoadTest(EvaluationEnvironment::languageCOBOL) {}

    void SetUp() override
    {
        RoadTest::SetUp();
        useAddressSize(GetParam());
        host.addSection(1, kData, GetParam() * 8);
    }

    // A level-01 item of main at the next free place; answers its offset.
    std::uint64_t item(const std::string& name, TYPE_INDEX type, unsigned bytes)
    {
        _SYMBOL_ENTRY& e = records().staticVariable(name, type, 1, next);
        e.statics.attributeD = 1;
        host.declare(*mainContext, e);
        const std::uint64_t at = next;
        next += (bytes + 15) / 16 * 16;
        return at;
    }

    void poke(std::uint64_t offset, const std::vector<std::uint8_t>& bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            host.memory().storeBigEndian(kData + offset + i, bytes[i], 1);
    }

    std::vector<std::uint8_t> peek(std::uint64_t offset, unsigned n)
    {
        std::vector<std::uint8_t> out;
        for (unsigned i = 0; i < n; ++i)
            out.push_back(host.memory().bytes(kData + offset + i, 1)[0]);
        return out;
    }

    // The scaled integer a packed item holds.
    std::string packedAt(std::uint64_t offset, unsigned digits)
    {
        const std::vector<std::uint8_t> b = peek(offset, digits / 2 + 1);
        std::string text;
        for (std::size_t i = 0; i < b.size(); ++i) {
            text += static_cast<char>('0' + (b[i] >> 4));
            if (i + 1 < b.size())
                text += static_cast<char>('0' + (b[i] & 0xF));
        }
        while (text.size() > 1 && text[0] == '0')
            text.erase(0, 1);
        return ((b.back() & 0xF) == 0xD && text != "0" ? "-" : "") + text;
    }

    // Builds and replays text; false (with a failure) when the build fails.
    bool run(const std::string& text)
    {
        Build b;
        build(b, text);
        EXPECT_EQ(b.parseErrorKind, -1) << text << ": " << b.parseErrorText;
        if (b.parseErrorKind != -1)
            return false;
        replay(b);
        EXPECT_EQ(stack().count(), 1u) << text;
        stack().popAll();
        return true;
    }

    std::uint64_t next = 0x100;
};

TEST_P(RoadCobol, ArithmeticIsStoredIntoTheReceivingItem)
{
    const std::uint64_t a = item("A", records().packedDecimalType(5, -2, true), 3);
    const std::uint64_t b = item("B", records().zonedDecimalType(4, -1, true, TN_SignTrailingEmbedded), 4);
    const std::uint64_t x = item("X", records().packedDecimalType(9, -3, true), 5);
    poke(a, decimalimage::packed("12345", 5, true));                        // 123.45
    poke(b, decimalimage::zoned("-205", 4, true, TN_SignTrailingEmbedded)); // -20.5
    struct Case {
        const char* text;
        const char* stored; // X, scaled by 3
    };
    const Case cases[] = {
        {"COMPUTE X = A + B", "102950"}, {"COMPUTE X = A - B", "143950"},     {"COMPUTE X = A * B", "-2530725"},
        {"COMPUTE X = A / B", "-6021"}, // -6.021951..., cut
        {"COMPUTE X = - A", "-123450"},  {"COMPUTE X = A * 2 + 1", "247900"}, {"MOVE B TO X", "-20500"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(run(c.text));
        EXPECT_EQ(packedAt(x, 9), c.stored) << c.text;
    }
    EXPECT_EQ(packedAt(a, 5), "12345") << "an operand was written";

    // Arithmetic on digits is converted to its intermediate type at once.
    Build sum;
    build(sum, "A + B");
    ASSERT_EQ(sum.parseErrorKind, -1) << sum.parseErrorText;
    const auto code = EE_InstructionDecoder::decode(*sum.info.instructions);
    ASSERT_GE(code.size(), 3u);
    EXPECT_EQ(code[code.size() - 3].opcode, 2u) << EE_InstructionDecoder::listing(*sum.info.instructions);
    EXPECT_EQ(code[code.size() - 2].opcode, 44u) << EE_InstructionDecoder::listing(*sum.info.instructions);
    EXPECT_EQ(code[code.size() - 2].fields,
              (std::vector<std::uint64_t>{reinterpret_cast<std::uintptr_t>(sum.info.resultType)}));
}

TEST_P(RoadCobol, GroupMembersAndTableItems)
{
    // 01 GRP. 05 FLD PIC S9(3) COMP-3. 05 TAB PIC S9(3) COMP-3 OCCURS 3.
    const TYPE_INDEX digits3 = records().packedDecimalType(3, 0, true);
    const TYPE_INDEX table = records().arrayType(digits3, 6);
    HostRecordStore::ClassSpec g;
    g.name = "GRP";
    g.leaf = TE_GROUP;
    g.byteSize = 8;
    g.members = {{"FLD", digits3, 0}, {"TAB", table, 2}};
    const std::uint64_t grp = next;
    _SYMBOL_ENTRY& group = records().staticVariable("GRP", records().classType(g), 1, grp);
    group.statics.attributeD = 1;
    host.declare(*mainContext, group);
    for (const char* member : {"FLD", "TAB"}) {
        _SYMBOL_ENTRY& q = records().newSymbol(SE_QUALIFIED_NAME, member);
        q.qualified.parent = &group;
        host.declare(*mainContext, q);
    }
    next += 16;
    const std::uint64_t x = item("X", records().packedDecimalType(9, 0, true), 5);
    poke(grp, decimalimage::packed("7", 3, true));
    poke(grp + 2, decimalimage::packed("10", 3, true));
    poke(grp + 4, decimalimage::packed("20", 3, true));
    poke(grp + 6, decimalimage::packed("-30", 3, true));
    struct Case {
        const char* text;
        const char* stored;
    };
    const Case
        cases[] =
            {
                {"COMPUTE X = FLD OF GRP + 1", "8"}, {"COMPUTE X = FLD + 1", "8"},
                {"COMPUTE X = TAB(3) - FLD", "-37"}, {"COMPUTE X = TAB OF GRP(2) * 2", "40"},
                {"COMPUTE X = TAB + 1", "11"}, // a table item without subscript is its first element
                {"MOVE 5 TO TAB(2)", nullptr},       {"COMPUTE X = TAB(2)", "5"},
            };
    for (const Case& c : cases) {
        ASSERT_TRUE(run(c.text));
        if (c.stored != nullptr) {
            EXPECT_EQ(packedAt(x, 9), c.stored) << c.text;
        }
    }
    EXPECT_EQ(packedAt(grp + 4, 3), "5");

    // At the root a table item stands for the whole table: no implicit
    // subscript, and its result name shows one subscript.
    Build whole;
    build(whole, "TAB");
    ASSERT_EQ(whole.parseErrorKind, -1) << whole.parseErrorText;
    ASSERT_NE(whole.info.rootSymbol, nullptr);
    EXPECT_STREQ(whole.info.rootSymbol->name(), "TAB");
    EXPECT_EQ(whole.info.subscriptCount, 1u);
    replay(whole);
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_TRUE(stack().top()->type().hasFlag(TypeFlags::array));
    EXPECT_EQ(stack().top()->type().typeSize(), 6u);
    stack().popAll();
    Build element;
    build(element, "TAB(2)");
    ASSERT_EQ(element.parseErrorKind, -1) << element.parseErrorText;
    EXPECT_EQ(element.info.subscriptCount, 1u);
    Build field;
    build(field, "FLD OF GRP");
    ASSERT_EQ(field.parseErrorKind, -1) << field.parseErrorText;
    EXPECT_STREQ(field.info.rootSymbol->name(), "FLD");
    EXPECT_EQ(field.info.subscriptCount, 0u);
}

// Reference modification reads and receives a part of an item.
TEST_P(RoadCobol, ReferenceModifiedItems)
{
    const std::uint64_t s = item("S", records().charstringType(6), 6);
    const std::uint64_t t = item("T", records().charstringType(3), 3);
    const std::vector<std::uint8_t> abcdef = {0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6};
    poke(s, abcdef);
    ASSERT_TRUE(run("MOVE S(2:3) TO T"));
    EXPECT_EQ(peek(t, 3), (std::vector<std::uint8_t>{0xC2, 0xC3, 0xC4}));
    ASSERT_TRUE(run("MOVE 'XY' TO S(3:2)"));
    EXPECT_EQ(peek(s, 6), (std::vector<std::uint8_t>{0xC1, 0xC2, 0xE7, 0xE8, 0xC5, 0xC6}));
}

TEST_P(RoadCobol, ComputeStoresWhatGnuCobolStores)
{
    struct Description {
        std::string usage;
        unsigned digits, fraction, isSigned;
        bool operator<(const Description& o) const
        {
            return std::tie(usage, digits, fraction, isSigned) < std::tie(o.usage, o.digits, o.fraction, o.isSigned);
        }
    };
    struct Row {
        Description a, b;
        std::string op, va, vb, result, note;
    };
    std::vector<Row> rows;
    for (const std::string& line : frozenRows("cobol_compute.txt")) {
        std::istringstream f(line);
        Row r;
        f >> r.a.usage >> r.a.digits >> r.a.fraction >> r.a.isSigned >> r.b.usage >> r.b.digits >> r.b.fraction >>
            r.b.isSigned >> r.op >> r.va >> r.vb >> r.result >> r.note;
        rows.push_back(r);
    }
    ASSERT_GT(rows.size(), 1000u);

    // One pair of items per description, named A<n> and B<n>.
    std::map<Description, std::pair<std::string, std::uint64_t>> itemsA, itemsB;
    auto bytesOf = [](const Description& d) {
        if (d.usage == "COMP-3")
            return d.digits / 2 + 1;
        if (d.usage == "COMP")
            return d.digits <= 4 ? 2u : d.digits <= 9 ? 4u : 8u;
        return d.digits;
    };
    auto typeOf = [&](const Description& d) {
        const signed char scale = static_cast<signed char>(-static_cast<int>(d.fraction));
        const auto digits = static_cast<UBYTE1>(d.digits);
        if (d.usage == "COMP-3")
            return records().packedDecimalType(digits, scale, d.isSigned != 0);
        if (d.usage == "COMP")
            return records().binaryType(static_cast<UBYTE1>(bytesOf(d)), digits, scale, d.isSigned != 0);
        return records().zonedDecimalType(digits, scale, d.isSigned != 0, TN_SignTrailingEmbedded);
    };
    auto image = [&](const Description& d, const std::string& value) {
        const std::string s = scaled(value, d.fraction);
        if (d.usage == "COMP-3")
            return decimalimage::packed(s, d.digits, d.isSigned != 0);
        if (d.usage == "COMP")
            return decimalimage::binary(std::stoll(s), bytesOf(d));
        return decimalimage::zoned(s, d.digits, d.isSigned != 0, TN_SignTrailingEmbedded);
    };
    for (const Row& r : rows) {
        for (auto [items, d, prefix] : {std::tuple{&itemsA, r.a, "A"}, std::tuple{&itemsB, r.b, "B"}}) {
            if (items->count(d) == 0) {
                const std::string name = prefix + std::to_string(items->size());
                (*items)[d] = {name, item(name, typeOf(d), bytesOf(d))};
            }
        }
    }
    const std::uint64_t receiver = item("R", records().packedDecimalType(24, -6, true), 13);

    unsigned checked = 0;
    for (const Row& r : rows) {
        if (r.note == "limit")
            continue;
        const auto& [nameA, atA] = itemsA.at(r.a);
        const auto& [nameB, atB] = itemsB.at(r.b);
        poke(atA, image(r.a, r.va));
        poke(atB, image(r.b, r.vb));
        const std::string text = "COMPUTE R = " + nameA + " " + r.op + " " + nameB;
        SCOPED_TRACE(text + " with " + r.va + ", " + r.vb);
        ASSERT_TRUE(run(text));
        EXPECT_EQ(packedAt(receiver, 24), scaled(r.result, 6));
        ++checked;
    }
    EXPECT_GT(checked, 1000u);
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadCobol, ::testing::Values(8u, 4u),
                         [](const auto& info) { return std::to_string(info.param) + "byte"; });

} // namespace
