#include <gtest/gtest.h>
#include <plomkit/Engine_Loader.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "CobolTestServices.h"
#include "FrontendFixtures.h"
#include "frontend/Cobol_GrammarBinding.h"
#include "frontend/Cobol_Lexer.h"
#include "frontend/Cobol_Parser_LL_Universe.h"
#include "frontend/Cobol_Preprocessor.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/ExpressionDepth.h"
#include "frontend/EE_Token.h"
#include "frontend/EE_UnaryExpression.h"
#include "testhost/TestHost.h"

namespace {

// A small data division:
//   G group; R a table in G; E a table in R; F an item of R; S an item of G;
//   NT an item of G without a type; top-level items X Y Z A B C D I J P FLAG;
//   T a top-level table; and a name in full-width letters.
std::vector<CobolTestServices::Item> dataDivision()
{
    return {{"G", "", false},
            {"R", "G", true},
            {"E", "R", true},
            {"F", "R", false},
            {"S", "G", false},
            {"NT", "G", false, false},
            {"X", "", false},
            {"Y", "", false},
            {"Z", "", false},
            {"A", "", false},
            {"B", "", false},
            {"C", "", false},
            {"D", "", false},
            {"I", "", false},
            {"J", "", false},
            {"P", "", false},
            {"FLAG", "", false},
            {"T", "", true},
            {"\xEF\xBC\xA1\xEF\xBC\xA2", "", false}};
}

// The outcome of parsing one text: "tree", or the failure as
// "syntax@<text from the position>", "name@<position>",
// "code<n>@<tree of the node>".
struct Outcome {
    std::string result;
    std::vector<std::string> lookups;
};

Outcome parse(const std::string& text)
{
    Outcome out;
    CobolTestServices services(dataDivision());
    fixtures::Language cobol(EE_LanguageCobol);
    EE_Parser parser(services, 0);
    try {
        out.result = cobolTree(parser.parseTheExpression(text.c_str(), 0));
    } catch (const EE_ParseException& e) {
        std::string where = e.position ? e.position : "<end>";
        out.result = (e.code == 5 ? "syntax@" : "code" + std::to_string(e.code) + "@") + where;
    } catch (const EE_Exception& e) {
        out.result = "code" + std::to_string(e.code) + "@" + cobolTree(e.node);
    }
    out.lookups = services.lookups;
    return out;
}

struct Case {
    const char* text;
    const char* tree;
};

void check(const std::vector<Case>& cases)
{
    TestHost host(false);
    ASSERT_TRUE(host.install());
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text).result, c.tree) << c.text;
}

} // namespace

TEST(CobolGrammar, Statements)
{
    check({
        {"MOVE 5 TO X", "(= X 5)"},
        {"move 'AB' to x", "(= X 'AB')"},
        {"MOVE ZERO TO X", "(= X ZERO)"},
        {"MOVE X TO Y", "(= Y X)"},
        {"MOVE LENGTH OF X TO Y", "(= Y (sizeof X))"},
        {"MOVE ADDRESS OF X TO P", "(= P (& X))"},
        {"MOVE X'C1' TO ADDRESS OF P", "(= (& P) X'C1')"},
        {"COMPUTE X = Y + 1", "(= X (+ Y 1))"},
        {"COMPUTE X = Y ** 2 / 4", "(= X (/ (** Y 2) 4))"},
        // The right side of COMPUTE is a statement again.
        {"COMPUTE X = MOVE 1 TO Y", "(= X (= Y 1))"},
        {"SET FLAG TO TRUE", "(SET FLAG true)"},
        {"SET X TO Y", "(SET X Y)"},
        {"SET X TO SPACES", "(SET X SPACES)"},
        {"CALL 'PROG'", "(call 'PROG')"},
        {"CALL P", "(call P)"},
        // Arguments are chained from the last one written.
        {"CALL 'PROG' USING A BY CONTENT 5 B", "(call 'PROG' 3:B 3:5 1:A)"},
        {"CALL 'PROG' USING ADDRESS OF A, BY REFERENCE B; CONTENT ADDRESS OF C LENGTH OF D ZERO",
         "(call 'PROG' 3:ZERO 3:(sizeof D) 4:(& C) 1:B 2:(& A))"},
        {"CALL P USING BY CONTENT X REFERENCE Y", "(call P 1:Y 3:X)"},
        {"CALL P USING CONTENT 'A' N'B' BY REFERENCE ADDRESS OF X", "(call P 2:(& X) 3:N'B' 3:'A')"},
        {"CALL P USING S OF G (1:2)", "(call P 1:(refmod length (refmod (. G S) 1) 2))"},
    });
}

