#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "testseam/LanguageTestSeam.h"
#include "TestServices.h"
#include "frontend/C_Preprocessor.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Token.h"

namespace {

// Makes a language current for one test and puts the previous one back.
class LanguageScope {
public:
    explicit LanguageScope(int language) : previous(EE_setCurrentLanguage(language)) {}
    ~LanguageScope() { EE_setCurrentLanguage(previous); }

private:
    int previous;
};

constexpr int LanguageC = 0;

// Scans `text` and returns the tokens written, the end token included.
std::vector<EE_Token> scan(TestServices& services, const char* text)
{
    C_Preprocessor scanner(text, services);
    unsigned bound = scanner.tokenBound();
    EE_Token* tokens = new (services.storageArena()) EE_Token[bound];
    for (unsigned i = 0; i < bound; ++i)
        tokens[i].preset();
    unsigned count = 0;
    scanner.preprocess(tokens, count);
    return std::vector<EE_Token>(tokens, tokens + count);
}

std::vector<unsigned> kinds(const std::vector<EE_Token>& tokens)
{
    std::vector<unsigned> result;
    for (const EE_Token& token : tokens)
        result.push_back(token.kind);
    return result;
}

std::string spelling(const EE_Token& token)
{
    return std::string(token.spelling, token.length);
}

// The outcome of scanning one text: the code of a parse exception, of an
// internal exception (plus 100), or -1 when the scan succeeds.
int failureOf(TestServices& services, const char* text, const char** position = nullptr)
{
    try {
        scan(services, text);
    } catch (const EE_ParseException& e) {
        if (position)
            *position = e.position;
        return static_cast<int>(e.code);
    } catch (const EE_Exception& e) {
        return 100 + static_cast<int>(e.code);
    }
    return -1;
}

} // namespace

TEST(CPreprocessor, OperatorAndNameSequences)
{
    LanguageScope c(LanguageC);
    struct Case {
        const char* text;
        std::vector<unsigned> kinds;
    } cases[] = {
        {"a.b->c", {79, 55, 79, 54, 79, 75}},
        {"x>>=2", {79, 70, 0, 75}},
        {"a>>b", {79, 45, 79, 75}},
        {"a<<=b<=c<d<<e", {79, 71, 79, 48, 79, 41, 79, 44, 79, 75}},
        {"a>=b>c", {79, 49, 79, 42, 79, 75}},
        {"! != % %= & && &= ( ) * *= + ++ += , - -> -- -=",
         {40, 47, 35, 67, 37, 50, 72, 56, 57, 33, 65, 31, 62, 68, 43, 32, 54, 63, 69, 75}},
        {"/ /= : :: = == ? [ ] ^ ^= | || |= ~", {34, 66, 61, 80, 64, 46, 60, 58, 59, 36, 73, 38, 51, 74, 39, 75}},
        {"#x $y @z _w L Lx x1", {79, 79, 79, 79, 79, 79, 79, 75}},
        {"\t a \t", {79, 75}},
        {"a+++b", {79, 62, 31, 79, 75}},
        {"s.5", {79, 0, 75}},
    };
    for (const Case& c : cases) {
        TestServices services;
        EXPECT_EQ(kinds(scan(services, c.text)), c.kinds) << c.text;
    }
}

TEST(CPreprocessor, SpellingsPointIntoTheTextAndTheEndTokenHasNone)
{
    TestServices services;
    std::vector<EE_Token> tokens = scan(services, "  alpha->beta  ");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(spelling(tokens[0]), "alpha");
    EXPECT_EQ(spelling(tokens[1]), "->");
    EXPECT_EQ(spelling(tokens[2]), "beta");
    EXPECT_EQ(tokens[3].kind, EE_Token::EndOfText);
    EXPECT_EQ(tokens[3].spelling, nullptr);
    EXPECT_EQ(tokens[3].length, 0u);
    for (const EE_Token& token : tokens) {
        EXPECT_EQ(token.value, nullptr);
        EXPECT_EQ(token.type, nullptr);
    }
}

