#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CobolTestServices.h"
#include "frontend/Cobol_Preprocessor.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_Token.h"

namespace {

struct Scan {
    std::string tokens; // "kind[spelling] ..." ending with the end token
    std::string types;  // the literal types made, joined by "; "
    std::string error;  // "E<code>@<text from the position>" on failure
    unsigned count = 0;
};

Scan scan(const std::string& text)
{
    Scan out;
    CobolTestServices services;
    Cobol_Preprocessor scanner(text.c_str(), services);
    unsigned bound = scanner.tokenBound();
    std::vector<EE_Token> tokens(bound);
    for (EE_Token& t : tokens)
        t.preset();
    try {
        scanner.preprocess(tokens.data(), out.count);
    } catch (const EE_ParseException& e) {
        out.error = "E" + std::to_string(e.code) + "@" + (e.position ? e.position : "null");
    }
    for (unsigned i = 0; i < out.count; ++i) {
        if (i)
            out.tokens += " ";
        out.tokens += std::to_string(tokens[i].kind);
        if (tokens[i].spelling)
            out.tokens += "[" + std::string(tokens[i].spelling, tokens[i].length) + "]";
    }
    for (const std::string& line : services.types)
        out.types += (out.types.empty() ? "" : "; ") + line;
    return out;
}

const std::string SO = "\x0E";
const std::string SI = "\x0F";

} // namespace

TEST(CobolScanner, ReservedWordsInAnyCaseAndTheirKinds)
{
    struct Case {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"move Move MOVE", "111[move] 111[Move] 111[MOVE] 75"},
        {"zero ZEROS zeroes", "125[zero] 110[ZEROS] 110[zeroes] 75"},
        {"quote QUOTES", "123[quote] 108[QUOTES] 75"},
        {"High-Value high-values LOW-VALUE low-values",
         "120[High-Value] 103[high-values] 121[LOW-VALUE] 105[low-values] 75"},
        {"null nulls space spaces", "122[null] 106[nulls] 124[space] 109[spaces] 75"},
        {"and or not of in", "37[and] 38[or] 40[not] 107[of] 104[in] 75"},
        {"true false all", "25[true] 12[false] 101[all] 75"},
        {"address length set to compute", "127[address] 133[length] 119[set] 112[to] 113[compute] 75"},
        {"call using by reference content", "128[call] 129[using] 130[by] 131[reference] 132[content] 75"},
        // The words of forms the grammar does not take: kind 134, which the
        // grammar refuses as not supported (never looked up as data names).
        {"is Numeric alphabetic-upper negative rounded",
         "134[is] 134[Numeric] 134[alphabetic-upper] 134[negative] 134[rounded] 75"},
        {"EQUAL greater less than positive", "134[EQUAL] 134[greater] 134[less] 134[than] 134[positive] 75"},
        // Not reserved: near misses and longer words are data names.
        {"zer zeroz moves of-x", "79[zer] 79[zeroz] 79[moves] 79[of-x] 75"},
    };
    for (const Case& c : cases) {
        Scan s = scan(c.text);
        EXPECT_EQ(s.error, "") << c.text;
        EXPECT_EQ(s.tokens, c.tokens) << c.text;
    }

    // The table is sorted (the lookup is a binary search) and every row is
    // found in upper case too.
    unsigned rows = 0;
    const Cobol_Preprocessor::ReservedWord* table = Cobol_Preprocessor::reservedWords(rows);
    ASSERT_EQ(rows, 44u);
    for (unsigned i = 0; i < rows; ++i) {
        EXPECT_EQ(std::strlen(table[i].name), table[i].length);
        if (i > 0) {
            EXPECT_LT(std::strcmp(table[i - 1].name, table[i].name), 0) << table[i].name;
        }
        std::string upper = table[i].name;
        for (char& ch : upper)
            ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
        unsigned kind = 0;
        EXPECT_TRUE(Cobol_Preprocessor::findReservedWord(upper.c_str(), table[i].length, kind)) << upper;
        EXPECT_EQ(kind, table[i].kind) << upper;
    }
}

