#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/RuntimeStack.h"
#include "machine/StackItemCharstring.h"
#include "tree/UpdateFixture.h"

namespace {

constexpr int languageCOBOL = 6;

// COBOL nodes: the text evaluates to a literal (a number as packed decimal,
// text in quotes as an alphanumeric literal) that is moved into the node's
// item.
class CobolUpdateTest : public UpdateTest {
protected:
    CobolUpdateTest() : UpdateTest(languageCOBOL) {}

    void SetUp() override
    {
        UpdateTest::SetUp();
        road.value = [this](EvaluationEnvironment& e, const std::string& text) { return literal(e, text); };
    }

    StackItem* literal(EvaluationEnvironment& environment, const std::string& text)
    {
        if (text.size() >= 2 && text.front() == '"') {
            std::string ebcdic;
            for (char c : text.substr(1, text.size() - 2))
                ebcdic += toEbcdic(c);
            return new StackItemCharstring(environment, ebcdic.data(), ebcdic.size(),
                                           TypeItem(host.records().charstringType(static_cast<UBYTE4>(ebcdic.size()))));
        }
        RuntimeStack& s = environment.asExprRepresentation()->runtimeStack();
        s.genLoadPackedDecimalValue(text.c_str());
        return s.pop();
    }

    // Code page 1047 for the letters, digits and blank the tests use.
    static char toEbcdic(char c)
    {
        if (c >= 'A' && c <= 'I')
            return static_cast<char>(0xC1 + (c - 'A'));
        if (c >= 'J' && c <= 'R')
            return static_cast<char>(0xD1 + (c - 'J'));
        if (c >= 'S' && c <= 'Z')
            return static_cast<char>(0xE2 + (c - 'S'));
        if (c >= '0' && c <= '9')
            return static_cast<char>(0xF0 + (c - '0'));
        return static_cast<char>(0x40);
    }

    TYPE_INDEX kindType(const std::string& kind)
    {
        HostRecordStore& r = host.records();
        const auto scale2 = static_cast<signed char>(-2);
        if (kind == "P52")
            return r.packedDecimalType(5, scale2, true);
        if (kind == "PU3")
            return r.packedDecimalType(3, 0, false);
        if (kind == "Z3")
            return r.zonedDecimalType(5, scale2, true, TN_SignTrailingEmbedded);
        if (kind == "Z2")
            return r.zonedDecimalType(5, scale2, true, TN_SignLeadingEmbedded);
        if (kind == "Z5")
            return r.zonedDecimalType(5, scale2, true, TN_SignTrailingSeparate);
        if (kind == "Z4")
            return r.zonedDecimalType(5, scale2, true, TN_SignLeadingSeparate);
        if (kind == "ZU")
            return r.zonedDecimalType(3, 0, false, TN_SignNone);
        if (kind == "B4")
            return r.binaryType(2, 4, 0, true);
        if (kind == "B52")
            return r.binaryType(4, 5, scale2, true);
        if (kind == "BU")
            return r.binaryType(2, 4, 0, false);
        if (kind == "X6")
            return r.charstringType(6);
        if (kind == "XJ")
            return r.charstringType(6, TE_CHARSTRING, 0x40); // JUSTIFIED RIGHT
        TYPE_INDEX index{};
        if (kind == "AE") {
            _TYPE_ENTRY& entry = r.newType(TE_ALPHA_NUMERIC_EDITED, &index);
            entry.externalFloat.length = 5;
            entry.externalFloat.picture = r.text("XXBXX");
        } else if (kind == "NE") {
            _TYPE_ENTRY& entry = r.newType(TE_NUMERIC_EDITED, &index);
            entry.numericEdited.length = 7;
            entry.numericEdited.precision = 5;
            entry.numericEdited.scale = scale2;
            entry.numericEdited.picture = r.text("-ZZ9.99");
        } else {
            ADD_FAILURE() << "unknown kind " << kind;
        }
        return index;
    }
};

// The texts moved into packed, zoned (every sign kind), binary,
// alphanumeric, alphanumeric-edited and numeric-edited items give what
// GnuCOBOL's MOVE stores (the table of gen/gen_cobol_updates.py); a row that
// says it is refused keeps the item's bytes.
TEST_F(CobolUpdateTest, UpdatesMoveAsCobolDoes)
{
    const auto rows = table("cobol_updates.tsv");
    ASSERT_GT(rows.size(), 80u);
    std::uint64_t address = 0x10000;
    for (const auto& row : rows) {
        const std::vector<std::uint8_t> expected = fromHex(row[2]);
        host.memory().fill(address, expected.size() + 1, 0xEE);
        auto node = at(TypeItem(kindType(row[0])), address);
        const bool refused = row.size() > 3;
        EXPECT_EQ(update(*node, row[1]), refused ? 10000 : 0) << row[0] << " " << row[1];
        const std::vector<std::uint8_t> stored =
            refused ? std::vector<std::uint8_t>(expected.size() + 1, 0xEE) : fromHex(row[2] + "EE");
        EXPECT_EQ(memory(address, static_cast<std::uint32_t>(expected.size() + 1)), stored) << row[0] << " " << row[1];
        address += 0x20;
    }
    EXPECT_TRUE(road.balanced());
}

// A condition name takes TRUE in any case and is set by a SET statement; any
// other text is refused before anything is built.
TEST_F(CobolUpdateTest, ConditionNamesAreSetTrue)
{
    ExpressionRepresentation owner(languageCOBOL, reinterpret_cast<const unsigned char*>("IS-OPEN"));
    owner.makeCurrent(context);
    rep().makeCurrent(context);
    auto node = root(TypeItem(144u));
    road.validateStatus = 1001; // a SET statement stores
    road.value = [](EvaluationEnvironment& e, const std::string&) { return new StackItemU1(e, 1); };
    for (const char* text : {"TRUE", "true", " tRuE "}) {
        int deletions = 0;
        CountingItem item(owner, deletions, 0, TypeItem(144u));
        std::string t = text;
        host.clearCalls();
        EXPECT_EQ(node->update(context, 2, reinterpret_cast<unsigned char*>(t.data()), item), 0) << text;
        EXPECT_EQ(road.texts.back(), "SET IS-OPEN TO TRUE");
        EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 0u);
    }
    const int built = road.built;
    for (const char* text : {"FALSE", "TRUEX", "1", ""}) {
        int deletions = 0;
        CountingItem item(owner, deletions, 0, TypeItem(144u));
        std::string t = text;
        EXPECT_EQ(node->update(context, 2, reinterpret_cast<unsigned char*>(t.data()), item), 11040) << text;
    }
    EXPECT_EQ(road.built, built);
    EXPECT_TRUE(road.balanced());
    EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &rep());
}

// Outside COBOL the COBOL kinds cannot be written from text.
TEST_F(UpdateTest, CobolKindsOnlyInCobol)
{
    auto node = at(TypeItem(host.records().packedDecimalType(5, 0, true)), 0x2000);
    host.memory().fill(0x2000, 3, 0xEE);
    EXPECT_EQ(update(*node, "12"), 10002);
    EXPECT_EQ(memory(0x2000, 3), fromHex("EEEEEE"));
    EXPECT_TRUE(road.balanced());
}

} // namespace