TEST(CobolGrammar, StatementErrors)
{
    check({
        // FALSE is accepted nowhere.
        {"SET X TO FALSE", "syntax@FALSE"},
        {"FALSE", "syntax@FALSE"},
        // ALL only before a figurative constant, and not in a sending operand.
        {"ALL 5", "syntax@ALL 5 (ALL with a literal is not supported)"},
        {"MOVE ALL ZERO TO X", "syntax@ALL ZERO TO X"},
        {"MOVE A + 1 TO B", "syntax@+ 1 TO B"},
        {"MOVE 1 X", "syntax@X"},
        {"MOVE 1 TO 2", "syntax@2"},
        {"COMPUTE X Y", "syntax@Y"},
        {"SET X TO TRUE 1", "syntax@1"},
        {"CALL 'P' USING", "syntax@<end>"},
        {"CALL 'P' USING A,", "syntax@<end>"},
        {"CALL 'P' USING BY 5", "syntax@5"},
        {"CALL 'P' USING 5", "syntax@5"},
        {"CALL 'P' USING BY CONTENT", "syntax@<end>"},
        {"CALL X'00'", "syntax@X'00'"},
    });
}

TEST(CobolGrammar, ConditionsAndArithmetic)
{
    check({
        {"A OR B AND C", "(|| A (&& B C))"},
        {"A AND B OR C", "(|| (&& A B) C)"},
        {"A OR B OR C", "(|| (|| A B) C)"},
        {"A - B - C", "(- (- A B) C)"},
        {"A / B * C", "(* (/ A B) C)"},
        {"A ** B ** C", "(** (** A B) C)"},
        {"A + B * C ** D", "(+ A (* B (** C D)))"},
        {"- A ** 2", "(** (unary - A) 2)"},
        {"A ** - B", "(** A (unary - B))"},
        {"+ A", "(unary + A)"},
        {"NOT A", "(! A)"},
        // A NOT in front of a condition negates the whole relation: arithmetic
        // and the relations bind tighter, AND and OR looser.
        {"NOT A = B", "(! (== A B))"},
        {"NOT A + 1 < B", "(! (< (+ A 1) B))"},
        {"NOT A = B AND C", "(&& (! (== A B)) C)"},
        {"A AND NOT B > C OR NOT D", "(|| (&& A (! (> B C))) (! D))"},
        {"NOT A NOT = B", "(! (/= A B))"},
        {"NOT (A = B) = C", "(! (== (paren (== A B)) C))"},
        {"A + NOT B", "(+ A (! B))"},
        {"A = B", "(== A B)"},
        {"A < B", "(< A B)"},
        {"A > B", "(> A B)"},
        {"A <= B", "(<= A B)"},
        {"A >= B", "(>= A B)"},
        // NOT negates the relational operator after it.
        {"A NOT = B", "(/= A B)"},
        {"A NOT < B", "(>= A B)"},
        {"A NOT > B", "(<= A B)"},
        {"A NOT < B + 1 AND C NOT = D", "(&& (>= A (+ B 1)) (/= C D))"},
        {"A NOT > B < C", "(<= A (< B C))"},
        // The relational level binds tighter than the equality level.
        {"A < B = C", "(== (< A B) C)"},
        {"A = B < C", "(== A (< B C))"},
        {"A = B = C", "(== (== A B) C)"},
        {"(A + B) * C", "(* (paren (+ A B)) C)"},
        {"ALL SPACES", "SPACES"},
        {"X = ALL QUOTES", "(== X QUOTES)"},
        {"QUOTE = QUOTES", "(== QUOTE QUOTES)"},
        {"HIGH-VALUE OR LOW-VALUES OR NULL OR NULLS OR ZEROES",
         "(|| (|| (|| (|| HIGH-VALUE LOW-VALUES) NULL) NULLS) ZEROES)"},
        {"LENGTH OF X + 1", "(+ (sizeof X) 1)"},
        {"ADDRESS OF X", "(& X)"},
        {"Z'AB' = H'00'", "(== Z'AB' H'00')"},
        {"-5 + 1", "(+ -5 1)"},
        {"- 5 + 1", "(+ (unary - 5) 1)"},
    });
}

