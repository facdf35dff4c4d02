#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/RuntimeStack.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "testhost/inprocess/MachineFixture.h"

// Every integer operation, for every pair of kinds, at the edges of each
// width, against the frozen table of tests/machine/data/integer_oracle.tsv
// (expected bytes from a gcc-compiled program applying the left-typed rule;
// rows C leaves undefined are the rule's own and marked RULE). Each row runs
// through the value stack: the operands are loaded from their big-endian
// images, the stack's operation is called, and the item left on top is
// compared with the table.

namespace {

class IntegerOracleTest : public MachineFixture {};

struct Row {
    std::string leftKind, rightKind, op, leftHex, rightHex, resultKind, resultHex, source;
    unsigned line = 0;
};

std::vector<Row> readTable()
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/integer_oracle.tsv");
    std::vector<Row> rows;
    std::string text;
    unsigned line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (line == 1 || text.empty() || text[0] == '#')
            continue;
        std::istringstream fields(text);
        Row r;
        std::getline(fields, r.leftKind, '\t');
        std::getline(fields, r.rightKind, '\t');
        std::getline(fields, r.op, '\t');
        std::getline(fields, r.leftHex, '\t');
        std::getline(fields, r.rightHex, '\t');
        std::getline(fields, r.resultKind, '\t');
        std::getline(fields, r.resultHex, '\t');
        std::getline(fields, r.source, '\t');
        r.line = line;
        rows.push_back(r);
    }
    return rows;
}

struct Kind {
    unsigned builtin;
    unsigned size;
};

const std::map<std::string, Kind> kinds = {
    {"S1", {128, 1}}, {"U1", {132, 1}}, {"S2", {129, 2}}, {"U2", {133, 2}},
    {"S4", {130, 4}}, {"U4", {134, 4}}, {"S8", {155, 8}}, {"U8", {156, 8}},
};

std::vector<unsigned char> parseHex(const std::string& hex)
{
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string hexOf(const StackItem& item)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto* b = static_cast<const unsigned char*>(item.resultBuffer());
    std::string hex;
    for (std::uint64_t i = 0; i < item.size(); ++i) {
        hex += digits[b[i] >> 4];
        hex += digits[b[i] & 15];
    }
    return hex;
}

// An item of a kind (made by the factory) loaded from its image.
StackItem* itemOf(const std::string& kind, const std::string& hex)
{
    std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(TypeItem(kinds.at(kind).builtin), nullptr));
    std::vector<unsigned char> image = parseHex(hex);
    DebuggeeLocation buffer;
    buffer = static_cast<void*>(image.data());
    item->load(buffer);
    return item.release();
}

const std::map<std::string, std::function<void(RuntimeStack&)>> operations = {
    {"add", [](RuntimeStack& s) { s.genAdd(); }},
    {"sub", [](RuntimeStack& s) { s.genSubtract(); }},
    {"mul", [](RuntimeStack& s) { s.genMult(); }},
    {"div", [](RuntimeStack& s) { s.genDivide(); }},
    {"rem", [](RuntimeStack& s) { s.genModulus(); }},
    {"and", [](RuntimeStack& s) { s.genBitAnd(); }},
    {"or", [](RuntimeStack& s) { s.genBitOr(); }},
    {"xor", [](RuntimeStack& s) { s.genBitXor(); }},
    {"lsl", [](RuntimeStack& s) { s.genLogicalShiftLeft(); }},
    {"lsr", [](RuntimeStack& s) { s.genLogicalShiftRight(); }},
    {"asr", [](RuntimeStack& s) { s.genArithmeticShiftRight(); }},
    {"eq", [](RuntimeStack& s) { s.genEQ(); }},
    {"ne", [](RuntimeStack& s) { s.genNE(); }},
    {"lt", [](RuntimeStack& s) { s.genLT(); }},
    {"le", [](RuntimeStack& s) { s.genLE(); }},
    {"gt", [](RuntimeStack& s) { s.genGT(); }},
    {"ge", [](RuntimeStack& s) { s.genGE(); }},
};

} // namespace

TEST_F(IntegerOracleTest, EveryKindPairAndOperation)
{
    const std::vector<Row> rows = readTable();
    ASSERT_GT(rows.size(), 20000u) << "the table integer_oracle.tsv was not found or is cut short";

    std::map<std::string, unsigned> seen;
    unsigned failures = 0;
    for (const Row& r : rows) {
        std::string got;
        std::string gotKind;
        stack().push(itemOf(r.leftKind, r.leftHex));
        try {
            if (r.op == "cvt") {
                stack().genConvert(TypeItem(kinds.at(r.rightKind).builtin));
            } else {
                stack().push(itemOf(r.rightKind, r.rightHex));
                operations.at(r.op)(stack());
            }
            const StackItem& top = *stack().top();
            got = hexOf(top);
            const unsigned index = top.type().typeIndex().index();
            gotKind = index == 144 ? "B1" : "?";
            for (const auto& [name, kind] : kinds)
                if (kind.builtin == index)
                    gotKind = name;
        } catch (const InvalidOp& e) {
            // The left operand keeps its value.
            got = "ERR:" + std::to_string(e.code());
            gotKind = r.leftKind;
            if (stack().count() != 1 || hexOf(*stack().top()) != r.leftHex)
                got += " (left changed)";
        }
        stack().popAll();
        ++seen[r.op];
        if (got != r.resultHex || gotKind != r.resultKind) {
            if (++failures <= 20)
                ADD_FAILURE() << "line " << r.line << ": " << r.leftKind << " " << r.leftHex << " " << r.op << " "
                              << r.rightKind << " " << r.rightHex << " (" << r.source << ") gives " << gotKind << " "
                              << got << ", table " << r.resultKind << " " << r.resultHex;
        }
    }
    EXPECT_EQ(failures, 0u);
    EXPECT_EQ(seen.size(), operations.size() + 1); // every operation and cvt
}
