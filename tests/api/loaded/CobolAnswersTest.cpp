// COBOL conditions and statements through the entry points, over a program
// file of one record, answer what GnuCOBOL answers: each row of the frozen
// table (data/cobol_answers.txt, made by gen/gen_cobol_answers.py) is a
// condition tested with DbgTestExpr or a statement evaluated, after which
// every byte of the record is compared with the compiler's. And the COBOL
// forms the grammar does not take are refused when the expression is built,
// with a syntax error that says the form is not supported, before anything
// is written.

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

constexpr UBYTE4 cobolLanguage = 6;
const UBYTE1* const locale = reinterpret_cast<const UBYTE1*>("en_US");

struct Row {
    std::string kind; // cond or stmt
    std::string fault;
    std::string text;
    std::string answer; // T or F; the record's bytes in hexadecimal
    std::string preset; // "offset:hex" put into the record first, or empty
};

struct Table {
    std::string program = "language cobol\n";
    std::vector<Row> rows;
};

Table readTable()
{
    Table t;
    std::ifstream in(NORVEXA_API_DATA "/cobol_answers.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("program ", 0) == 0) {
            t.program += "       " + line.substr(8) + "\n";
            continue;
        }
        Row r;
        std::istringstream fields(line);
        std::getline(fields, r.kind, '|');
        std::getline(fields, r.fault, '|');
        std::getline(fields, r.text, '|');
        std::getline(fields, r.answer, '|');
        std::getline(fields, r.preset, '|');
        t.rows.push_back(r);
    }
    return t;
}

std::string hex(const std::vector<UBYTE1>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (UBYTE1 b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 0x0F];
    }
    return s;
}

class CobolAnswersTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (host != nullptr)
            evaluator.terminate();
    }

    // A fresh host holding the program, initialised into the library.
    void fresh(const std::string& programText)
    {
        if (host != nullptr)
            evaluator.terminate();
        host = std::make_unique<TestHost>(false);
        ASSERT_EQ(evaluator.initialize(*host), 1);
        program = ProgramFile::read(programText, *host, {});
        host->clearCalls();
    }

    // Builds and validates text; the representation is released by done().
    void validate(const std::string& text)
    {
        std::string buffer = text;
        ASSERT_EQ(dbg.build(reinterpret_cast<unsigned char*>(buffer.data()), program.context(), cobolLanguage, 0, &rep),
                  0);
        validated = dbg.validate(rep, program.context(), &typeResult);
    }

    void done()
    {
        dbg.freeResult(result);
        dbg.freeTypeResult(typeResult);
        dbg.freeRep(rep);
        rep = nullptr;
        result = typeResult = nullptr;
    }

    std::string errorText() const
    {
        const UBYTE1* text = dbg.errorText(rep, locale);
        return text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
    }

    // Puts "offset:hex" into the record (a value no VALUE clause gives).
    void preset(const std::string& where)
    {
        if (where.empty())
            return;
        const ProgramFile::Variable* record = program.find("REC");
        ASSERT_NE(record, nullptr);
        const std::size_t colon = where.find(':');
        std::vector<UBYTE1> bytes;
        for (std::size_t i = colon + 1; i + 1 < where.size(); i += 2)
            bytes.push_back(static_cast<UBYTE1>(std::stoi(where.substr(i, 2), nullptr, 16)));
        host->memory().write(record->address + std::stoull(where.substr(0, colon)),
                             static_cast<std::uint32_t>(bytes.size()), bytes.data());
    }

    std::string recordBytes()
    {
        const ProgramFile::Variable* record = program.find("REC");
        return record == nullptr ? "<no REC>" : hex(host->memory().bytes(record->address, record->size));
    }

    LoadedEvaluator evaluator{NORVEXA_LIBRARY_FILE};
    RoadEntries dbg{evaluator};
    std::unique_ptr<TestHost> host;
    ProgramFile program;
    ExpressionRepresentation* rep = nullptr;
    StackItem* typeResult = nullptr;
    StackItem* result = nullptr;
    UBYTE2 validated = 0;
};

TEST_F(CobolAnswersTest, ConditionsAndStatementsAgreeWithGnuCobol)
{
    if (dbg.test == nullptr || dbg.errorText == nullptr)
        GTEST_SKIP() << "the entry table holds no DbgTestExpr or error text (reached by name only)";
    const Table table = readTable();
    ASSERT_GT(table.rows.size(), 40u) << "the table " << NORVEXA_API_DATA "/cobol_answers.txt"
                                      << " is missing or short";
    for (const Row& r : table.rows) {
        SCOPED_TRACE("fault " + r.fault + ": " + r.text);
        fresh(table.program);
        preset(r.preset);
        validate(r.text);
        if (r.kind == "cond") {
            EXPECT_EQ(validated, 0) << errorText();
            UBYTE1* name = nullptr;
            EXPECT_EQ(dbg.evaluate(rep, program.context(), &result, &name), 0) << errorText();
            // 0 true, 10000 false.
            EXPECT_EQ(dbg.test(rep, program.context()), r.answer == "T" ? 0 : 10000);
        } else {
            EXPECT_EQ(validated, 1003) << errorText();
            UBYTE1* name = nullptr;
            EXPECT_EQ(dbg.evaluate(rep, program.context(), &result, &name), 0) << errorText();
            EXPECT_EQ(recordBytes(), r.answer);
        }
        done();
    }
}

