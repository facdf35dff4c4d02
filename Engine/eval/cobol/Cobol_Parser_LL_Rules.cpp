// The rules of the COBOL grammar and its parse entry. Each rule's production
// stands above it; keywords in capitals are the reserved words, `name` a
// resolved data name (with its OF and IN qualifiers already folded in by the
// lexer), `literal` any literal form and `figurative` a figurative constant.

#include <cctype>
#include <memory>
#include <string>

#include "Cobol_Parser_LL.h"
#include "NorvexaExport.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Token.h"

#include <plomkit/ThreadOwned.h>

namespace {

// Token kinds of the COBOL reserved words and operators.
enum : unsigned {
    KLiteral = EE_Token::Literal,
    KFalse = EE_Token::KwFalse,
    KTrue = EE_Token::KwTrue,
    KPlus = EE_Token::Plus,
    KMinus = EE_Token::Minus,
    KStar = EE_Token::Star,
    KSlash = EE_Token::Slash,
    KAnd = EE_Token::Ampersand,
    KOr = EE_Token::Bar,
    KNot = EE_Token::Exclaim,
    KLess = EE_Token::Less,
    KGreater = EE_Token::Greater,
    KComma = EE_Token::Comma,
    KLessEqual = EE_Token::LessEqual,
    KGreaterEqual = EE_Token::GreaterEqual,
    KLeftParen = EE_Token::LeftParen,
    KRightParen = EE_Token::RightParen,
    KColon = EE_Token::Colon,
    KEqual = EE_Token::Assign,
    KEnd = EE_Token::EndOfText,
    KName = EE_Token::OtherName,
    KPower = EE_Token::CobolPower,
    KAll = 101,
    KHexLiteral = 102,
    KOf = 107,
    KMove = 111,
    KTo = 112,
    KCompute = 113,
    KDbcsLiteral = 114,
    KNullTerminatedLiteral = 118,
    KSet = 119,
    KSemicolon = EE_Token::CobolSemicolon,
    KAddress = 127,
    KCall = 128,
    KUsing = 129,
    KBy = 130,
    KReference = 131,
    KContent = 132,
    KLength = 133,
    // The figurative constants ZERO and ZEROS (ZEROES).
    KZero = 125,
    KZeros = 110,
    // A reserved word of a form this grammar does not take.
    KUnsupported = EE_Token::NoToken
};

bool isLiteralKind(unsigned kind)
{
    return kind == KLiteral || kind == KHexLiteral || (kind >= KDbcsLiteral && kind <= KNullTerminatedLiteral);
}

bool isFigurativeKind(unsigned kind)
{
    switch (kind) {
    case 103:
    case 105:
    case 106:
    case 108:
    case 109:
    case 110:
    case 120:
    case 121:
    case 122:
    case 123:
    case 124:
    case 125: return true;
    default: return false;
    }
}

bool isName(unsigned kind)
{
    return EE_Token::isNameKind(kind);
}

bool isRelationalOperator(unsigned kind)
{
    return kind == KEqual || kind == KLess || kind == KGreater || kind == KLessEqual || kind == KGreaterEqual;
}

// The word at the start of a text, in upper case.
std::string upperWord(const char* text)
{
    std::string word;
    for (const char* p = text; p != nullptr && (std::isalnum(static_cast<unsigned char>(*p)) || *p == '-'); ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return word;
}

// Refuses a form of COBOL that this grammar does not take, as a syntax error
// at the given place of the text whose message says that the form is not
// supported (rather than leaving the words to be looked up as data names).
[[noreturn]] void refuseForm(const char* at, const char* what)
{
    // The build's failure copies the text before the next refusal on this
    // thread.
    std::string& text = threadOwned<std::string>([] {});
    text = at != nullptr ? at : "";
    text += " (";
    text += what;
    text += " not supported)";
    throw EE_ParseException(EE_ParseException::SyntaxError, text.c_str());
}

// Refuses the reserved word of an unsupported form at the current token,
// naming the form by the words that start there (IS and NOT looked over).
[[noreturn]] void refuseUnsupportedWord(const char* at)
{
    const char* p = at;
    std::string word = upperWord(p);
    while (word == "IS" || word == "NOT") {
        p += word.size();
        while (*p == ' ' || *p == '\t')
            ++p;
        word = upperWord(p);
    }
    if (word == "NUMERIC" || word.rfind("ALPHABETIC", 0) == 0)
        refuseForm(at, "class conditions are");
    if (word == "POSITIVE" || word == "NEGATIVE" || word == "ZERO" || word == "ZEROS" || word == "ZEROES")
        refuseForm(at, "sign conditions are");
    if (word == "ROUNDED")
        refuseForm(at, "ROUNDED is");
    refuseForm(at, "relations written in words (IS, EQUAL TO, GREATER THAN, LESS THAN) are");
}

// ZERO, ZEROS or ZEROES where a relational operator or the end of the
// condition belongs (A ZERO, A NOT ZERO) starts a sign condition.
void refuseSignCondition(Cobol_Universe& u, unsigned kind)
{
    if (kind == KZero || kind == KZeros)
        refuseForm(u.lex_current()->spelling, "sign conditions are");
}

// One level of nesting (parentheses, subscripts, reference modification,
// COMPUTE within COMPUTE) for as long as a rule runs; deeper text than the
// deepest syntax tree is refused as nesting too deeply.
using NestingLevel = Cobol_Universe::NestingLevel;

// After AND or OR (and a NOT): a relational operator here begins an
// abbreviated combined relation (A = 5 OR > 8), which this grammar does not
// take; the analysis refuses the other abbreviated forms (A = 5 OR 6).
void refuseAbbreviatedRelation(Cobol_Universe& u, unsigned kind)
{
    if (isRelationalOperator(kind))
        refuseForm(u.lex_current()->spelling, "abbreviated combined relations are");
    if (kind == KNot) {
        const char* p = u.lex_current()->spelling + u.lex_current()->length;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '=' || *p == '<' || *p == '>')
            refuseForm(u.lex_current()->spelling, "abbreviated combined relations are");
    }
}

// name IdentifierTail, with the current token a name.
bool qualifiedName(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (!isName(kind))
        return u.failSyntax();
    EE_Expression* name = Cobol_Parser_LL_createNameExpr(u, *u.lex_current());
    u.getToken(kind);
    return Cobol_Parser_LL_nonterminalSymbol_IdentifierTail(u, kind, name, result);
}

// OF name IdentifierTail, after ADDRESS or LENGTH.
bool ofQualifiedName(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    return u.expect(kind, KOf) && qualifiedName(u, kind, result);
}

// AdditiveExpr RelationalExprTail: an operand of the equality level.
bool comparisonOperand(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_Expression* operand = nullptr;
    return Cobol_Parser_LL_nonterminalSymbol_AdditiveExpr(u, kind, operand) &&
           Cobol_Parser_LL_nonterminalSymbol_RelationalExprTail(u, kind, operand, result);
}

// UnaryExpr PowerExprTail: an operand of the multiplicative level.
bool powerOperand(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_Expression* operand = nullptr;
    return Cobol_Parser_LL_nonterminalSymbol_UnaryExpr(u, kind, operand) &&
           Cobol_Parser_LL_nonterminalSymbol_PowerExprTail(u, kind, operand, result);
}

// UnaryExpr PowerExprTail MultiplicativeExprTail: an operand of the additive
// level.
bool multiplicativeOperand(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_Expression* operand = nullptr;
    return powerOperand(u, kind, operand) &&
           Cobol_Parser_LL_nonterminalSymbol_MultiplicativeExprTail(u, kind, operand, result);
}

} // namespace