// Nothing to evaluate: a syntax error with nothing to show, which the
// messages read as an incomplete expression (not as an unknown name).
TEST(CPreprocessor, EmptyTextIsIncomplete)
{
    for (const char* text : {"", "   ", "\t \t"}) {
        TestServices services;
        const char* position = nullptr;
        EXPECT_EQ(failureOf(services, text, &position), 5) << '"' << text << '"';
        ASSERT_NE(position, nullptr);
        EXPECT_STREQ(position, "");
    }
}

TEST(CPreprocessor, NewlineAndStrayCharactersAreSyntaxErrors)
{
    struct Case {
        const char* text;
        char at;
    } cases[] = {{"a\nb", '\n'}, {"a\rb", '\r'}, {"a`b", '`'}, {"a\\b", '\\'}, {"x \xff", '\xff'}};
    for (const Case& c : cases) {
        TestServices services;
        const char* position = nullptr;
        EXPECT_EQ(failureOf(services, c.text, &position), 5) << c.text;
        ASSERT_NE(position, nullptr);
        EXPECT_EQ(*position, c.at) << c.text;
    }
}

TEST(CPreprocessor, TheFailingTokenKeepsWhatWasConsumed)
{
    TestServices services;
    C_Preprocessor scanner("abc 0x1.8", services);
    EE_Token tokens[16];
    for (EE_Token& token : tokens)
        token.preset();
    unsigned count = 0;
    EXPECT_THROW(scanner.preprocess(tokens, count), EE_ParseException);
    EXPECT_EQ(spelling(tokens[0]), "abc");
    EXPECT_EQ(spelling(tokens[1]), "0x1.8");
}

TEST(CPreprocessor, KeywordTableIsSortedAndComplete)
{
    unsigned rows = 0;
    const C_Preprocessor::Keyword* table = C_Preprocessor::keywordTable(rows);
    ASSERT_EQ(rows, 126u);
    unsigned supported = 0;
    for (unsigned i = 0; i < rows; ++i) {
        EXPECT_EQ(std::strlen(table[i].spelling), table[i].length) << table[i].spelling;
        if (i > 0) {
            EXPECT_LT(std::strcmp(table[i - 1].spelling, table[i].spelling), 0) << table[i].spelling;
        }
        if (table[i].supported) {
            ++supported;
            EXPECT_GE(table[i].kind, 1u);
            EXPECT_LE(table[i].kind, 30u);
        } else {
            EXPECT_EQ(table[i].kind, unsigned(EE_Token::NoToken));
        }
    }
    EXPECT_EQ(supported, 30u);
}