TEST(CobolScanner, CaseInsensitiveComparison)
{
    EXPECT_EQ(Cobol_Preprocessor::strnicmp("Zero", "ZERO", 4), 0);
    EXPECT_EQ(Cobol_Preprocessor::strnicmp("abc", "ABD", 2), 0);
    EXPECT_LT(Cobol_Preprocessor::strnicmp("abc", "ABD", 3), 0);
    EXPECT_GT(Cobol_Preprocessor::strnicmp("b", "A", 1), 0);
    // A NUL counts as 0 and ends the comparison.
    EXPECT_LT(Cobol_Preprocessor::strnicmp("a", "ab", 5), 0);
    EXPECT_EQ(Cobol_Preprocessor::strnicmp("a\0x", "A\0y", 3), 0);
    EXPECT_EQ(Cobol_Preprocessor::CharTable()[static_cast<unsigned char>('Q')], 'q');
    EXPECT_EQ(Cobol_Preprocessor::CharTable()[0xC1], 0xC1);
}

TEST(CobolScanner, PunctuationOperatorsAndSignedNumbers)
{
    struct Case {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"( ) , : ; / = * ** . ", "56[(] 57[)] 43[,] 61[:] 126[;] 34[/] 64[=] 33[*] 86[**] 55[.] 75"},
        {"< > <= >= <>", "41[<] 42[>] 48[<=] 49[>=] 41[<] 42[>] 75"},
        {"A*B**C", "79[A] 33[*] 79[B] 86[**] 79[C] 75"},
        // A sign directly before a digit or point is part of the number.
        {"-5", "0[-5] 75"},
        {"- 5", "32[-] 0[5] 75"},
        {"+.5", "0[+.5] 75"},
        {"A -5", "79[A] 0[-5] 75"},
        {"A - 5", "79[A] 32[-] 0[5] 75"},
        // Without blanks a hyphen continues a data name.
        {"A-5", "79[A-5] 75"},
        {"(1:2)", "56[(] 0[1] 61[:] 0[2] 57[)] 75"},
        {"\tX\t", "79[X] 75"},
    };
    for (const Case& c : cases) {
        Scan s = scan(c.text);
        EXPECT_EQ(s.error, "") << c.text;
        EXPECT_EQ(s.tokens, c.tokens) << c.text;
    }
}

TEST(CobolScanner, NumbersAreTypedByDigitsScaleAndSign)
{
    struct Case {
        const char* text;
        const char* tokens;
        const char* types;
    } cases[] = {
        {"12", "0[12] 75", "fixed 44 digits=2 scale=0 signed=0"},
        {"1.25", "0[1.25] 75", "fixed 44 digits=3 scale=-2 signed=0"},
        {"-1.25", "0[-1.25] 75", "fixed 44 digits=3 scale=-2 signed=1"},
        {"+7", "0[+7] 75", "fixed 44 digits=1 scale=0 signed=1"},
        {".5", "0[.5] 75", "fixed 44 digits=1 scale=-1 signed=0"},
        {"5.", "0[5.] 75", "fixed 44 digits=1 scale=0 signed=0"},
        {"123456789012345678", "0[123456789012345678] 75", "fixed 44 digits=18 scale=0 signed=0"},
        {"1234567890123456789", "0[1234567890123456789] 75", "fixed 43 digits=19 scale=0 signed=0"},
        {"12345678901234567.89", "0[12345678901234567.89] 75", "fixed 43 digits=19 scale=-2 signed=0"},
        {"1.5E3", "0[1.5E3] 75", "double"},
        {"-2.0e-3", "0[-2.0e-3] 75", "double"},
        {"+1E5", "0[+1E5] 75", "double"},
        // Digits followed by a letter make a data name, not an exponent.
        {"1E5", "79[1E5] 75", ""},
        {"1ST-ITEM", "79[1ST-ITEM] 75", ""},
        {"12-A", "79[12-A] 75", ""},
    };
    for (const Case& c : cases) {
        Scan s = scan(c.text);
        EXPECT_EQ(s.error, "") << c.text;
        EXPECT_EQ(s.tokens, c.tokens) << c.text;
        EXPECT_EQ(s.types, c.types) << c.text;
    }
}