// The version of the seam this grammar was built for; the evaluator checks it
// before binding the parse entry.
extern "C" NORVEXA_API int Cobol_Parser_LL_interfaceVersion()
{
    return Cobol_Parser_LL_InterfaceVersion;
}

// Interface_Expression -> Statement <end>
extern "C" NORVEXA_API bool Cobol_Parser_LL_parse_Interface_Expression(Cobol_Parser_LL_Universe& u)
{
    unsigned kind = u.currentKind();
    EE_Expression* tree = nullptr;
    if (Cobol_Parser_LL_nonterminalSymbol_Statement(u, kind, tree)) {
        if (kind == KEnd || u.appropriateEndToken(kind)) {
            Cobol_Parser_LL_setExpression(u, tree);
            return true;
        }
        u.registerSyntaxError();
    }
    u.parseFailure();
    // A parse that stops at the word of an unsupported form says so.
    if (u.currentKind() == KUnsupported)
        refuseUnsupportedWord(u.lex_current()->spelling);
    return false;
}

// Statement -> MOVE SendingOperand TO Identifier
//            | COMPUTE Identifier "=" Statement
//            | SET Identifier TO SetSource
//            | CALL ProgramName UsingClause
//            | Expression
bool Cobol_Parser_LL_nonterminalSymbol_Statement(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_Expression* target = nullptr;
    EE_Expression* value = nullptr;
    switch (kind) {
    case KMove:
        u.getToken(kind);
        if (!Cobol_Parser_LL_nonterminalSymbol_SendingOperand(u, kind, value) || !u.expect(kind, KTo) ||
            !Cobol_Parser_LL_nonterminalSymbol_Identifier(u, kind, target))
            return false;
        result = Cobol_Parser_LL_createMoveExpr(u, target, value);
        return true;
    case KCompute: {
        // COMPUTE within COMPUTE nests one level for each.
        NestingLevel level(u);
        if (!level.allowed())
            return false;
        u.getToken(kind);
        if (!Cobol_Parser_LL_nonterminalSymbol_Identifier(u, kind, target) || !u.expect(kind, KEqual) ||
            !Cobol_Parser_LL_nonterminalSymbol_Statement(u, kind, value))
            return false;
        result = Cobol_Parser_LL_createComputeExpr(u, target, value);
        return true;
    }
    case KSet:
        u.getToken(kind);
        if (!Cobol_Parser_LL_nonterminalSymbol_Identifier(u, kind, target) || !u.expect(kind, KTo) ||
            !Cobol_Parser_LL_nonterminalSymbol_SetSource(u, kind, value))
            return false;
        result = Cobol_Parser_LL_createSetExpr(u, target, value);
        return true;
    case KCall: {
        u.getToken(kind);
        EE_Parameter* arguments = nullptr;
        if (!Cobol_Parser_LL_nonterminalSymbol_ProgramName(u, kind, target) ||
            !Cobol_Parser_LL_nonterminalSymbol_UsingClause(u, kind, arguments))
            return false;
        result = Cobol_Parser_LL_createCallExpr(u, target, arguments);
        return true;
    }
    default: return Cobol_Parser_LL_nonterminalSymbol_Expression(u, kind, result);
    }
}

