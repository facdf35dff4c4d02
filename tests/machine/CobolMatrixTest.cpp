// The COBOL MOVE and compare matrix: every source kind with a few values
// against every target kind, read from the frozen table of
// gen/gen_cobol_matrix.py (GnuCOBOL's MOVE results, Python's decimal for the
// compares, this system's own answers where its rules differ, with the
// reason in the last column).

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "EditedItemFixture.h"
#include "machine/StackItemFigConstant.h"
#include "services/InvalidOp.h"

namespace {

std::vector<std::uint8_t> fromHex(const std::string& hex)
{
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string toHex(const std::vector<std::uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

std::vector<std::vector<std::string>> tableRows(const std::string& tag)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/cobol_matrix.tsv");
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream s(line);
        std::string f;
        while (std::getline(s, f, '\t'))
            fields.push_back(f);
        if (!fields.empty() && fields[0] == tag)
            rows.push_back(fields);
    }
    return rows;
}

// Character-string record flag: JUSTIFIED RIGHT.
constexpr UBYTE4 justifiedRight = 0x40;
// Character-string record flag: the text takes no numeric conversion.
constexpr UBYTE4 nonNumeric = 0x20;

class CobolMatrixTest : public EditedItemFixture {
protected:
    // The host type of each kind the generator names.
    TYPE_INDEX kindType(const std::string& kind)
    {
        auto found = types_.find(kind);
        if (found != types_.end())
            return found->second;
        const auto scale2 = static_cast<signed char>(-2);
        TYPE_INDEX t{};
        if (kind == "X6")
            t = records().charstringType(6);
        else if (kind == "G6")
            t = groupType(6);
        else if (kind == "P52")
            t = records().packedDecimalType(5, scale2, true);
        else if (kind == "PU3")
            t = records().packedDecimalType(3, 0, false);
        else if (kind == "PP")
            t = records().packedDecimalType(3, 2, true);
        else if (kind == "Z3")
            t = records().zonedDecimalType(5, scale2, true, TN_SignTrailingEmbedded);
        else if (kind == "Z2")
            t = records().zonedDecimalType(5, scale2, true, TN_SignLeadingEmbedded);
        else if (kind == "Z5")
            t = records().zonedDecimalType(5, scale2, true, TN_SignTrailingSeparate);
        else if (kind == "Z4")
            t = records().zonedDecimalType(5, scale2, true, TN_SignLeadingSeparate);
        else if (kind == "ZU")
            t = records().zonedDecimalType(3, 0, false, TN_SignNone);
        else if (kind == "B4")
            t = records().binaryType(2, 4, 0, true);
        else if (kind == "B52")
            t = records().binaryType(4, 5, scale2, true);
        else if (kind == "NE")
            t = numericEditedType(TE_NUMERIC_EDITED, "-ZZ9.99", 7, 5, scale2);
        else if (kind == "AE")
            t = pictureType(TE_ALPHA_NUMERIC_EDITED, "XXBXX", 5);
        else if (kind == "EF")
            t = pictureType(TE_EXTERNAL_FLOAT, "+9(2).9(2)E+99", 10);
        else if (kind == "NEF")
            t = pictureType(TE_NATIONAL_EXTERNAL_FLOAT, "+9(2).9(2)E+99", 20);
        else if (kind == "XJ")
            t = records().charstringType(6, TE_CHARSTRING, justifiedRight);
        else if (kind == "XF")
            t = records().charstringType(6, TE_CHARSTRING, nonNumeric);
        else if (kind == "N6")
            t = records().charstringType(6, TE_NATIONAL_STRING);
        else if (kind == "FIG")
            t = records().charstringType(1);
        else if (kind == "ND")
            t = records().nationalDecimalType(5, scale2, true, TN_SignTrailingSeparate);
        else if (kind == "NNE")
            t = numericEditedType(TE_NATIONAL_NUMERIC_EDITED, "-ZZ9.99", 14, 5, scale2);
        else if (kind == "NED")
            t = pictureType(TE_NATIONAL_EDITED, "NNBNN", 10);
        else if (kind == "D4")
            t = records().charstringType(4, TE_DBCS_STRING);
        else if (kind == "DED")
            t = pictureType(TE_DBCS_EDITED, "G(2)", 4);
        else if (kind == "IN")
            t = records().indexNameType(4, 10);
        else if (kind == "ID")
            t = records().indexDataItemType(4);
        else if (kind == "SQL")
            records().newType(89, &t);
        else
            ADD_FAILURE() << "unknown kind " << kind;
        types_[kind] = t;
        return t;
    }

