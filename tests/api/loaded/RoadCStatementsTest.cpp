// C statements and conditions a debugger user types, against what gcc
// computed for the same declarations (data/c_statements.txt, made by
// gen/gen_c_statements.py): every variable's big-endian image after each
// statement, from fresh initial values, in programs of 4- and 8-byte
// addresses; and the truth of conditions over float and double variables,
// sizeof, and literals met with unsigned operands.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RoadSuite.h"

namespace {

using L = RoadLanguage;
using Bytes = std::vector<UBYTE1>;

// The variables of the table in its order: built-in type (0: the address
// size decides), the other code for a 64-bit program, size (0: the address
// size). Plain char is unsigned on the target.
struct Variable {
    const char* name;
    UBYTE2 code;
    UBYTE2 wideCode;
    unsigned size;
};

const Variable kVariables[] = {
    {"c", 132, 132, 1},   {"sc", 128, 128, 1}, {"uc", 132, 132, 1}, {"s", 129, 129, 2},  {"us", 133, 133, 2},
    {"i", 130, 130, 4},   {"u", 134, 134, 4},  {"l", 130, 155, 0},  {"ul", 134, 156, 0}, {"ll", 155, 155, 8},
    {"ull", 156, 156, 8}, {"b", 144, 144, 1},  {"f", 136, 136, 4},  {"d", 137, 137, 8},  {"p", 0, 0, 0},
};
constexpr UBYTE8 kArray = 0x300;
const int kArrayValues[] = {10, -20, 30, -40, 50, -60, 70, -80};

UBYTE8 offsetOf(unsigned n)
{
    return 0x100 + 16 * n;
}

struct Row {
    char kind;
    unsigned bits;
    std::string text;
    std::vector<std::string> before, after;
    int truth = 0;
};

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

std::vector<Row> rows(unsigned bits)
{
    std::vector<Row> out;
    std::ifstream in(NORVEXA_API_DATA "/c_statements.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string f; std::getline(split, f, '\t');)
            fields.push_back(f);
        Row r;
        r.kind = fields.at(0)[0];
        r.bits = static_cast<unsigned>(std::stoul(fields.at(1)));
        r.text = fields.at(2);
        if (r.bits != bits)
            continue;
        if (r.kind == 'S') {
            r.before = words(fields.at(3));
            r.after = words(fields.at(4));
        } else {
            r.truth = std::stoi(fields.at(3));
        }
        out.push_back(r);
    }
    return out;
}

Bytes fromHex(const std::string& hex)
{
    Bytes out;
    for (std::size_t k = 0; k + 1 < hex.size(); k += 2)
        out.push_back(static_cast<UBYTE1>(std::stoul(hex.substr(k, 2), nullptr, 16)));
    return out;
}

// The image of a variable as the row spells it: hex bytes, or for the
// pointer its element index in arr.
Bytes imageOf(const Variable& v, const std::string& spelled, unsigned bits)
{
    if (v.code != 0)
        return fromHex(spelled);
    const UBYTE8 address = RoadProgram::data + kArray + 4 * static_cast<UBYTE8>(std::stoll(spelled));
    Bytes out;
    for (unsigned k = bits / 8; k-- > 0;)
        out.push_back(static_cast<UBYTE1>(address >> (8 * k)));
    return out;
}

const Row* current = nullptr;

// The table's variables at their offsets, holding the current row's
// initial images, and int arr[8].
void statementProgram(RoadProgram& p)
{
    const TYPE_INDEX i32{0, 130};
    p.variable("arr", p.records().arrayType(i32, 32), kArray);
    Bytes values;
    for (int v : kArrayValues)
        for (int k = 3; k >= 0; --k)
            values.push_back(static_cast<UBYTE1>(static_cast<std::uint32_t>(v) >> (8 * k)));
    p.poke(kArray, values);
    for (unsigned n = 0; n < std::size(kVariables); ++n) {
        const Variable& v = kVariables[n];
        const TYPE_INDEX type =
            v.code == 0 ? p.records().pointerType(i32, p.bits / 8) : TYPE_INDEX{0, p.bits == 64 ? v.wideCode : v.code};
        p.variable(v.name, type, offsetOf(n));
        p.poke(offsetOf(n), imageOf(v, current->before.at(n), p.bits));
    }
}

// double d = 0.1; float f = 0.1f, f3 = (float)1/3; int a = 3, b = 4;
// unsigned char c = 120, uc = 200; short s = -2; unsigned u = 4000000000;
// unsigned short us = 65000; long long ll = -1; unsigned long long ull =
// 0xFFFFFFFFFFFFFFFF.
void conditionProgram(RoadProgram& p)
{
    struct Value {
        const char* name;
        UBYTE2 code;
        Bytes image;
    };
    const Value values[] = {
        {"d", 137, {0x3F, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A}},
        {"f", 136, {0x3D, 0xCC, 0xCC, 0xCD}},
        {"f3", 136, {0x3E, 0xAA, 0xAA, 0xAB}},
        {"a", 130, {0, 0, 0, 3}},
        {"b", 130, {0, 0, 0, 4}},
        {"c", 132, {120}},
        {"uc", 132, {200}},
        {"s", 129, {0xFF, 0xFE}},
        {"u", 134, {0xEE, 0x6B, 0x28, 0x00}},
        {"us", 133, {0xFD, 0xE8}},
        {"ll", 155, Bytes(8, 0xFF)},
        {"ull", 156, Bytes(8, 0xFF)},
    };
    UBYTE8 offset = 0x100;
    for (const Value& v : values) {
        p.variable(v.name, TYPE_INDEX{0, v.code}, offset);
        p.poke(offset, v.image);
        offset += 16;
    }
}

} // namespace

TEST_P(RoadSuite, CStatementsStoreWhatGccStores)
{
    const std::vector<Row> table = rows(GetParam());
    unsigned checked = 0;
    for (const Row& row : table) {
        if (row.kind != 'S')
            continue;
        current = &row;
        const RoadOracle stores = [&row](RoadRun& r) {
            for (unsigned n = 0; n < std::size(kVariables); ++n) {
                const Variable& v = kVariables[n];
                const Bytes expected = imageOf(v, row.after.at(n), r.program.bits);
                EXPECT_EQ(r.program.peek(offsetOf(n), static_cast<unsigned>(expected.size())), expected)
                    << row.text << ": " << v.name;
            }
        };
        run({"a statement", L::c, statementProgram, row.text.c_str(), 1003, -1, nullptr, 0, nullptr, stores});
        ++checked;
    }
    EXPECT_GT(checked, 250u) << "the frozen table was not found";
}

TEST_P(RoadSuite, CConditionsAnswerWhatGccAnswers)
{
    const std::vector<Row> table = rows(GetParam());
    unsigned checked = 0;
    for (const Row& row : table) {
        if (row.kind != 'C')
            continue;
        const UBYTE2 answer = row.truth != 0 ? 0 : 10000;
        const RoadOracle answers = [answer](RoadRun& r) { r.expectCondition(answer); };
        run({"a condition", L::c, conditionProgram, row.text.c_str(), 0, -1, nullptr, RoadCase::noEvaluation, nullptr,
             answers});
        ++checked;
    }
    EXPECT_GT(checked, 40u) << "the frozen table was not found";
}