// Expression -> AndExpr OrExprTail
bool Cobol_Parser_LL_nonterminalSymbol_Expression(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    NestingLevel level(u);
    if (!level.allowed())
        return false;
    EE_Expression* left = nullptr;
    return Cobol_Parser_LL_nonterminalSymbol_AndExpr(u, kind, left) &&
           Cobol_Parser_LL_nonterminalSymbol_OrExprTail(u, kind, left, result);
}

// OrExprTail -> OR AndExpr OrExprTail | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_OrExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                  EE_Expression*& result)
{
    while (kind == KOr) {
        u.getToken(kind);
        refuseAbbreviatedRelation(u, kind);
        EE_Expression* right = nullptr;
        if (!Cobol_Parser_LL_nonterminalSymbol_AndExpr(u, kind, right))
            return false;
        left = Cobol_Parser_LL_createBinaryExpr(u, EE_BinaryExpression::LogicalOr, left, right);
    }
    result = left;
    return true;
}

// [NOT] AdditiveExpr RelationalExprTail EqualityExprTail: one condition of the
// AND level. A NOT in front negates the whole relation after it: arithmetic
// and the relations bind tighter than NOT, so NOT A = B is A NOT = B, as a
// COBOL program reads it, and never (NOT A) = B.
static bool negatableCondition(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    const bool negated = kind == KNot;
    if (negated)
        u.getToken(kind);
    EE_Expression* relation = nullptr;
    EE_Expression* equality = nullptr;
    if (!comparisonOperand(u, kind, relation) ||
        !Cobol_Parser_LL_nonterminalSymbol_EqualityExprTail(u, kind, relation, equality))
        return false;
    result = negated ? Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::LogicalNot, equality) : equality;
    return true;
}

// AndExpr -> [NOT] AdditiveExpr RelationalExprTail EqualityExprTail AndExprTail
bool Cobol_Parser_LL_nonterminalSymbol_AndExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_Expression* condition = nullptr;
    return negatableCondition(u, kind, condition) &&
           Cobol_Parser_LL_nonterminalSymbol_AndExprTail(u, kind, condition, result);
}

// AndExprTail -> AND [NOT] AdditiveExpr RelationalExprTail EqualityExprTail AndExprTail | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_AndExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                   EE_Expression*& result)
{
    while (kind == KAnd) {
        u.getToken(kind);
        refuseAbbreviatedRelation(u, kind);
        EE_Expression* right = nullptr;
        if (!negatableCondition(u, kind, right))
            return false;
        left = Cobol_Parser_LL_createBinaryExpr(u, EE_BinaryExpression::LogicalAnd, left, right);
    }
    result = left;
    return true;
}

// EqualityExprTail -> "=" AdditiveExpr RelationalExprTail EqualityExprTail
//                   | NOT NotRelationalTail
//                   | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_EqualityExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                        EE_Expression*& result)
{
    for (;;) {
        if (kind == KEqual) {
            u.getToken(kind);
            EE_Expression* right = nullptr;
            if (!comparisonOperand(u, kind, right))
                return false;
            left = Cobol_Parser_LL_createBinaryExpr(u, EE_BinaryExpression::Equal, left, right);
            continue;
        }
        if (kind == KNot) {
            // A negated relation ends the equality level.
            u.getToken(kind);
            return Cobol_Parser_LL_nonterminalSymbol_NotRelationalTail(u, kind, left, result);
        }
        refuseSignCondition(u, kind);
        result = left;
        return true;
    }
}