TEST(CobolScanner, LiteralFormsWithDoubledDelimiters)
{
    struct Case {
        std::string text;
        const char* tokens;
        const char* types;
    } cases[] = {
        {"'AB''C'", "0['AB''C'] 75", "chars 9 length=4 quote=0 hex=0 nul=0 text=AB'"},
        {"\"A\"\"\"", "0[\"A\"\"\"] 75", "chars 9 length=2 quote=1 hex=0 nul=0 text=A\"\""},
        {"''", "0[''] 75", "chars 9 length=0 quote=0 hex=0 nul=0 text='"},
        {"'a\"b'", "0['a\"b'] 75", "chars 9 length=3 quote=0 hex=0 nul=0 text=a\"b"},
        {"X'0A1'", "102[X'0A1'] 75", "chars 9 length=1 quote=0 hex=1 nul=0 text=null"},
        {"x\"4142\"", "102[x\"4142\"] 75", "chars 9 length=2 quote=1 hex=1 nul=0 text=null"},
        {"N'AB''C'", "116[N'AB''C'] 75", "national 51 length=4 quote=0 hex=0 nul=0 text=AB'"},
        {"nx'00410042'", "117[nx'00410042'] 75", "national 51 length=4 quote=0 hex=1 nul=0 text=null"},
        {"Z'AB'", "118[Z'AB'] 75", "chars 9 length=3 quote=0 hex=0 nul=1 text=AB'"},
        {"z\"A\"\"\"", "118[z\"A\"\"\"] 75", "chars 9 length=3 quote=1 hex=0 nul=1 text=A\"\""},
        {"H'0001F000'", "115[H'0001F000'] 75", "pointer"},
        {"G'" + SO + "ab" + SI + "'",
         "114[G'\x0E"
         "ab\x0F'] 75",
         "dbcs 60 length=4 quote=0 hex=0 nul=0 text=null"},
        {"g\"" + SO + "abcd" + SI + "\"",
         "114[g\"\x0E"
         "abcd\x0F\"] 75",
         "dbcs 60 length=6 quote=1 hex=0 nul=0 text=null"},
        // A literal letter not followed as its form needs starts a data name.
        {"G'x'", "79[G] 0['x'] 75", "chars 9 length=1 quote=0 hex=0 nul=0 text=x'"},
        {"XA NX Zed", "79[XA] 79[NX] 79[Zed] 75", ""},
    };
    for (const Case& c : cases) {
        Scan s = scan(c.text);
        EXPECT_EQ(s.error, "") << c.text;
        EXPECT_EQ(s.tokens, c.tokens) << c.text;
        EXPECT_EQ(s.types, c.types) << c.text;
    }
}

TEST(CobolScanner, DataNamesWithDigitsHyphensAtSignsAndDbcs)
{
    struct Case {
        std::string text;
        std::string tokens;
    } cases[] = {
        {"WS-ITEM_2", "79[WS-ITEM_2] 75"},
        {"@abc", "79[@abc] 75"},
        {"@1X", "79[@1X] 75"},
        // After an at sign a reserved word is a plain data name.
        {"@not", "79[@not] 75"},
        {"@" + SO + "A", "79[@\x0E"
                         "A] 75"},
        // Full-width letters (UTF-8 bytes 0x80 and above) are name characters.
        {"\xEF\xBD\x81\xEF\xBD\x82", "79[\xEF\xBD\x81\xEF\xBD\x82] 75"},
        {SO + "AB" + SI, "79[\x0E"
                         "AB\x0F] 75"},
        {"A" + SO + "1" + SI + "B", "79[A\x0E"
                                    "1\x0F"
                                    "B] 75"},
    };
    for (const Case& c : cases) {
        Scan s = scan(c.text);
        EXPECT_EQ(s.error, "") << c.text;
        EXPECT_EQ(s.tokens, c.tokens) << c.text;
    }
}