TEST(CPreprocessor, KeywordFilterPerLanguage)
{
    constexpr int Identifier = 79;
    constexpr int Refused = -3;
    struct Case {
        const char* word;
        int inC; // also Fortran and UPC
        int inCpp;
    } cases[] = {
        {"class", Identifier, 5},
        {"this", Identifier, 24},
        {"const_cast", 8, 8},
        {"bool", Identifier, 1},
        {"true", Identifier, 25},
        {"false", Identifier, 12},
        {"_Bool", 2, 2},
        {"wchar_t", Identifier, 30},
        {"static_cast", Identifier, 22},
        {"reinterpret_cast", Identifier, 18},
        {"typeid", Identifier, 26},
        {"cimag", Identifier, 4},
        {"creal", Identifier, 9},
        {"_Imaginary", Identifier, 14},
        {"__I", 15, 15},
        {"sizeof", 21, 21},
        {"struct", 23, 23},
        {"unsigned", 28, 28},
        {"while", Refused, Refused},
        {"new", Refused, Refused},
        {"try", Refused, Refused},
        {"__FUNCTION__", Refused, Refused},
        {"volatile", Refused, Refused},
        {"template", Identifier, Refused},
        {"restrict", Identifier, Refused},
        {"__asm", Identifier, Refused},
        {"_Packed", Identifier, Refused},
        {"namespace", Identifier, Refused},
        {"classes", Identifier, Identifier},
        {"whil", Identifier, Identifier},
        {"Class", Identifier, Identifier},
    };
    for (int language : {LanguageC, int(EE_LanguageFortran), int(EE_LanguageUPC), int(EE_LanguageCPP)}) {
        LanguageScope scope(language);
        for (const Case& c : cases) {
            int expected = language == EE_LanguageCPP ? c.inCpp : c.inC;
            TestServices services;
            int outcome;
            try {
                std::vector<EE_Token> tokens = scan(services, c.word);
                outcome = static_cast<int>(tokens[0].kind);
                ASSERT_EQ(tokens.size(), 2u);
                bool isBoolLiteral = outcome == EE_Token::KwTrue || outcome == EE_Token::KwFalse;
                EXPECT_EQ(tokens[0].type, isBoolLiteral ? services.boolTypeDescriptor() : nullptr) << c.word;
            } catch (const EE_ParseException& e) {
                outcome = -static_cast<int>(e.code);
                EXPECT_EQ(std::string(e.position), c.word);
            }
            EXPECT_EQ(outcome, expected) << c.word << " in language " << language;
        }
    }
}