// NotRelationalTail -> "<" AdditiveExpr RelationalExprTail   (not less: >=)
//                    | ">" AdditiveExpr RelationalExprTail   (not greater: <=)
//                    | "=" AdditiveExpr RelationalExprTail   (not equal)
// NOT negates the one relational operator written after it, as in COBOL;
// "<=" and ">=" take no NOT.
bool Cobol_Parser_LL_nonterminalSymbol_NotRelationalTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                         EE_Expression*& result)
{
    EE_BinaryExpression::Kind negated;
    switch (kind) {
    case KLess: negated = EE_BinaryExpression::GreaterOrEqual; break;
    case KGreater: negated = EE_BinaryExpression::LessOrEqual; break;
    case KEqual: negated = EE_BinaryExpression::NotEqual; break;
    default: refuseSignCondition(u, kind); return u.failSyntax();
    }
    u.getToken(kind);
    EE_Expression* right = nullptr;
    if (!comparisonOperand(u, kind, right))
        return false;
    result = Cobol_Parser_LL_createBinaryExpr(u, negated, left, right);
    return true;
}

// RelationalExprTail -> "<" AdditiveExpr RelationalExprTail
//                     | ">" AdditiveExpr RelationalExprTail
//                     | "<=" AdditiveExpr RelationalExprTail
//                     | ">=" AdditiveExpr RelationalExprTail
//                     | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_RelationalExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                          EE_Expression*& result)
{
    for (;;) {
        EE_BinaryExpression::Kind op;
        switch (kind) {
        case KLess: op = EE_BinaryExpression::Less; break;
        case KGreater: op = EE_BinaryExpression::Greater; break;
        case KLessEqual: op = EE_BinaryExpression::LessOrEqual; break;
        case KGreaterEqual: op = EE_BinaryExpression::GreaterOrEqual; break;
        default: result = left; return true;
        }
        u.getToken(kind);
        EE_Expression* right = nullptr;
        if (!Cobol_Parser_LL_nonterminalSymbol_AdditiveExpr(u, kind, right))
            return false;
        left = Cobol_Parser_LL_createBinaryExpr(u, op, left, right);
    }
}

// AdditiveExpr -> UnaryExpr PowerExprTail MultiplicativeExprTail AdditiveExprTail
bool Cobol_Parser_LL_nonterminalSymbol_AdditiveExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_Expression* left = nullptr;
    return multiplicativeOperand(u, kind, left) &&
           Cobol_Parser_LL_nonterminalSymbol_AdditiveExprTail(u, kind, left, result);
}

// AdditiveExprTail -> "+" UnaryExpr PowerExprTail MultiplicativeExprTail AdditiveExprTail
//                   | "-" UnaryExpr PowerExprTail MultiplicativeExprTail AdditiveExprTail
//                   | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_AdditiveExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                        EE_Expression*& result)
{
    while (kind == KPlus || kind == KMinus) {
        EE_BinaryExpression::Kind op = kind == KPlus ? EE_BinaryExpression::Add : EE_BinaryExpression::Subtract;
        u.getToken(kind);
        EE_Expression* right = nullptr;
        if (!multiplicativeOperand(u, kind, right))
            return false;
        left = Cobol_Parser_LL_createBinaryExpr(u, op, left, right);
    }
    result = left;
    return true;
}

// MultiplicativeExprTail -> "*" UnaryExpr PowerExprTail MultiplicativeExprTail
//                         | "/" UnaryExpr PowerExprTail MultiplicativeExprTail
//                         | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_MultiplicativeExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                              EE_Expression*& result)
{
    while (kind == KStar || kind == KSlash) {
        EE_BinaryExpression::Kind op = kind == KStar ? EE_BinaryExpression::Multiply : EE_BinaryExpression::Divide;
        u.getToken(kind);
        EE_Expression* right = nullptr;
        if (!powerOperand(u, kind, right))
            return false;
        left = Cobol_Parser_LL_createBinaryExpr(u, op, left, right);
    }
    result = left;
    return true;
}

// PowerExprTail -> "**" UnaryExpr PowerExprTail | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_PowerExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                     EE_Expression*& result)
{
    while (kind == KPower) {
        u.getToken(kind);
        EE_Expression* right = nullptr;
        if (!Cobol_Parser_LL_nonterminalSymbol_UnaryExpr(u, kind, right))
            return false;
        left = Cobol_Parser_LL_createBinaryOpPowerExpr(u, left, right);
    }
    result = left;
    return true;
}