TEST_F(CobolAnswersTest, FormsTheGrammarLacksAreRefusedAsNotSupported)
{
    if (dbg.test == nullptr || dbg.errorText == nullptr)
        GTEST_SKIP() << "the entry table holds no DbgTestExpr or error text (reached by name only)";
    const Table table = readTable();
    struct Case {
        const char* text;
        const char* says; // the end of the syntax error's position text
    } cases[] = {
        // 10: abbreviated combined relations, which answered 10000 at
        // evaluation (a breakpoint on them never fired).
        {"A = 5 OR 6",
         "6 (no condition: abbreviated combined relations are not supported, write each relation in full)"},
        {"A NOT = 5 AND 7",
         "7 (no condition: abbreviated combined relations are not supported, write each relation in full)"},
        {"A = 5 OR > 6", "> 6 (abbreviated combined relations are not supported)"},
        {"A = 5 AND NOT = 6", "NOT = 6 (abbreviated combined relations are not supported)"},
        {"A = 5 OR GRADE",
         "GRADE (no condition: abbreviated combined relations are not supported, write each relation in full)"},
        {"NOT A", "A (no condition: abbreviated combined relations are not supported, write each relation in full)"},
        // 10: the words of forms the grammar has not, which were looked up
        // as data names ("The data name IS is not defined").
        {"A IS NUMERIC", "IS NUMERIC (class conditions are not supported)"},
        {"NAME IS NOT ALPHABETIC", "IS NOT ALPHABETIC (class conditions are not supported)"},
        {"AMT IS NEGATIVE", "IS NEGATIVE (sign conditions are not supported)"},
        {"AMT POSITIVE", "POSITIVE (sign conditions are not supported)"},
        {"AMT NOT NEGATIVE", "NEGATIVE (sign conditions are not supported)"},
        // ZERO is also a figurative constant: without IS, the sign
        // condition was a bare syntax error.
        {"A ZERO", "ZERO (sign conditions are not supported)"},
        {"A NOT ZERO", "ZERO (sign conditions are not supported)"},
        {"AMT ZEROS OR A = 6", "ZEROS OR A = 6 (sign conditions are not supported)"},
        {"A = 6 AND NZ NOT ZEROES", "ZEROES (sign conditions are not supported)"},
        {"(A + 1 ZERO)", "ZERO) (sign conditions are not supported)"},
        {"COMPUTE CNT = A ZERO", "ZERO (sign conditions are not supported)"},
        {"A IS = 6", "IS = 6 (relations written in words (IS, EQUAL TO, GREATER THAN, LESS THAN) are not supported)"},
        {"A EQUAL TO 6",
         "EQUAL TO 6 (relations written in words (IS, EQUAL TO, GREATER THAN, LESS THAN) are not supported)"},
        {"A GREATER THAN 5",
         "GREATER THAN 5 (relations written in words (IS, EQUAL TO, GREATER THAN, LESS THAN) are not supported)"},
        {"A NOT LESS 5",
         "LESS 5 (relations written in words (IS, EQUAL TO, GREATER THAN, LESS THAN) are not supported)"},
        {"COMPUTE A ROUNDED = 6.5", "ROUNDED = 6.5 (ROUNDED is not supported)"},
        {"NAME = ALL \"x\"", "ALL \"x\" (ALL with a literal is not supported)"},
        {"MOVE ALL 'x' TO NAME", "ALL 'x' TO NAME (ALL with a literal is not supported)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fresh(table.program);
        const std::string before = recordBytes();
        validate(c.text);
        EXPECT_GE(validated, 10000);
        const std::string expected = "  >> " + std::string(c.text) + "\n\n";
        const std::string text = errorText();
        EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
        EXPECT_NE(text.find("The expression has a syntax error at: " + std::string(c.says)), std::string::npos) << text;
        UBYTE1* name = nullptr;
        EXPECT_GE(dbg.evaluate(rep, program.context(), &result, &name), 10000);
        EXPECT_EQ(dbg.test(rep, program.context()), 10000);
        // Nothing was written.
        EXPECT_TRUE(host->callsTo(HS_Expr2WriteMemory).empty());
        EXPECT_EQ(recordBytes(), before);
        done();
    }
    // Conditions written in full, condition names, NOT over them and ZERO
    // as an operand stay.
    const struct {
        const char* text;
        bool holds;
    } kept[] = {{"A = 5 OR A = 6", true}, {"A = 6 OR LOW-GRADE", true}, {"NOT LOW-GRADE AND NOT (A = 5)", true},
                {"NOT A = 5", true},      {"A = ZERO", false},          {"A NOT = ZERO", true},
                {"ZERO = A", false},      {"A NOT < ZERO", true},       {"ZEROS < A AND NZ = ZEROES", true},
                {"NOT A = ZERO", true}};
    for (const auto& k : kept) {
        SCOPED_TRACE(k.text);
        fresh(table.program);
        validate(k.text);
        EXPECT_EQ(validated, 0) << errorText();
        EXPECT_EQ(dbg.test(rep, program.context()), k.holds ? 0 : 10000);
        done();
    }
}

} // namespace