TEST(CPreprocessor, NumberTyping)
{
    using K = EE_TypeDescriptor;
    constexpr int Error = -1;
    struct Case {
        const char* text;
        bool decimalFloatingPoint;
        int kind;        // type kind of the first token, or Error
        unsigned length; // length of the first token's spelling (or of the failing token)
        unsigned code = EE_ParseException::SyntaxError; // the refusal's code, for Error
    } cases[] = {
        {"0x1.8p1", false, K::Double, 7},
        {"0x1.8", false, Error, 5},
        {"0x.8p1", false, K::Double, 6},
        {"0x.p1", false, Error, 3},
        {"0x", false, Error, 2},
        {"0x1p", false, Error, 4},
        {"0x1p+3f", false, K::Float, 7},
        {"0x1F", false, K::Int, 4},
        {"0XffUL", false, K::UnsignedLong, 6},
        {"1.5", false, K::Double, 3},
        {"1.5L", false, K::LongDouble, 4},
        {"1.5f", false, K::Float, 4},
        {"1.5F", false, K::Float, 4},
        {".5", false, K::Double, 2},
        {"1.", false, K::Double, 2},
        {"12.5d", false, K::PackedDecimal, 5},
        {"12.5D", false, K::PackedDecimal, 5},
        {"1e10", false, K::Double, 4},
        {"1E-3F", false, K::Float, 5},
        {"1e", false, Error, 2},
        {"1e+", false, Error, 3},
        {"123", false, K::Int, 3},
        {"123L", false, K::Long, 4},
        {"123LL", false, K::LongLong, 5},
        {"123U", false, K::UnsignedInt, 4},
        {"123LU", false, K::UnsignedLong, 5},
        {"123ULL", false, K::UnsignedLongLong, 6},
        {"123ul", false, K::UnsignedLong, 5},
        {"017", false, K::Int, 3},
        {"017.5", false, K::Double, 5},
        {"01234", false, K::Int, 5},
        {"0", false, K::Int, 1},
        {"000", false, K::Int, 3},
        {"089", false, Error, 3, EE_ParseException::BadLiteral},
        {"2147483647", false, K::Int, 10},
        {"2147483648", false, K::Long, 10},
        {"0x7FFFFFFF", false, K::Int, 10},
        {"0x80000000", false, K::UnsignedInt, 10},
        {"4294967295u", false, K::UnsignedInt, 11},
        {"4294967296u", false, K::UnsignedLong, 11},
        {"0xFFFFFFFFFFFFFFFF", false, K::UnsignedLong, 18},
        {"1LL", false, K::LongLong, 3},
        {"0x8000000000000000LL", false, K::UnsignedLongLong, 20},
        {"1.5DF", true, K::Decimal32, 5},
        {"1.5DD", true, K::Decimal64, 5},
        {"1.5DL", true, K::Decimal128, 5},
        {"1.5DX", true, Error, 5, EE_ParseException::BadLiteral},
        {"1.5dd", true, Error, 5, EE_ParseException::BadLiteral},
        {"1.5DF", false, Error, 5, EE_ParseException::BadLiteral},
        {"1.5DD", false, Error, 5, EE_ParseException::BadLiteral},
        {"1e5DF", true, K::Decimal32, 5},
        {"1e5DL", true, K::Decimal128, 5},
        {"1e5DX", true, Error, 4},
        {"1e5DF", false, Error, 4},
        // A number runs on as C's preprocessing numbers do: what its scan
        // leaves of one makes the whole literal invalid, not a second operand.
        {"1.5.3", false, Error, 5, EE_ParseException::BadLiteral},
        {"1lul", false, Error, 4, EE_ParseException::BadLiteral},
        {"1uu", false, Error, 3, EE_ParseException::BadLiteral},
        {"0x1g", false, Error, 4, EE_ParseException::BadLiteral},
        {"1_8", false, Error, 3, EE_ParseException::BadLiteral},
        {".5.5", false, Error, 4, EE_ParseException::BadLiteral},
        {"1e5x+1", false, Error, 4, EE_ParseException::BadLiteral},
        {"1.5e+3x", false, Error, 7, EE_ParseException::BadLiteral},
        {"0e5", false, K::Double, 3},
        {"08e1", false, K::Double, 4},
        {"1 + 2", false, K::Int, 1},
        {"1+2", false, K::Int, 1},
    };
    for (const Case& c : cases) {
        TestServices services;
        services.decimalFloatingPoint = c.decimalFloatingPoint;
        C_Preprocessor scanner(c.text, services);
        EE_Token tokens[16];
        for (EE_Token& token : tokens)
            token.preset();
        unsigned count = 0;
        int kind = Error;
        try {
            scanner.preprocess(tokens, count);
            EXPECT_EQ(tokens[0].kind, unsigned(EE_Token::Literal)) << c.text;
            ASSERT_NE(tokens[0].type, nullptr) << c.text;
            kind = static_cast<int>(tokens[0].type->kind);
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(e.code, c.code) << c.text;
        }
        EXPECT_EQ(kind, c.kind) << c.text << (c.decimalFloatingPoint ? " with" : " without")
                                << " decimal floating point";
        EXPECT_EQ(tokens[0].length, c.length) << c.text;
    }
}

// Fortran's literals: C's integer types (a default INTEGER literal is an
// int), its exponent letters d (double precision) and q (quad: long
// double); elsewhere a d after a number is no exponent.
TEST(CPreprocessor, FortranNumbers)
{
    using K = EE_TypeDescriptor;
    constexpr int Error = -1;
    const struct {
        const char* text;
        bool fortran;
        int kind;
        unsigned length;
    } cases[] = {
        {"3", true, K::Int, 1},
        {"2147483648", true, K::Long, 10},
        {"1.5d0", true, K::Double, 5},
        {"1.5D+3", true, K::Double, 6},
        {"1d-3", true, K::Double, 4},
        {"0d0", true, K::Double, 3},
        {"2.5q0", true, K::LongDouble, 5},
        {"1.5e0", true, K::Double, 5},
        {"1.5d0", false, Error, 5},
        {"1d0", false, Error, 3},
        // No octal form: 089 is 89; 037777777777 is a decimal too large for
        // an int (in C an octal unsigned int).
        {"089", true, K::Int, 3},
        {"037777777777", true, K::Long, 12},
        {"037777777777", false, K::UnsignedInt, 12},
    };
    for (const auto& c : cases) {
        TestServices services;
        services.fortran = c.fortran;
        C_Preprocessor scanner(c.text, services);
        EE_Token tokens[4];
        for (EE_Token& token : tokens)
            token.preset();
        unsigned count = 0;
        int kind = Error;
        try {
            scanner.preprocess(tokens, count);
            ASSERT_NE(tokens[0].type, nullptr) << c.text;
            kind = static_cast<int>(tokens[0].type->kind);
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(e.code, unsigned(EE_ParseException::BadLiteral)) << c.text;
        }
        EXPECT_EQ(kind, c.kind) << c.text << (c.fortran ? " in Fortran" : " in C");
        EXPECT_EQ(tokens[0].length, c.length) << c.text;
    }
}