// UnaryExpr -> "+" PrimaryExpr | "-" PrimaryExpr | NOT PrimaryExpr | PrimaryExpr
bool Cobol_Parser_LL_nonterminalSymbol_UnaryExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    EE_UnaryExpression::Kind op;
    switch (kind) {
    case KPlus: op = EE_UnaryExpression::UnaryPlus; break;
    case KMinus: op = EE_UnaryExpression::Negate; break;
    case KNot: op = EE_UnaryExpression::LogicalNot; break;
    default: return Cobol_Parser_LL_nonterminalSymbol_PrimaryExpr(u, kind, result);
    }
    u.getToken(kind);
    EE_Expression* operand = nullptr;
    if (!Cobol_Parser_LL_nonterminalSymbol_PrimaryExpr(u, kind, operand))
        return false;
    result = Cobol_Parser_LL_createUnaryExpr(u, op, operand);
    return true;
}

// PrimaryExpr -> LiteralOrFigurativeConstant       (ALL allowed)
//              | "(" Expression ")"
//              | Identifier
//              | LENGTH OF name IdentifierTail
bool Cobol_Parser_LL_nonterminalSymbol_PrimaryExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (isLiteralKind(kind) || isFigurativeKind(kind) || kind == KAll)
        return Cobol_Parser_LL_nonterminalSymbol_LiteralOrFigurativeConstant(u, kind, true, result);
    if (kind == KLeftParen) {
        u.getToken(kind);
        EE_Expression* inner = nullptr;
        if (!Cobol_Parser_LL_nonterminalSymbol_Expression(u, kind, inner) || !u.expect(kind, KRightParen))
            return false;
        result = Cobol_Parser_LL_createParenthesesExpr(u, inner);
        return true;
    }
    if (kind == KLength) {
        u.getToken(kind);
        EE_Expression* operand = nullptr;
        if (!ofQualifiedName(u, kind, operand))
            return false;
        result = Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::SizeofOperand, operand);
        return true;
    }
    if (isName(kind) || kind == KAddress)
        return Cobol_Parser_LL_nonterminalSymbol_Identifier(u, kind, result);
    return u.failSyntax();
}

// Literal -> literal
bool Cobol_Parser_LL_nonterminalSymbol_Literal(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (!isLiteralKind(kind))
        return u.failSyntax();
    result = Cobol_Parser_LL_createLiteralExpr(u, *u.lex_current());
    u.getToken(kind);
    return true;
}

// FigurativeConstant -> figurative
bool Cobol_Parser_LL_nonterminalSymbol_FigurativeConstant(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (!isFigurativeKind(kind))
        return u.failSyntax();
    result = Cobol_Parser_LL_createFigConstantExpr(u, *u.lex_current());
    u.getToken(kind);
    return true;
}

// LiteralOrFigurativeConstant -> Literal | FigurativeConstant
//                              | ALL FigurativeConstant   (where ALL is allowed)
// ALL adds nothing to the tree.
bool Cobol_Parser_LL_nonterminalSymbol_LiteralOrFigurativeConstant(Cobol_Universe& u, unsigned& kind, bool allAllowed,
                                                                   EE_Expression*& result)
{
    if (kind == KAll && allAllowed) {
        const char* all = u.lex_current()->spelling;
        u.getToken(kind);
        if (isLiteralKind(kind))
            refuseForm(all, "ALL with a literal is");
        return Cobol_Parser_LL_nonterminalSymbol_FigurativeConstant(u, kind, result);
    }
    if (isFigurativeKind(kind))
        return Cobol_Parser_LL_nonterminalSymbol_FigurativeConstant(u, kind, result);
    return Cobol_Parser_LL_nonterminalSymbol_Literal(u, kind, result);
}

// Identifier -> name IdentifierTail | ADDRESS OF name IdentifierTail
bool Cobol_Parser_LL_nonterminalSymbol_Identifier(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (kind == KAddress) {
        u.getToken(kind);
        EE_Expression* operand = nullptr;
        if (!ofQualifiedName(u, kind, operand))
            return false;
        result = Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::AddressOf, operand);
        return true;
    }
    return qualifiedName(u, kind, result);
}

// IdentifierTail -> "(" SubscriptOrRefMod | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_IdentifierTail(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                      EE_Expression*& result)
{
    if (kind != KLeftParen) {
        result = name;
        return true;
    }
    u.getToken(kind);
    return Cobol_Parser_LL_nonterminalSymbol_SubscriptOrRefMod(u, kind, name, result);
}

