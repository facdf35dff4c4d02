// COBOL moves and group conditions against GnuCOBOL, through the entry
// points a host calls (build, validate, evaluate, DbgTestExpr), in programs
// of 32- and 64-bit addresses: data/cobol_moves.txt and its program file
// data/cobol_moves.prog, both made by gen/gen_cobol_moves.py (new rows go
// there). Each row starts from the program's initial storage; after a
// statement every byte of every item is compared, and the bytes between
// the items (none may change); a condition answers as the compiler does and
// changes nothing. Then the stores the library refuses: each writes nothing.

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testhost/LoadedEvaluator.h"
#include "testhost/ProgramFile.h"
#include "testhost/RoadEntries.h"
#include "testhost/TestHost.h"

namespace {

constexpr int languageCobol = 6;
constexpr UBYTE2 storesAValue = 1003;

std::string dataFile(const std::string& name)
{
    return std::string(NORVEXA_API_DATA) + "/" + name;
}

std::string hex(const std::vector<std::uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 0xF];
    }
    return s;
}

struct Row {
    char kind = 0;                                          // I, S or C
    std::string text;                                       // the statement or condition
    std::vector<std::pair<std::string, std::string>> items; // name, hex
    bool truth = false;
    int line = 0;
};

std::vector<Row> readTable()
{
    std::vector<Row> rows;
    std::ifstream in(dataFile("cobol_moves.txt"));
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        Row r;
        r.kind = fields.at(0).at(0);
        r.line = number;
        const std::string* items = nullptr;
        if (r.kind == 'I') {
            items = &fields.at(1);
        } else {
            r.text = fields.at(1);
            if (r.kind == 'S')
                items = &fields.at(2);
            else
                r.truth = fields.at(2) == "T";
        }
        if (items != nullptr) {
            std::stringstream words(*items);
            for (std::string word; words >> word;) {
                const std::size_t eq = word.find('=');
                r.items.emplace_back(word.substr(0, eq), word.substr(eq + 1));
            }
        }
        rows.push_back(r);
    }
    return rows;
}

class CobolMoveTable : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override
    {
        host = std::make_unique<TestHost>(false);
        ASSERT_EQ(evaluator.initialize(*host), 1);
        ProgramFile::Options options;
        options.bits = GetParam();
        program = ProgramFile::readFile(dataFile("cobol_moves.prog"), *host, options);
        const ProgramFile::Variable& first = program.variables().front();
        const ProgramFile::Variable* last = &first;
        for (const ProgramFile::Variable& v : program.variables())
            if (v.address + v.size > last->address + last->size)
                last = &v;
        from = first.address;
        initial = host->memory().bytes(from, static_cast<std::uint32_t>(last->address + last->size - from));
    }

    void TearDown() override { evaluator.terminate(); }

    void restore() { host->memory().store(from, initial); }
    std::vector<std::uint8_t> storage() const
    {
        return host->memory().bytes(from, static_cast<std::uint32_t>(initial.size()));
    }

    // Builds text; the representation, or null with a failure.
    ExpressionRepresentation* build(const std::string& text)
    {
        std::string t = text;
        ExpressionRepresentation* rep = nullptr;
        const UBYTE2 built =
            dbg.build(reinterpret_cast<unsigned char*>(t.data()), program.context(), languageCobol, 0, &rep);
        EXPECT_EQ(built, 0) << text;
        if (built != 0) {
            if (rep != nullptr)
                dbg.freeRep(rep);
            return nullptr;
        }
        return rep;
    }

    // Validates and evaluates text; the two statuses.
    std::pair<UBYTE2, UBYTE2> run(const std::string& text)
    {
        ExpressionRepresentation* rep = build(text);
        if (rep == nullptr)
            return {0xFFFF, 0xFFFF};
        StackItem* typeResult = nullptr;
        StackItem* result = nullptr;
        UBYTE1* name = nullptr;
        const UBYTE2 validated = dbg.validate(rep, program.context(), &typeResult);
        UBYTE2 evaluated = 0xFFFF;
        if (validated < 10000)
            evaluated = dbg.evaluate(rep, program.context(), &result, &name);
        if (dbg.freeResult != nullptr && result != nullptr)
            dbg.freeResult(result);
        if (dbg.freeTypeResult != nullptr && typeResult != nullptr)
            dbg.freeTypeResult(typeResult);
        dbg.freeRep(rep);
        return {validated, evaluated};
    }

    // The expected storage of a row: its items' bytes over the initial
    // storage, the bytes between items kept.
    std::vector<std::uint8_t> expected(const Row& r)
    {
        std::vector<std::uint8_t> bytes = initial;
        for (const auto& [name, text] : r.items) {
            const ProgramFile::Variable* v = program.find(name);
            EXPECT_NE(v, nullptr) << name;
            if (v == nullptr || text.size() != 2u * v->size) {
                ADD_FAILURE() << "line " << r.line << ": " << name << " has " << text.size() / 2 << " bytes";
                continue;
            }
            for (std::uint32_t i = 0; i < v->size; ++i)
                bytes[v->address - from + i] = static_cast<std::uint8_t>(std::stoi(text.substr(2 * i, 2), nullptr, 16));
        }
        return bytes;
    }

    // Each item whose bytes differ, as NAME: got > expected; and any other
    // byte that differs.
    std::string differences(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want)
    {
        std::string out;
        std::vector<bool> covered(got.size(), false);
        for (const ProgramFile::Variable& v : program.variables()) {
            if (!v.topLevel)
                continue;
            const std::size_t at = v.address - from;
            for (std::uint32_t i = 0; i < v.size; ++i)
                covered[at + i] = true;
            const std::vector<std::uint8_t> g(got.begin() + at, got.begin() + at + v.size);
            const std::vector<std::uint8_t> w(want.begin() + at, want.begin() + at + v.size);
            if (g != w)
                out += "\n  " + v.name + ": " + hex(g) + ", GnuCOBOL " + hex(w);
        }
        for (std::size_t i = 0; i < got.size(); ++i)
            if (!covered[i] && got[i] != want[i])
                out += "\n  byte between items at +" + std::to_string(i) + " changed";
        return out;
    }

    std::unique_ptr<TestHost> host;
    LoadedEvaluator evaluator{NORVEXA_LIBRARY_FILE};
    RoadEntries dbg{evaluator};
    ProgramFile program;
    std::uint64_t from = 0;
    std::vector<std::uint8_t> initial;
};