TEST(CPreprocessor, LiteralsShareDescriptors)
{
    TestServices services;
    std::vector<EE_Token> tokens = scan(services, "1 2U 'c' \"s\" L'w' L\"ws\" true");
    ASSERT_EQ(tokens.size(), 8u);
    EXPECT_EQ(tokens[0].type, services.signedIntTypeDescriptor());
    EXPECT_EQ(tokens[1].type, services.unsignedIntTypeDescriptor());
    EXPECT_EQ(tokens[2].type, services.charTypeDescriptor());
    EXPECT_EQ(tokens[3].type, services.pointerToCharTypeDescriptor());
    EXPECT_EQ(tokens[4].type, services.wchar_tTypeDescriptor());
    EXPECT_EQ(tokens[5].type, services.pointerToWchartTypeDescriptor());
    EXPECT_EQ(tokens[6].kind, unsigned(EE_Token::Identifier)); // C: "true" is a name
    EXPECT_EQ(spelling(tokens[3]), "\"s\"");
    EXPECT_EQ(spelling(tokens[5]), "L\"ws\"");
}

// A literal no integer type holds is refused, the exception naming it
// with its suffix.
TEST(CPreprocessor, LiteralBeyondEveryTypeRefused)
{
    for (const char* text : {"18446744073709551619", "0x10000000000000000u", "99999999999999999999LL"}) {
        TestServices services;
        C_Preprocessor scanner(text, services);
        EE_Token tokens[4];
        for (EE_Token& token : tokens)
            token.preset();
        unsigned count = 0;
        try {
            scanner.preprocess(tokens, count);
            ADD_FAILURE() << text << " was accepted";
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(e.code, unsigned(EE_ParseException::BadLiteral)) << text;
            EXPECT_STREQ(e.position, text);
        }
    }
}

TEST(CPreprocessor, CharacterAndStringLiterals)
{
    constexpr int Ok = -1;
    struct Case {
        const char* text;
        int outcome; // Ok, or the parse exception's code
    } cases[] = {
        {"'a'", Ok},       {"''", 4},       {"'ab'", 4},         {"'\\n'", Ok},     {"'\\''", Ok},  {"'\\x41'", Ok},
        {"'\\x4142'", Ok}, {"'\\101'", Ok}, {"'\\1012'", 4},     {"'\\q'", 5},      {"'\\x'", 5},   {"'a", 5},
        {"'\\", 5},        {"L'a'", Ok},    {"L'\xc3\xa9'", Ok}, {"'\xc3\xa9'", 4}, {"L'ab'", 4},   {"L''", 4},
        {"\"\"", Ok},      {"\"abc\"", Ok}, {"\"a\\\"b\"", Ok},  {"\"abc", 5},      {"\"\\x\"", 5}, {"L\"x\\ty\"", Ok},
    };
    for (const Case& c : cases) {
        TestServices services;
        const char* position = nullptr;
        EXPECT_EQ(failureOf(services, c.text, &position), c.outcome) << c.text;
    }

    // A bad character constant is reported at the literal itself.
    TestServices services;
    const char* position = nullptr;
    ASSERT_EQ(failureOf(services, "x + 'ab'", &position), 4);
    EXPECT_EQ(std::string(position), "'ab'");
    // An unterminated string is reported at the end of the text.
    ASSERT_EQ(failureOf(services, "\"abc", &position), 5);
    EXPECT_STREQ(position, "");
    // An invalid escape is reported at its backslash.
    ASSERT_EQ(failureOf(services, "'\\q'", &position), 5);
    EXPECT_EQ(std::string(position), "\\q'");
}