TEST(CobolGrammar, ExpressionErrors)
{
    check({
        // After NOT only <, > or = may follow, and the equality level ends.
        {"A NOT >= B", "syntax@>= B"},
        {"A NOT <= B", "syntax@<= B"},
        {"A NOT B", "syntax@B"},
        {"A NOT = B = C", "syntax@= C"},
        {"A NOT = B NOT < C", "syntax@NOT < C"},
        {"A B", "syntax@B"},
        // A signed literal after an operand is not an operator.
        {"A -5", "syntax@-5"},
        {"(A", "syntax@<end>"},
        {"A +", "syntax@<end>"},
        {"A ** * B", "syntax@* B"},
        {"TRUE", "syntax@TRUE"},
        {"LENGTH X", "syntax@X"},
        {"ADDRESS OF 5", "syntax@5"},
        {"X.", "syntax@."},
    });
}

TEST(CobolGrammar, DeepNestingIsRefusedNotOverflowed)
{
    TestHost host(false);
    ASSERT_TRUE(host.install());
    // One level for each parenthesis and one for the expression inside: the
    // deepest tree allowed fits.
    const unsigned most = maxExpressionDepth - 1;
    std::string fits = std::string(most, '(') + "A" + std::string(most, ')');
    EXPECT_EQ(parse(fits).result.substr(0, 7), "(paren ");
    std::string over = std::string(most + 1, '(') + "A" + std::string(most + 1, ')');
    EXPECT_EQ(parse(over).result, "code9@<end>");
    // Far deeper text is refused the same way, before the stack runs out.
    std::string deep = std::string(100000, '(') + "A" + std::string(100000, ')');
    EXPECT_EQ(parse(deep).result, "code9@<end>");
    // The limit is per parse: the next parse starts at the top again.
    EXPECT_EQ(parse("(A)").result, "(paren A)");
}

TEST(CobolGrammar, NamesAreResolvedWithTheirQualifiers)
{
    TestHost host(false);
    ASSERT_TRUE(host.install());
    struct NameCase {
        const char* text;
        const char* tree;
        std::vector<std::string> lookups;
    } cases[] = {
        {"x", "X", {"X"}},
        {"S OF G", "(. G S)", {"S|G"}},
        {"s in g", "(. G S)", {"S|G"}},
        {"S", "(. G S)", {"S"}},
        {"F OF R IN G", "(. (. G R) F)", {"F|R|G"}},
        // Full-width lower-case letters resolve as the full-width upper case.
        {"\xEF\xBD\x81\xEF\xBD\x82", "\xEF\xBC\xA1\xEF\xBC\xA2", {"\xEF\xBC\xA1\xEF\xBC\xA2"}},
        // A full-width qualifier is not folded: G is not found.
        {"S OF \xEF\xBD\x87", "code3@S", {"S|\xEF\xBD\x87"}},
        {"UNKNOWN + 1", "code3@UNKNOWN", {"UNKNOWN"}},
        {"unknown-x", "code3@UNKNOWN-X", {"UNKNOWN-X"}},
        {"S OF R", "code3@S", {"S|R"}},
        // OF or IN not followed by a data name.
        {"X OF 5", "code3@X", {}},
        {"X IN", "code3@X", {}},
        {"X OF ZERO", "code3@X", {}},
        // Each name is looked up once.
        {"A + B * A", "(+ A (* B A))", {"A", "B", "A"}},
    };
    for (const NameCase& c : cases) {
        Outcome o = parse(c.text);
        EXPECT_EQ(o.result, c.tree) << c.text;
        EXPECT_EQ(o.lookups, c.lookups) << c.text;
    }
}