// SubscriptOrRefMod -> Expression ":" RefModLength
//                    | Expression SubscriptList ")" OptionalRefMod
bool Cobol_Parser_LL_nonterminalSymbol_SubscriptOrRefMod(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                         EE_Expression*& result)
{
    EE_Expression* first = nullptr;
    if (!Cobol_Parser_LL_nonterminalSymbol_Expression(u, kind, first))
        return false;
    if (kind == KColon) {
        u.getToken(kind);
        EE_Expression* start = Cobol_Parser_LL_createRefModExpr(u, name, first);
        return Cobol_Parser_LL_nonterminalSymbol_RefModLength(u, kind, start, result);
    }
    // What may follow the first subscript of a group.
    if (!(isLiteralKind(kind) || kind == KComma || kind == KRightParen || kind == KName || kind == KSemicolon))
        return u.failSyntax();
    Cobol_SubscriptList* made = nullptr;
    if (!Cobol_Parser_LL_nonterminalSymbol_SubscriptList(u, kind, first, made))
        return false;
    std::unique_ptr<Cobol_SubscriptList> list(made);
    if (!u.expect(kind, KRightParen))
        return false;
    EE_Expression* subscripted = Cobol_Parser_LL_createSubscriptExpr(u, name, list.get());
    list.reset();
    return Cobol_Parser_LL_nonterminalSymbol_OptionalRefMod(u, kind, subscripted, result);
}

// SubscriptList -> SubscriptListTail     (with the first subscript already read)
bool Cobol_Parser_LL_nonterminalSymbol_SubscriptList(Cobol_Universe& u, unsigned& kind, EE_Expression* first,
                                                     Cobol_SubscriptList*& result)
{
    std::unique_ptr<Cobol_SubscriptList> list(Cobol_Parser_LL_startSubscriptList(u, first));
    if (!Cobol_Parser_LL_nonterminalSymbol_SubscriptListTail(u, kind, *list))
        return false;
    result = list.release();
    return true;
}

// SubscriptListTail -> Separator Subscript SubscriptListTail
//                    | Subscript SubscriptListTail
//                    | <empty>                         (before ")")
// Separator -> "," | ";"
// Subscript -> literal | name RelativeSubscriptTail
bool Cobol_Parser_LL_nonterminalSymbol_SubscriptListTail(Cobol_Universe& u, unsigned& kind, Cobol_SubscriptList& list)
{
    for (;;) {
        bool separated = false;
        if (kind == KComma || kind == KSemicolon) {
            u.getToken(kind);
            separated = true;
        }
        EE_Expression* subscript = nullptr;
        if (isLiteralKind(kind)) {
            subscript = Cobol_Parser_LL_createLiteralExpr(u, *u.lex_current());
            u.getToken(kind);
        } else if (isName(kind)) {
            EE_Expression* name = Cobol_Parser_LL_createNameExpr(u, *u.lex_current());
            u.getToken(kind);
            if (!Cobol_Parser_LL_nonterminalSymbol_RelativeSubscriptTail(u, kind, name, subscript))
                return false;
        } else if (kind == KRightParen && !separated) {
            return true;
        } else {
            return u.failSyntax();
        }
        Cobol_Parser_LL_appendSubscript(u, list, subscript);
    }
}

// RelativeSubscriptTail -> "+" literal | "-" literal | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_RelativeSubscriptTail(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                             EE_Expression*& result)
{
    if (kind != KPlus && kind != KMinus) {
        result = name;
        return true;
    }
    EE_BinaryExpression::Kind op = kind == KPlus ? EE_BinaryExpression::Add : EE_BinaryExpression::Subtract;
    u.getToken(kind);
    EE_Expression* offset = nullptr;
    if (!Cobol_Parser_LL_nonterminalSymbol_Literal(u, kind, offset))
        return false;
    result = Cobol_Parser_LL_createBinaryExpr(u, op, name, offset);
    return true;
}

// OptionalRefMod -> "(" Expression ":" RefModLength | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_OptionalRefMod(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                      EE_Expression*& result)
{
    if (kind != KLeftParen) {
        result = name;
        return true;
    }
    u.getToken(kind);
    EE_Expression* first = nullptr;
    if (!Cobol_Parser_LL_nonterminalSymbol_Expression(u, kind, first) || !u.expect(kind, KColon))
        return false;
    EE_Expression* start = Cobol_Parser_LL_createRefModExpr(u, name, first);
    return Cobol_Parser_LL_nonterminalSymbol_RefModLength(u, kind, start, result);
}

// RefModLength -> ")" | Expression ")"
bool Cobol_Parser_LL_nonterminalSymbol_RefModLength(Cobol_Universe& u, unsigned& kind, EE_Expression* start,
                                                    EE_Expression*& result)
{
    if (kind == KRightParen) {
        u.getToken(kind);
        result = start;
        return true;
    }
    EE_Expression* length = nullptr;
    if (!Cobol_Parser_LL_nonterminalSymbol_Expression(u, kind, length) || !u.expect(kind, KRightParen))
        return false;
    result = Cobol_Parser_LL_createRefModLengthExpr(u, start, length);
    return true;
}