TEST(CPreprocessor, UniversalCharacterNames)
{
    {
        TestServices services;
        std::vector<EE_Token> tokens = scan(services, "\\u00e9t\\u00E9 + x");
        ASSERT_EQ(tokens.size(), 4u);
        EXPECT_EQ(tokens[0].kind, unsigned(EE_Token::Identifier));
        EXPECT_EQ(spelling(tokens[0]), "\xc3\xa9t\xc3\xa9");
    }
    {
        TestServices services;
        std::vector<EE_Token> tokens = scan(services, "\\U0001F600x");
        ASSERT_EQ(tokens.size(), 2u);
        EXPECT_EQ(spelling(tokens[0]), "\xf0\x9f\x98\x80x");
    }
    {
        // Inside a literal the name is rewritten too; a wide character constant
        // counts it as one character.
        TestServices services;
        std::vector<EE_Token> tokens = scan(services, "L'\\u00e9'");
        ASSERT_EQ(tokens.size(), 2u);
        EXPECT_EQ(spelling(tokens[0]), "L'\xc3\xa9'");
    }
    {
        // An escaped backslash is not the start of a name.
        TestServices services;
        std::vector<EE_Token> tokens = scan(services, "\"\\\\u0041\"");
        ASSERT_EQ(tokens.size(), 2u);
        EXPECT_EQ(spelling(tokens[0]), "\"\\\\u0041\"");
    }
    struct Case {
        const char* text;
        int outcome; // parse exception code, or 100 + internal exception code
    } failures[] = {
        {"a\\u12", 102},                                            // cut short by the end of the text
        {"a + \\U0001F60", 102}, {"\"\\u12", 102}, {"a\\u12zz", 5}, // not a name: the backslash is a stray character
        {"'\\u00g1'", 5},        {"a\\u0000b", 5},                  // a NUL would cut the text short
        {"'\\u00e9'", 4},                                           // two bytes in a plain character constant
    };
    for (const Case& c : failures) {
        TestServices services;
        EXPECT_EQ(failureOf(services, c.text), c.outcome) << c.text;
    }
}

TEST(CPreprocessor, CharacterClasses)
{
    EXPECT_EQ(C_Preprocessor::charClass(' '), 1u);
    EXPECT_EQ(C_Preprocessor::charClass('\t'), 1u);
    EXPECT_EQ(C_Preprocessor::charClass('\n'), 0u);
    EXPECT_EQ(C_Preprocessor::charClass('0'), 44u);
    EXPECT_EQ(C_Preprocessor::charClass('7'), 44u);
    EXPECT_EQ(C_Preprocessor::charClass('8'), 12u);
    EXPECT_EQ(C_Preprocessor::charClass('a'), 6u);
    EXPECT_EQ(C_Preprocessor::charClass('F'), 6u);
    EXPECT_EQ(C_Preprocessor::charClass('g'), 2u);
    EXPECT_EQ(C_Preprocessor::charClass('_'), 16u);
    EXPECT_EQ(C_Preprocessor::charClass('@'), 16u);
    EXPECT_EQ(C_Preprocessor::charClass(0x80), 2u);
    EXPECT_EQ(C_Preprocessor::charClass(0xFD), 2u);
    EXPECT_EQ(C_Preprocessor::charClass(0xFE), 0u);
    EXPECT_EQ(C_Preprocessor::charClass(0xFF), 0u);
    EXPECT_EQ(C_Preprocessor::charClass('+'), 0u);
}