TEST_P(CobolMoveTable, StatementsAndConditionsAnswerAsGnuCobol)
{
    const std::vector<Row> rows = readTable();
    ASSERT_GT(rows.size(), 1u) << "no table at " << dataFile("cobol_moves.txt");
    ASSERT_EQ(rows.front().kind, 'I');
    EXPECT_EQ(differences(initial, expected(rows.front())), "") << "the program file's initial storage";
    for (const Row& r : rows) {
        if (r.kind == 'I')
            continue;
        SCOPED_TRACE("line " + std::to_string(r.line) + ": " + r.text);
        restore();
        if (r.kind == 'S') {
            const auto [validated, evaluated] = run(r.text);
            EXPECT_EQ(validated, storesAValue);
            EXPECT_EQ(evaluated, 0);
            EXPECT_EQ(differences(storage(), expected(r)), "");
        } else {
            ExpressionRepresentation* rep = build(r.text);
            if (rep == nullptr)
                continue;
            StackItem* typeResult = nullptr;
            EXPECT_EQ(dbg.validate(rep, program.context(), &typeResult), 0);
            if (dbg.test != nullptr) {
                EXPECT_EQ(dbg.test(rep, program.context()), r.truth ? 0 : 10000);
            }
            if (dbg.freeTypeResult != nullptr && typeResult != nullptr)
                dbg.freeTypeResult(typeResult);
            dbg.freeRep(rep);
            EXPECT_EQ(differences(storage(), initial), "");
        }
    }
}

// Stores the library refuses write nothing: the host is asked for no write,
// and no byte changes.
TEST_P(CobolMoveTable, RefusedStoresWriteNothing)
{
    const char* refused[] = {
        "MOVE 'QR' TO U(8:2)", // one byte past the member
        "MOVE 'ABC' TO S(7:)", // starts after the item
        "MOVE 'ABC' TO S(0:2)",
        "MOVE 'ABC' TO S(2:6)", // one byte past the item
        "MOVE 'ABC' TO NAME(3:0)", "MOVE 'ABC' TO NAME(9:1)",
        "MOVE 'AB' TO GS(4:2)", // past a subgroup, into the item after it
        "MOVE 1.5 TO GRP3",     // a number with fraction digits into a group
    };
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        restore();
        host->clearCalls();
        const auto [validated, evaluated] = run(text);
        EXPECT_TRUE(validated >= 10000 || evaluated >= 10000) << validated << " " << evaluated;
        EXPECT_EQ(host->callCount(HS_Expr2WriteMemory), 0u);
        EXPECT_EQ(differences(storage(), initial), "");
    }
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, CobolMoveTable, ::testing::Values(32u, 64u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "bits" + std::to_string(info.param);
                         });

} // namespace