// SendingOperand -> LiteralOrFigurativeConstant     (ALL not allowed)
//                 | Identifier
//                 | LENGTH OF name IdentifierTail
bool Cobol_Parser_LL_nonterminalSymbol_SendingOperand(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (kind == KAll) {
        // ALL is no sending operand here; with a literal it is a form of its own.
        const char* all = u.lex_current()->spelling;
        u.registerSyntaxError();
        u.getToken(kind);
        if (isLiteralKind(kind))
            refuseForm(all, "ALL with a literal is");
        return false;
    }
    if (isLiteralKind(kind) || isFigurativeKind(kind))
        return Cobol_Parser_LL_nonterminalSymbol_LiteralOrFigurativeConstant(u, kind, false, result);
    if (kind == KLength) {
        u.getToken(kind);
        EE_Expression* operand = nullptr;
        if (!ofQualifiedName(u, kind, operand))
            return false;
        result = Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::SizeofOperand, operand);
        return true;
    }
    if (isName(kind) || kind == KAddress)
        return Cobol_Parser_LL_nonterminalSymbol_Identifier(u, kind, result);
    return u.failSyntax();
}

// SetSource -> TRUE | SendingOperand
bool Cobol_Parser_LL_nonterminalSymbol_SetSource(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (kind == KTrue) {
        result = Cobol_Parser_LL_createTrueExpr(u);
        u.getToken(kind);
        return true;
    }
    return Cobol_Parser_LL_nonterminalSymbol_SendingOperand(u, kind, result);
}

// ProgramName -> literal | name IdentifierTail      (the literal an
// alphanumeric or numeric one)
bool Cobol_Parser_LL_nonterminalSymbol_ProgramName(Cobol_Universe& u, unsigned& kind, EE_Expression*& result)
{
    if (kind == KLiteral) {
        result = Cobol_Parser_LL_createLiteralExpr(u, *u.lex_current());
        u.getToken(kind);
        return true;
    }
    return qualifiedName(u, kind, result);
}

// UsingClause -> USING UsingArguments | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_UsingClause(Cobol_Universe& u, unsigned& kind, EE_Parameter*& result)
{
    if (kind != KUsing) {
        result = Cobol_Parser_LL_noParameters(u);
        return true;
    }
    u.getToken(kind);
    return Cobol_Parser_LL_nonterminalSymbol_UsingArguments(u, kind, result);
}

// UsingArguments -> OptionalBy PassingMode
//                 | ReferenceArgument ReferenceArgumentsTail
bool Cobol_Parser_LL_nonterminalSymbol_UsingArguments(Cobol_Universe& u, unsigned& kind, EE_Parameter*& result)
{
    if (kind == KBy || kind == KReference || kind == KContent)
        return Cobol_Parser_LL_nonterminalSymbol_OptionalBy(u, kind) &&
               Cobol_Parser_LL_nonterminalSymbol_PassingMode(u, kind, nullptr, result);
    EE_Parameter* first = nullptr;
    return Cobol_Parser_LL_nonterminalSymbol_ReferenceArgument(u, kind, nullptr, first) &&
           Cobol_Parser_LL_nonterminalSymbol_ReferenceArgumentsTail(u, kind, first, result);
}

// OptionalBy -> BY | <empty>
bool Cobol_Parser_LL_nonterminalSymbol_OptionalBy(Cobol_Universe& u, unsigned& kind)
{
    if (kind == KBy)
        u.getToken(kind);
    return true;
}

// PassingMode -> REFERENCE ReferenceArgument ReferenceArgumentsTail
//              | CONTENT ContentArguments
bool Cobol_Parser_LL_nonterminalSymbol_PassingMode(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                   EE_Parameter*& result)
{
    if (kind == KReference) {
        u.getToken(kind);
        EE_Parameter* last = nullptr;
        return Cobol_Parser_LL_nonterminalSymbol_ReferenceArgument(u, kind, previous, last) &&
               Cobol_Parser_LL_nonterminalSymbol_ReferenceArgumentsTail(u, kind, last, result);
    }
    if (kind == KContent) {
        u.getToken(kind);
        return Cobol_Parser_LL_nonterminalSymbol_ContentArguments(u, kind, previous, result);
    }
    return u.failSyntax();
}