TEST(CobolGrammar, SubscriptsAreDistributedOverQualifiers)
{
    check({
        // One subscript per table level, the outermost first.
        {"E OF R OF G (1 2)", "(() (. (() (. G R) 1) E) 2)"},
        {"E(1, 2)", "(() (. (() (. G R) 1) E) 2)"},
        {"E(1; 2)", "(() (. (() (. G R) 1) E) 2)"},
        {"E(I J)", "(() (. (() (. G R) I) E) J)"},
        {"E(I 'A')", "(() (. (() (. G R) I) E) 'A')"},
        // The first subscript is an expression; the others are relative.
        {"E(I + 1, J - 2)", "(() (. (() (. G R) (+ I 1)) E) (- J 2))"},
        {"E((I) J + 1)", "(() (. (() (. G R) (paren I)) E) (+ J 1))"},
        {"F(3)", "(. (() (. G R) 3) F)"},
        {"ADDRESS OF F(3)", "(& (. (() (. G R) 3) F))"},
        // Reference modification, alone and after subscripts.
        {"X(2:3)", "(refmod length (refmod X 2) 3)"},
        {"X(2:)", "(refmod X 2)"},
        {"X(A + 1 : B * 2)", "(refmod length (refmod X (+ A 1)) (* B 2))"},
        {"E(1 2)(3:4)", "(refmod length (refmod (() (. (() (. G R) 1) E) 2) 3) 4)"},
        {"E(1, 2)(3:)", "(refmod (() (. (() (. G R) 1) E) 2) 3)"},
        {"MOVE E(1 2) TO F(1)", "(= (. (() (. G R) 1) F) (() (. (() (. G R) 1) E) 2))"},
        // Too many subscripts, and subscripts where no level is a table.
        {"E(1 2 3)", "code8@(() (. (() (. G R) 1) E) 2)"},
        {"X(1)", "code9@X"},
        {"T(1)", "code9@T"},
        {"S(1)", "code9@(. G S)"},
        // A member without a type cannot be subscripted.
        {"NT(1)", "code2@null"},
        // Syntax inside the parentheses.
        {"E(1 +)", "syntax@)"},
        {"E(1 2", "syntax@<end>"},
        {"E(1,)", "syntax@)"},
        {"E(1 2)(3)", "syntax@)"},
        {"E(1 ADDRESS OF X)", "syntax@ADDRESS OF X)"},
        {"E(1, ZERO)", "syntax@ZERO)"},
        {"E(I + 1 J * 2)", "syntax@* 2)"},
        {"X(1:2", "syntax@<end>"},
        // Every literal form may be a subscript; a first subscript is a whole
        // expression.
        {"E(1 X'01')", "(() (. (() (. G R) 1) E) X'01')"},
        {"E(1 = 2)", "(. (() (. G R) (== 1 2)) E)"},
    });
}

TEST(CobolGrammar, CobolSignaturesOfTheTree)
{
    TestHost host(false);
    ASSERT_TRUE(host.install());
    struct SignatureCase {
        const char* text;
        const char* full;
    } cases[] = {
        {"A + B", "A"},
        {"ADDRESS OF X", "ADDRESS OF X"},
        {"LENGTH OF X", "sizeof(X)"},
        {"- A", "-A"},
        {"NOT A", "!A"},
        {"S OF G", "S"},
        {"E(1 2)", "E"},
        {"(A)", "(A)"},
        {"CALL P USING A B", "P(B, A)"},
    };
    for (const SignatureCase& c : cases) {
        CobolTestServices services(dataDivision());
        fixtures::Language cobol(EE_LanguageCobol);
        EE_Parser parser(services, 0);
        EE_Expression* root = parser.parseTheExpression(c.text, 0);
        EXPECT_EQ(std::string(root->signature(1).data()), c.full) << c.text;
    }
}