    // The type of a kind: COMP-1 and COMP-2 are the built-in hexadecimal
    // floating-point types.
    TypeItem typeOf(const std::string& kind)
    {
        if (kind == "C1")
            return TypeItem(196u);
        if (kind == "C2")
            return TypeItem(197u);
        return TypeItem(kindType(kind));
    }

    // The item of a kind holding the image; an SQL-type item ("-") has none.
    std::unique_ptr<StackItem> item(const std::string& kind, const std::string& image)
    {
        if (image == "-")
            return made(kindType(kind));
        if (kind == "FIG") {
            const std::vector<std::uint8_t> byte = fromHex(image);
            return std::make_unique<StackItemFigConstant>(rep(), reinterpret_cast<const char*>(byte.data()), 1,
                                                          TypeItem(kindType(kind)));
        }
        std::unique_ptr<StackItem> made(RuntimeStack::makeStackItem(typeOf(kind), nullptr));
        made->load(place(fromHex(image)));
        return made;
    }

private:
    std::map<std::string, TYPE_INDEX> types_;
};

TEST_F(CobolMatrixTest, MovesIntoEveryTarget)
{
    const auto rows = tableRows("MOVE");
    ASSERT_GT(rows.size(), 200u) << "cobol_matrix.tsv was not found or is cut short";
    for (const auto& row : rows) {
        ASSERT_GE(row.size(), 6u);
        const std::string label = row[1] + " " + row[2] + " -> " + row[3] + " (" + row[5] + ")";
        const auto source = item(row[1], row[2]);
        const auto target = std::unique_ptr<StackItem>(RuntimeStack::makeStackItem(typeOf(row[3]), nullptr));
        const std::vector<std::uint8_t> before = imageOf(*target);
        const int code = raisedCode([&] { target->genConvert(*source); });
        if (row[4].rfind("ERR:", 0) == 0) {
            EXPECT_EQ(code, std::stoi(row[4].substr(4))) << label;
            // A refused move leaves the earlier value.
            EXPECT_EQ(toHex(imageOf(*target)), toHex(before)) << label;
            continue;
        }
        ASSERT_EQ(code, 0) << label;
        // The value fills the target type exactly: a store never reads past it.
        EXPECT_EQ(target->size(), typeOf(row[3]).typeSize()) << label;
        ASSERT_NE(target->resultBuffer(), nullptr) << label;
        EXPECT_EQ(toHex(imageOf(*target)), row[4]) << label;
    }
}

TEST_F(CobolMatrixTest, ComparesEveryPair)
{
    const auto rows = tableRows("CMP");
    ASSERT_GT(rows.size(), 200u) << "cobol_matrix.tsv was not found or is cut short";
    for (const auto& row : rows) {
        ASSERT_GE(row.size(), 8u);
        const std::string label = row[1] + " " + row[2] + " ? " + row[3] + " " + row[4];
        const auto left = item(row[1], row[2]);
        const auto right = item(row[3], row[4]);
        if (row[5].rfind("ERR:", 0) == 0) {
            const int code = std::stoi(row[5].substr(4));
            EXPECT_EQ(raisedCode([&] { left->genEQ(*right); }), code) << label;
            EXPECT_EQ(raisedCode([&] { left->genLT(*right); }), code) << label;
            continue;
        }
        const int eq = std::stoi(row[5]);
        const int lt = std::stoi(row[6]);
        int got = -1;
        EXPECT_EQ(raisedCode([&] { got = left->genEQ(*right); }), 0) << label;
        EXPECT_EQ(got, eq) << label << " EQ";
        EXPECT_EQ(raisedCode([&] { got = left->genLT(*right); }), 0) << label;
        EXPECT_EQ(got, lt) << label << " LT";
        // NE and GE are the negations of EQ and LT.
        EXPECT_EQ(left->genNE(*right), eq ? 0 : 1) << label << " NE";
        EXPECT_EQ(left->genGE(*right), lt ? 0 : 1) << label << " GE";
    }
}

} // namespace