// ReferenceArgument -> name IdentifierTail                (mode 1)
//                    | ADDRESS OF name IdentifierTail     (mode 2)
bool Cobol_Parser_LL_nonterminalSymbol_ReferenceArgument(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                         EE_Parameter*& result)
{
    EE_Expression* argument = nullptr;
    if (kind == KAddress) {
        u.getToken(kind);
        if (!ofQualifiedName(u, kind, argument))
            return false;
        EE_Expression* address = Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::AddressOf, argument);
        result = Cobol_Parser_LL_byReferenceAddressParm(u, address, previous);
        return true;
    }
    if (!qualifiedName(u, kind, argument))
        return false;
    result = Cobol_Parser_LL_byReferenceParm(u, argument, previous);
    return true;
}

// ReferenceArgumentsTail -> Separator ReferenceArgumentsTail'
//                         | ReferenceArgument ReferenceArgumentsTail
//                         | OptionalBy PassingMode
//                         | <empty>
// (after a separator an argument or a passing mode must follow)
bool Cobol_Parser_LL_nonterminalSymbol_ReferenceArgumentsTail(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                              EE_Parameter*& result)
{
    for (;;) {
        bool separated = false;
        if (kind == KComma || kind == KSemicolon) {
            u.getToken(kind);
            separated = true;
        }
        if (kind == KBy || kind == KReference || kind == KContent)
            return Cobol_Parser_LL_nonterminalSymbol_OptionalBy(u, kind) &&
                   Cobol_Parser_LL_nonterminalSymbol_PassingMode(u, kind, previous, result);
        if (isName(kind) || kind == KAddress) {
            if (!Cobol_Parser_LL_nonterminalSymbol_ReferenceArgument(u, kind, previous, previous))
                return false;
            continue;
        }
        if (separated)
            return u.failSyntax();
        result = previous;
        return true;
    }
}

// ContentArguments -> ContentArgument ContentArgumentsTail
bool Cobol_Parser_LL_nonterminalSymbol_ContentArguments(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                        EE_Parameter*& result)
{
    EE_Parameter* last = nullptr;
    return Cobol_Parser_LL_nonterminalSymbol_ContentArgument(u, kind, previous, last) &&
           Cobol_Parser_LL_nonterminalSymbol_ContentArgumentsTail(u, kind, last, result);
}

// ContentArgument -> literal | name IdentifierTail | figurative   (mode 3)
//                  | ADDRESS OF name IdentifierTail                (mode 4)
//                  | LENGTH OF name IdentifierTail                 (mode 3)
bool Cobol_Parser_LL_nonterminalSymbol_ContentArgument(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                       EE_Parameter*& result)
{
    EE_Expression* argument = nullptr;
    if (kind == KAddress) {
        u.getToken(kind);
        if (!ofQualifiedName(u, kind, argument))
            return false;
        EE_Expression* address = Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::AddressOf, argument);
        result = Cobol_Parser_LL_byContentAddressParm(u, address, previous);
        return true;
    }
    if (kind == KLength) {
        u.getToken(kind);
        if (!ofQualifiedName(u, kind, argument))
            return false;
        EE_Expression* length = Cobol_Parser_LL_createUnaryExpr(u, EE_UnaryExpression::SizeofOperand, argument);
        result = Cobol_Parser_LL_byContentParm(u, length, previous);
        return true;
    }
    bool matched = false;
    if (isLiteralKind(kind))
        matched = Cobol_Parser_LL_nonterminalSymbol_Literal(u, kind, argument);
    else if (isFigurativeKind(kind))
        matched = Cobol_Parser_LL_nonterminalSymbol_FigurativeConstant(u, kind, argument);
    else
        matched = qualifiedName(u, kind, argument);
    if (!matched)
        return false;
    result = Cobol_Parser_LL_byContentParm(u, argument, previous);
    return true;
}

// ContentArgumentsTail -> Separator ContentArgumentsTail'
//                       | ContentArgument ContentArgumentsTail
//                       | OptionalBy PassingMode
//                       | <empty>
// (after a separator an argument or a passing mode must follow)
bool Cobol_Parser_LL_nonterminalSymbol_ContentArgumentsTail(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                            EE_Parameter*& result)
{
    for (;;) {
        bool separated = false;
        if (kind == KComma || kind == KSemicolon) {
            u.getToken(kind);
            separated = true;
        }
        if (kind == KBy || kind == KReference || kind == KContent)
            return Cobol_Parser_LL_nonterminalSymbol_OptionalBy(u, kind) &&
                   Cobol_Parser_LL_nonterminalSymbol_PassingMode(u, kind, previous, result);
        if (isLiteralKind(kind) || isFigurativeKind(kind) || isName(kind) || kind == KAddress || kind == KLength) {
            if (!Cobol_Parser_LL_nonterminalSymbol_ContentArgument(u, kind, previous, previous))
                return false;
            continue;
        }
        if (separated)
            return u.failSyntax();
        result = previous;
        return true;
    }
}