namespace {

// The value of a tree of numeric literals: arithmetic in double, conditions
// as 1 or 0.
double evaluate(const EE_Expression* e)
{
    if (const EE_LiteralExpression* l = e->asLiteralExpression())
        return std::strtod(l->signature(0).data(), nullptr);
    if (const EE_ParenthesesExpression* p = e->asParenthesesExpression())
        return evaluate(p->inner);
    if (const EE_UnaryExpression* u = e->asUnaryExpression()) {
        double v = evaluate(u->operand);
        switch (u->kind) {
        case EE_UnaryExpression::Negate: return -v;
        case EE_UnaryExpression::UnaryPlus: return v;
        case EE_UnaryExpression::LogicalNot: return v == 0;
        default: break;
        }
    }
    if (const EE_BinaryExpression* b = e->asBinaryExpression()) {
        double l = evaluate(b->left);
        double r = evaluate(b->right);
        switch (b->kind) {
        case EE_BinaryExpression::Add: return l + r;
        case EE_BinaryExpression::Subtract: return l - r;
        case EE_BinaryExpression::Multiply: return l * r;
        case EE_BinaryExpression::Divide: return l / r;
        case EE_BinaryExpression::Power: return std::pow(l, r);
        case EE_BinaryExpression::Equal: return l == r;
        case EE_BinaryExpression::NotEqual: return l != r;
        case EE_BinaryExpression::Less: return l < r;
        case EE_BinaryExpression::Greater: return l > r;
        case EE_BinaryExpression::LessOrEqual: return l <= r;
        case EE_BinaryExpression::GreaterOrEqual: return l >= r;
        case EE_BinaryExpression::LogicalAnd: return l != 0 && r != 0;
        case EE_BinaryExpression::LogicalOr: return l != 0 || r != 0;
        default: break;
        }
    }
    ADD_FAILURE() << "cannot evaluate " << cobolTree(e);
    return NAN;
}

} // namespace

// Values that GnuCOBOL's COMPUTE and IF give for the same texts (with the
// data items A = 1, B = 2, C = 3 written as literals), frozen here: the trees
// must group the operators as COBOL does.
TEST(CobolGrammar, GroupingAgreesWithCobolEvaluation)
{
    TestHost host(false);
    ASSERT_TRUE(host.install());
    struct ValueCase {
        const char* text;
        double value;
    } cases[] = {
        {"10 - 4 - 3", 3},
        {"100 / 10 / 5", 2},
        {"2 + 3 * 4", 14},
        {"- 2 ** 2", 4},
        {"2 * 3 ** 2", 18},
        {"(2 + 3) * 4", 20},
        {"2 ** - 1", 0.5},
        {"8 / 2 * 3 - 1", 11},
        {"2 - 3 + 4 * 2 ** 2 / 8", 1},
        {"1 = 1 OR 1 = 2 AND 1 = 3", 1},
        {"1 = 2 AND 1 = 2 OR 1 = 1", 1},
        {"1 NOT < 2", 0},
        {"2 NOT > 1", 0},
        {"1 NOT = 2", 1},
        {"2 NOT < 2", 1},
        {"1 + 1 = 2 AND 3 > 2", 1},
        {"1 < 2 OR 3 < 1 AND 2 = 1", 1},
    };
    for (const ValueCase& c : cases) {
        CobolTestServices services;
        EE_Parser parser(services, 0);
        EXPECT_DOUBLE_EQ(evaluate(parser.parseTheExpression(c.text, 0)), c.value) << c.text;
    }
}

TEST(CobolLexer, ReplaysLexedTokensWithoutNewLookups)
{
    CobolTestServices services(dataDivision());
    EE_Parser parser(services, 0);
    parser.preprocess("A + S OF G");
    ASSERT_EQ(parser.count(), 6u); // A + S OF G <end>
    Cobol_Lexer lexer(parser.tokens(), services, parser, parser.count());
    Cobol_Parser_LL_Universe universe(&services, &lexer);
    EXPECT_EQ(lexer.firstToken()->kind, static_cast<unsigned>(EE_Token::OtherName));

    unsigned kind = 0;
    Parser_LL_BackupInfo<Cobol_Lexer>* mark = universe.backupInformation();
    universe.getToken(kind);
    EXPECT_EQ(kind, static_cast<unsigned>(EE_Token::Plus));
    universe.getToken(kind);
    // The qualified name is one token; its spelling is the first name's.
    EXPECT_EQ(kind, static_cast<unsigned>(EE_Token::OtherName));
    EXPECT_EQ(std::string(universe.lex_current()->spelling, universe.lex_current()->length), "S");
    universe.getToken(kind);
    EXPECT_EQ(kind, static_cast<unsigned>(EE_Token::EndOfText));
    EXPECT_EQ(services.lookups, (std::vector<std::string>{"A", "S|G"}));

    EXPECT_EQ(universe.backup(*mark), static_cast<unsigned>(EE_Token::OtherName));
    universe.getToken(kind);
    universe.getToken(kind);
    universe.getToken(kind);
    EXPECT_EQ(kind, static_cast<unsigned>(EE_Token::EndOfText));
    EXPECT_EQ(services.lookups.size(), 2u);

    // Past the end the input stays on the end token, until the slots run out.
    EXPECT_EQ(fixtures::exceptionCode([&] {
                  for (int i = 0; i < 10; ++i) {
                      universe.getToken(kind);
                      EXPECT_EQ(kind, static_cast<unsigned>(EE_Token::EndOfText));
                  }
              }),
              2);
}