TEST(CobolScanner, FailuresCarryTheirCodeAndPosition)
{
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "E5@"},
        {"  \t ", "E5@"},
        // A data name of digits, hyphens and underscores only: at its start.
        {"A + 12-34", "E3@12-34"},
        {"1-_", "E3@1-_"},
        // Hexadecimal digits not closed by the delimiter: at the token start.
        {"X'0G'", "E4@X'0G'"},
        {"H'12", "E4@H'12"},
        {"nx'1", "E4@nx'1"},
        // Unterminated literals: at the end of the text.
        {"'abc", "E5@"},
        {"N\"ab", "E5@"},
        {"Z'a''", "E5@"},
        {"G'" + SO + "ab", "E5@"},
        // A DBCS literal not closed by its delimiter after the shift-in.
        {"G'" + SO + "ab" + SI + "x", "E5@x"},
        // An exponent without digits: where the digit was expected.
        {"1.5E", "E5@"},
        {"1.5E+)", "E5@)"},
        {"+.", "E5@"},
        // An at sign not followed by a name: at the character after it.
        {"@ x", "E5@ x"},
        {"@-", "E5@-"},
        {"A # B", "E5@# B"},
        {"A\x01", "E5@\x01"},
        {"\xFE", "E5@\xFE"},
    };
    for (const Case& c : cases) {
        Scan s = scan(c.text);
        EXPECT_EQ(s.error, c.error) << c.text;
    }

    // More digits than any fixed-point type holds.
    EXPECT_EQ(scan(std::string(256, '1')).error, "E4@" + std::string(256, '1'));
    EXPECT_EQ(scan(std::string(255, '1')).error, "");
}

TEST(CobolScanner, TokenSpellingIsSetAlsoWhenScanningFails)
{
    CobolTestServices services;
    const char* text = "'abc";
    Cobol_Preprocessor scanner(text, services);
    EE_Token token;
    token.preset();
    const char* position = text;
    EXPECT_THROW(scanner.get(token, position), EE_ParseException);
    EXPECT_EQ(token.spelling, text);
    EXPECT_EQ(token.length, 4u);

    // At the end of the text no token is made.
    const char* end = text + 4;
    EE_Token none;
    none.preset();
    scanner.get(none, end);
    EXPECT_EQ(none.kind, static_cast<unsigned>(EE_Token::NoToken));
}

TEST(CobolScanner, TheTokenArrayBoundIsTheLengthPlusOne)
{
    // One character per token is the densest text there is.
    Scan s = scan("((((");
    EXPECT_EQ(s.count, 5u);
    EXPECT_EQ(s.tokens, "56[(] 56[(] 56[(] 56[(] 75");
    CobolTestServices services;
    EXPECT_EQ(Cobol_Preprocessor("((((", services).tokenBound(), 5u);
    EXPECT_EQ(scan("A B").count, 3u);
}

TEST(CobolScanner, MultibyteSequencesAndEscapes)
{
    struct Case {
        std::string text;
        int count;        // characters counted, or -1 for a failure
        std::string rest; // the text after the sequence, or the failure position
    } cases[] = {
        {"'ab'x", 2, "x"},          {"''", 0, ""},        {"'a''b'", 3, ""}, {"'a\\nb'", 3, ""}, {"'\\'\\\\'", 2, ""},
        {"'\xEF\xBD\x81z'", 2, ""}, {"'a\\q'", -1, "q'"}, {"'a\\", -1, ""},  {"'a\\n", -1, ""},  {"'ab", -1, ""},
    };
    for (const Case& c : cases) {
        CobolTestServices services;
        Cobol_Preprocessor scanner(c.text.c_str(), services);
        const char* p = c.text.c_str();
        try {
            unsigned n = scanner.scanMBSequence(p, '\'');
            EXPECT_EQ(static_cast<int>(n), c.count) << c.text;
            EXPECT_EQ(std::string(p), c.rest) << c.text;
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(c.count, -1) << c.text;
            EXPECT_EQ(e.code, 5u) << c.text;
            EXPECT_EQ(std::string(e.position), c.rest) << c.text;
        }
    }
}