TEST(CobolLexer, AdvancingOntoAnUnlexedSlotFromElsewhereIsRefused)
{
    CobolTestServices services(dataDivision());
    EE_Parser parser(services, 0);
    parser.preprocess("A B C");
    Cobol_Lexer lexer(parser.tokens(), services, parser, parser.count());
    EE_Token* first = lexer.firstToken();
    // Only the last lexed slot may step onto a new one.
    lexer.setCurrentSlot(first + 1);
    EXPECT_EQ(fixtures::exceptionCode([&] { lexer.advance(); }), 2);
    lexer.setCurrentSlot(first);
    lexer.advance();
    EXPECT_EQ(std::string(lexer.currentSlot()->spelling, 1), "B");
    EXPECT_EQ(lexer.currentSlot(), lexer.lastLexedSlot());
}

TEST(CobolGrammarBinding, TheCompanionIsBoundByNameAndItsAbsenceIsAnError)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows evaluator carries the grammar inside itself";
#endif
    Cobol_Parser_LL_ParseEntry entry = Cobol_GrammarBinding::entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(Cobol_GrammarBinding::bind(Cobol_GrammarBinding::LibraryName), entry);
    EXPECT_EQ(Cobol_GrammarBinding::require(), entry);

    EXPECT_EQ(Cobol_GrammarBinding::bind(L"norvexacobol_absent"), nullptr);
    try {
        Cobol_GrammarBinding::require(L"norvexacobol_absent");
        ADD_FAILURE() << "a missing grammar library was accepted";
    } catch (const EE_ParseException& e) {
        EXPECT_EQ(e.code, 7u);
        ASSERT_NE(e.position, nullptr);
        EXPECT_NE(std::string(e.position).find("libnorvexacobol.so"), std::string::npos);
    }
}

namespace {
int otherVersion()
{
    return Cobol_Parser_LL_InterfaceVersion + 1;
}
int thisVersion()
{
    return Cobol_Parser_LL_InterfaceVersion;
}
} // namespace

TEST(CobolGrammarBinding, OnlyACompanionOfThisInterfaceVersionIsBound)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows evaluator carries the grammar inside itself";
#endif
    EXPECT_TRUE(Cobol_GrammarBinding::compatible(&thisVersion));
    EXPECT_FALSE(Cobol_GrammarBinding::compatible(&otherVersion));
    EXPECT_FALSE(Cobol_GrammarBinding::compatible(nullptr)) << "a companion that tells no version";
    // The companion built with this library tells the same version.
    auto version = reinterpret_cast<Cobol_Parser_LL_VersionEntry>(
        Engine_Loader::instance().loadEntryPoint(FileName(Cobol_GrammarBinding::LibraryName),
                                                 EncodedString(Cobol_GrammarBinding::VersionEntryName, Encoding_UTF8)));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), Cobol_Parser_LL_InterfaceVersion);
}

TEST(CobolGrammarBinding, TheEntryParsesAUniverseDirectly)
{
    TestHost host(false);
    ASSERT_TRUE(host.install());
    CobolTestServices services(dataDivision());
    EE_Parser parser(services, 0);
    parser.preprocess("A +");
    Cobol_Lexer* lexer = new (services.storageArena()) Cobol_Lexer(parser.tokens(), services, parser, parser.count());
    lexer->firstToken();
    Cobol_Parser_LL_Universe universe(&services, lexer);
    // A failed parse leaves no expression and the position of the error (the
    // end, which has none).
    EXPECT_FALSE(Cobol_GrammarBinding::entry()(universe));
    EXPECT_EQ(universe.expression(), nullptr);
    EXPECT_EQ(universe.getSyntaxError(), nullptr);
}
