// The expression rules of the C and C++ grammar, from the lowest precedence
// (the comma) to the primary expressions.

#include "frontend/C_Parser.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Token.h"

namespace {

using K = EE_Token::Kind;
using Action = void (*)(C_Parser_LL_Universe&, void*, void*, void*&);
using UnaryAction = void (*)(C_Parser_LL_Universe&, void*, void*&);
using Rule = bool (*)(C_Parser_LL_Universe&, unsigned&, void*&);

// The tokens that may follow a binary operator level: the operators of every
// level, "?", ":", ",", ")", "]", the assignment operators, the end of a
// template argument list and the end of the text.
bool followsOperand(unsigned kind)
{
    switch (kind) {
    case K::BarBar:
    case K::AndAnd:
    case K::Bar:
    case K::Caret:
    case K::Ampersand:
    case K::EqualEqual:
    case K::NotEqual:
    case K::Less:
    case K::Greater:
    case K::LessEqual:
    case K::GreaterEqual:
    case K::ShiftLeft:
    case K::ShiftRight:
    case K::Plus:
    case K::Minus:
    case K::Star:
    case K::Slash:
    case K::Percent:
    case K::Question:
    case K::Colon:
    case K::Comma:
    case K::RightParen:
    case K::RightBracket:
    case K::TemplateClose:
    case K::EndOfText: return true;
    default: return kind >= K::Assign && kind <= K::BarAssign;
    }
}

// A token that fits no alternative of a tail: the text may end there when
// the universe accepts the token as an end; otherwise it is a syntax error.
bool endOrSyntaxError(C_Parser_LL_Universe& u, unsigned& kind)
{
    if (u.appropriateEndToken(kind)) {
        kind = K::EndOfText;
        return true;
    }
    return u.failSyntax();
}

struct BinaryOperator {
    unsigned token;
    Action action;
};

// The loop of a left-associative operator level: { operator operand }, each
// operator building its node from the tree so far and the new operand.
template <std::size_t N>
bool leftAssociative(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result,
                     const BinaryOperator (&operators)[N], Rule operand)
{
    for (;;) {
        const BinaryOperator* found = nullptr;
        for (const BinaryOperator& op : operators)
            if (op.token == kind)
                found = &op;
        if (found == nullptr)
            break;
        u.getToken(kind);
        void* right = nullptr;
        if (!operand(u, kind, right))
            return false;
        found->action(u, left, right, left);
    }
    result = left;
    if (followsOperand(kind))
        return true;
    return endOrSyntaxError(u, kind);
}

bool isNameToken(unsigned kind)
{
    return kind == K::OtherName || kind == K::ReservedName78 || kind == K::ReservedName82 || kind == K::ReservedName83;
}

} // namespace

// Expression := AssignExpression ExpressionTail
bool C_Parser_LL_nonterminalSymbol_Expression(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_AssignExpression(u, kind, left))
        return false;
    return C_Parser_LL_nonterminalSymbol_ExpressionTail(u, kind, left, result);
}

// ExpressionTail := "," Expression [createBinaryCommaOpExpr] | <nothing> before ")" "]" ":" end
bool C_Parser_LL_nonterminalSymbol_ExpressionTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    switch (kind) {
    case K::Comma: {
        C_Parser_LL_Universe::NestingLevel level(u);
        if (!level.allowed())
            return false;
        u.getToken(kind);
        void* rest = nullptr;
        if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, rest))
            return false;
        C_Parser_LL_createBinaryCommaOpExpr(u, left, rest, result);
        return true;
    }
    case K::RightParen:
    case K::RightBracket:
    case K::Colon:
    case K::EndOfText: result = left; return true;
    default: result = left; return endOrSyntaxError(u, kind);
    }
}

// AssignExpression := LogicalOrExpr AssignExpressionTail
bool C_Parser_LL_nonterminalSymbol_AssignExpression(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_LogicalOrExpr(u, kind, left))
        return false;
    return C_Parser_LL_nonterminalSymbol_AssignExpressionTail(u, kind, left, result);
}

// AssignExpressionTail := "?" Expression ":" AssignExpression [createConditionalExpr]
//                       | assignment-operator AssignExpression [one action per operator]
//                       | <nothing> before "," ")" "]" ":" 81 end
bool C_Parser_LL_nonterminalSymbol_AssignExpressionTail(C_Parser_LL_Universe& u, unsigned& kind, void* left,
                                                        void*& result)
{
    static const BinaryOperator assignments[] = {
        {K::Assign, C_Parser_LL_createBinaryAssignOpExpr},
        {K::StarAssign, C_Parser_LL_createBinaryMultiplyAssignOpExpr},
        {K::SlashAssign, C_Parser_LL_createBinaryDivideAssignOpExpr},
        {K::PercentAssign, C_Parser_LL_createBinaryRemainderAssignOpExpr},
        {K::PlusAssign, C_Parser_LL_createBinaryPlusAssignOpExpr},
        {K::MinusAssign, C_Parser_LL_createBinaryMinusAssignOpExpr},
        {K::ShiftRightAssign, C_Parser_LL_createBinaryRightShiftAssignOpExpr},
        {K::ShiftLeftAssign, C_Parser_LL_createBinaryLeftShiftAssignOpExpr},
        {K::AndAssign, C_Parser_LL_createBinaryAndAssignOpExpr},
        {K::CaretAssign, C_Parser_LL_createBinaryXorAssignOpExpr},
        {K::BarAssign, C_Parser_LL_createBinaryOrAssignOpExpr},
    };
    // A conditional or an assignment nests its right operand.
    C_Parser_LL_Universe::NestingLevel level(u);
    if (!level.allowed())
        return false;
    if (kind == K::Question) {
        u.getToken(kind);
        void* whenTrue = nullptr;
        void* whenFalse = nullptr;
        if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, whenTrue) || !u.expect(kind, K::Colon) ||
            !C_Parser_LL_nonterminalSymbol_AssignExpression(u, kind, whenFalse))
            return false;
        C_Parser_LL_createConditionalExpr(u, left, whenTrue, whenFalse, result);
        return true;
    }
    for (const BinaryOperator& op : assignments) {
        if (op.token != kind)
            continue;
        u.getToken(kind);
        void* right = nullptr;
        if (!C_Parser_LL_nonterminalSymbol_AssignExpression(u, kind, right))
            return false;
        op.action(u, left, right, result);
        return true;
    }
    result = left;
    switch (kind) {
    case K::Comma:
    case K::RightParen:
    case K::RightBracket:
    case K::Colon:
    case K::TemplateClose:
    case K::EndOfText: return true;
    default: return endOrSyntaxError(u, kind);
    }
}

// LogicalOrExpr := LogicalAndExpr LogicalOrTail
bool C_Parser_LL_nonterminalSymbol_LogicalOrExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_LogicalAndExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_LogicalOrTail(u, kind, left, result);
}

// LogicalOrTail := { "||" LogicalAndExpr [createBinaryOrOrOpExpr] }
bool C_Parser_LL_nonterminalSymbol_LogicalOrTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::BarBar, C_Parser_LL_createBinaryOrOrOpExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_LogicalAndExpr);
}

// LogicalAndExpr := InclusiveOrExpr LogicalAndTail
bool C_Parser_LL_nonterminalSymbol_LogicalAndExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_InclusiveOrExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_LogicalAndTail(u, kind, left, result);
}

// LogicalAndTail := { "&&" InclusiveOrExpr [createBinaryAndAndOpExpr] }
bool C_Parser_LL_nonterminalSymbol_LogicalAndTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::AndAnd, C_Parser_LL_createBinaryAndAndOpExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_InclusiveOrExpr);
}

// InclusiveOrExpr := ExclusiveOrExpr InclusiveOrTail
bool C_Parser_LL_nonterminalSymbol_InclusiveOrExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_ExclusiveOrExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_InclusiveOrTail(u, kind, left, result);
}

// InclusiveOrTail := { "|" ExclusiveOrExpr [createBinaryOrOpExpr] }
bool C_Parser_LL_nonterminalSymbol_InclusiveOrTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::Bar, C_Parser_LL_createBinaryOrOpExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_ExclusiveOrExpr);
}

// ExclusiveOrExpr := AndExpr ExclusiveOrTail
bool C_Parser_LL_nonterminalSymbol_ExclusiveOrExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_AndExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_ExclusiveOrTail(u, kind, left, result);
}

// ExclusiveOrTail := { "^" AndExpr [createBinaryXorOpExpr] }
bool C_Parser_LL_nonterminalSymbol_ExclusiveOrTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::Caret, C_Parser_LL_createBinaryXorOpExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_AndExpr);
}

// AndExpr := EqualityExpr AndTail
bool C_Parser_LL_nonterminalSymbol_AndExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_EqualityExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_AndTail(u, kind, left, result);
}

// AndTail := { "&" EqualityExpr [createBinaryAndOpExpr] }
bool C_Parser_LL_nonterminalSymbol_AndTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::Ampersand, C_Parser_LL_createBinaryAndOpExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_EqualityExpr);
}

// EqualityExpr := RelationalExpr EqualityTail
bool C_Parser_LL_nonterminalSymbol_EqualityExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_RelationalExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_EqualityTail(u, kind, left, result);
}

// EqualityTail := { "==" RelationalExpr [createBinaryOpEqualExpr]
//                 | "!=" RelationalExpr [createBinaryOpNotEqualExpr] }
bool C_Parser_LL_nonterminalSymbol_EqualityTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::EqualEqual, C_Parser_LL_createBinaryOpEqualExpr},
                                         {K::NotEqual, C_Parser_LL_createBinaryOpNotEqualExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_RelationalExpr);
}

// RelationalExpr := ShiftExpr RelationalTail
bool C_Parser_LL_nonterminalSymbol_RelationalExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_ShiftExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_RelationalTail(u, kind, left, result);
}

// RelationalTail := { "<" ShiftExpr [createBinaryOpLessExpr] | ">" ShiftExpr [createBinaryOpGreaterExpr]
//                   | "<=" ShiftExpr [createBinaryOpLessEqualExpr] | ">=" ShiftExpr [createBinaryOpGreaterEqualExpr] }
// The ">" that closes a template argument list (81) is never an operator here.
bool C_Parser_LL_nonterminalSymbol_RelationalTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::Less, C_Parser_LL_createBinaryOpLessExpr},
                                         {K::Greater, C_Parser_LL_createBinaryOpGreaterExpr},
                                         {K::LessEqual, C_Parser_LL_createBinaryOpLessEqualExpr},
                                         {K::GreaterEqual, C_Parser_LL_createBinaryOpGreaterEqualExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_ShiftExpr);
}

// ShiftExpr := AdditiveExpr ShiftTail
bool C_Parser_LL_nonterminalSymbol_ShiftExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_AdditiveExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_ShiftTail(u, kind, left, result);
}

// ShiftTail := { "<<" AdditiveExpr [createBinaryOpLSHExpr] | ">>" AdditiveExpr [createBinaryOpRSHExpr] }
bool C_Parser_LL_nonterminalSymbol_ShiftTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::ShiftLeft, C_Parser_LL_createBinaryOpLSHExpr},
                                         {K::ShiftRight, C_Parser_LL_createBinaryOpRSHExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_AdditiveExpr);
}

// AdditiveExpr := MultiplicativeExpr AdditiveTail
bool C_Parser_LL_nonterminalSymbol_AdditiveExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_MultiplicativeExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_AdditiveTail(u, kind, left, result);
}

// AdditiveTail := { "+" MultiplicativeExpr [createBinaryOpPlusExpr]
//                 | "-" MultiplicativeExpr [createBinaryOpMinusExpr] }
bool C_Parser_LL_nonterminalSymbol_AdditiveTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    static const BinaryOperator ops[] = {{K::Plus, C_Parser_LL_createBinaryOpPlusExpr},
                                         {K::Minus, C_Parser_LL_createBinaryOpMinusExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_MultiplicativeExpr);
}

// MultiplicativeExpr := CastExpr MultiplicativeTail
bool C_Parser_LL_nonterminalSymbol_MultiplicativeExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* left = nullptr;
    return C_Parser_LL_nonterminalSymbol_CastExpr(u, kind, left) &&
           C_Parser_LL_nonterminalSymbol_MultiplicativeTail(u, kind, left, result);
}

// MultiplicativeTail := { "*" CastExpr [createBinaryOpMultiplyExpr] | "/" CastExpr [createBinaryOpDivideExpr]
//                       | "%" CastExpr [createBinaryOpModExpr] }
bool C_Parser_LL_nonterminalSymbol_MultiplicativeTail(C_Parser_LL_Universe& u, unsigned& kind, void* left,
                                                      void*& result)
{
    static const BinaryOperator ops[] = {{K::Star, C_Parser_LL_createBinaryOpMultiplyExpr},
                                         {K::Slash, C_Parser_LL_createBinaryOpDivideExpr},
                                         {K::Percent, C_Parser_LL_createBinaryOpModExpr}};
    return leftAssociative(u, kind, left, result, ops, C_Parser_LL_nonterminalSymbol_CastExpr);
}

// CastExpr := "(" TypeId ")" CastExpr [createCastExpression] | UnaryExpr
// On "(" the cast is tried first; when the type, the ")" or the operand
// fails, the parser backs up to the "(" and reads a UnaryExpr.
bool C_Parser_LL_nonterminalSymbol_CastExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    // Parentheses, casts and unary operators nest through here.
    C_Parser_LL_Universe::NestingLevel level(u);
    if (!level.allowed())
        return false;
    if (kind == K::LeftParen) {
        Parser_LL_BackupInfo<C_Lexer>* backup = u.backupInformation();
        u.getToken(kind);
        void* type = nullptr;
        void* operand = nullptr;
        if (C_Parser_LL_nonterminalSymbol_TypeId(u, kind, type) && kind == K::RightParen) {
            u.getToken(kind);
            if (C_Parser_LL_nonterminalSymbol_CastExpr(u, kind, operand)) {
                C_Parser_LL_createCastExpression(u, type, operand, result);
                u.deleteBackupInfo(backup);
                return true;
            }
        }
        kind = u.backup(*backup);
        u.deleteBackupInfo(backup);
    }
    return C_Parser_LL_nonterminalSymbol_UnaryExpr(u, kind, result);
}

// UnaryExpr := "+" CastExpr | "-" CastExpr | "*" CastExpr | "&" CastExpr | "~" CastExpr | "!" CastExpr
//            | "++" CastExpr | "--" CastExpr | "cimag" "(" Expression ")" | "creal" "(" Expression ")"
//            | SizeofExpr | PostfixExpr
bool C_Parser_LL_nonterminalSymbol_UnaryExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    UnaryAction action = nullptr;
    switch (kind) {
    case K::Plus: action = C_Parser_LL_createUnaryOpPlusExpr; break;
    case K::Minus: action = C_Parser_LL_createUnaryOpMinusExpr; break;
    case K::Star: action = C_Parser_LL_createUnaryOpStarExpr; break;
    case K::Ampersand: action = C_Parser_LL_createUnaryOpAndExpr; break;
    case K::Tilde: action = C_Parser_LL_createUnaryOpTildeExpr; break;
    case K::Exclaim: action = C_Parser_LL_createUnaryOpNotExpr; break;
    case K::PlusPlus: action = C_Parser_LL_createUnaryOpPlusPlusExpr; break;
    case K::MinusMinus: action = C_Parser_LL_createUnaryOpMinusMinusExpr; break;
    case K::KwCimag:
    case K::KwCreal: {
        UnaryAction part = kind == K::KwCimag ? C_Parser_LL_createUnaryOpCImagExpr : C_Parser_LL_createUnaryOpCRealExpr;
        u.getToken(kind);
        void* operand = nullptr;
        if (!u.expect(kind, K::LeftParen) || !C_Parser_LL_nonterminalSymbol_Expression(u, kind, operand) ||
            !u.expect(kind, K::RightParen))
            return false;
        part(u, operand, result);
        return true;
    }
    case K::KwSizeof: return C_Parser_LL_nonterminalSymbol_SizeofExpr(u, kind, result);
    case K::Literal:
    case K::KwBool:
    case K::KwChar:
    case K::KwConstCast:
    case K::KwDouble:
    case K::KwFalse:
    case K::KwFloat:
    case K::KwImaginaryUnit:
    case K::KwInt:
    case K::KwLong:
    case K::KwReinterpretCast:
    case K::KwShort:
    case K::KwSigned:
    case K::KwStaticCast:
    case K::KwThis:
    case K::KwTrue:
    case K::KwTypeid:
    case K::KwUnsigned:
    case K::KwVoid:
    case K::KwWcharT:
    case K::LeftParen:
    case K::TypeName: return C_Parser_LL_nonterminalSymbol_PostfixExpr(u, kind, result);
    default:
        if (isNameToken(kind))
            return C_Parser_LL_nonterminalSymbol_PostfixExpr(u, kind, result);
        return u.failSyntax();
    }
    u.getToken(kind);
    void* operand = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_CastExpr(u, kind, operand))
        return false;
    action(u, operand, result);
    return true;
}

// SizeofExpr := "sizeof" "(" TypeId ")" [createopSizeofWithTypeExpr]
//             | "sizeof" UnaryExpr [createopSizeofWithExprExpr]
// The type form is tried first; on failure the parser backs up to "sizeof".
bool C_Parser_LL_nonterminalSymbol_SizeofExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    if (kind != K::KwSizeof)
        return u.failSyntax();
    C_Parser_LL_Universe::NestingLevel level(u);
    if (!level.allowed())
        return false;
    Parser_LL_BackupInfo<C_Lexer>* backup = u.backupInformation();
    u.getToken(kind);
    if (kind == K::LeftParen) {
        u.getToken(kind);
        void* type = nullptr;
        if (C_Parser_LL_nonterminalSymbol_TypeId(u, kind, type) && kind == K::RightParen) {
            u.getToken(kind);
            C_Parser_LL_createopSizeofWithTypeExpr(u, type, result);
            u.deleteBackupInfo(backup);
            return true;
        }
    }
    kind = u.backup(*backup);
    u.deleteBackupInfo(backup);
    u.getToken(kind);
    void* operand = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_UnaryExpr(u, kind, operand))
        return false;
    C_Parser_LL_createopSizeofWithExprExpr(u, operand, result);
    return true;
}

// PostfixExpr := PostfixHead PostfixTail
bool C_Parser_LL_nonterminalSymbol_PostfixExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* head = nullptr;
    return C_Parser_LL_nonterminalSymbol_PostfixHead(u, kind, head) &&
           C_Parser_LL_nonterminalSymbol_PostfixTail(u, kind, head, result);
}

namespace {
// Puts the lookup store back when a member access leaves its rule in any way
// but the regular one (a failed member name, an exception), so that no later
// name is resolved in the object's class.
class MemberStoreGuard {
public:
    MemberStoreGuard(C_Parser_LL_Universe& u, void* saved) : u(u), saved(saved) {}
    ~MemberStoreGuard()
    {
        if (saved != nullptr)
            u.dbgServices()->setCurrentStore(*static_cast<EE_DeclarationStore*>(saved));
    }
    // The regular way out: the member node is made, the store is put back.
    void pop()
    {
        C_Parser_LL_popMemberStore(u, saved);
        saved = nullptr;
    }
    MemberStoreGuard(const MemberStoreGuard&) = delete;
    MemberStoreGuard& operator=(const MemberStoreGuard&) = delete;

private:
    C_Parser_LL_Universe& u;
    void* saved;
};
} // namespace

// PostfixTail := { "->" name [pushArrowMemberStore, createArrowExpr, popMemberStore]
//                | "." name [pushDotMemberStore, createDotExpr, popMemberStore]
//                | "(" Parameters [createFunctionCallExpr]
//                | "[" Expression "]" [createSubscriptExpr]
//                | "++" [createOpPostPlusPlusExpr] | "--" [createOpPostMinusMinusExpr] }
// The member name is read only after the push action has made the object's
// class the lookup store, so the lexer resolves it in that class.
bool C_Parser_LL_nonterminalSymbol_PostfixTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    for (;;) {
        switch (kind) {
        case K::Arrow:
        case K::Dot: {
            bool arrow = kind == K::Arrow;
            void* object = nullptr;
            void* saved = nullptr;
            if (arrow)
                C_Parser_LL_pushArrowMemberStore(u, left, object, saved);
            else
                C_Parser_LL_pushDotMemberStore(u, left, object, saved);
            MemberStoreGuard guard(u, saved);
            u.getToken(kind);
            if (kind != K::OtherName)
                return u.failSyntax();
            if (arrow)
                C_Parser_LL_createArrowExpr(u, object, left);
            else
                C_Parser_LL_createDotExpr(u, object, left);
            guard.pop();
            u.getToken(kind);
            break;
        }
        case K::LeftParen: {
            u.getToken(kind);
            void* parameters = nullptr;
            if (!C_Parser_LL_nonterminalSymbol_Parameters(u, kind, parameters))
                return false;
            C_Parser_LL_createFunctionCallExpr(u, left, parameters, left);
            break;
        }
        case K::LeftBracket: {
            u.getToken(kind);
            void* index = nullptr;
            if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, index) || !u.expect(kind, K::RightBracket))
                return false;
            C_Parser_LL_createSubscriptExpr(u, left, index, left);
            break;
        }
        case K::PlusPlus:
            C_Parser_LL_createOpPostPlusPlusExpr(u, left, left);
            u.getToken(kind);
            break;
        case K::MinusMinus:
            C_Parser_LL_createOpPostMinusMinusExpr(u, left, left);
            u.getToken(kind);
            break;
        default: result = left; return true;
        }
    }
}

// PostfixHead := PrimaryExpr | FunctionStyleCast
//              | "const_cast" "<" TypeId ">" "(" Expression ")" [createConstCast]
//              | "reinterpret_cast" "<" TypeId ">" "(" Expression ")" [createReinterpretCast]
//              | "static_cast" "<" TypeId ">" "(" Expression ")" [createStaticCast]
//              | "typeid" "(" TypeidExpr ")"
bool C_Parser_LL_nonterminalSymbol_PostfixHead(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    switch (kind) {
    case K::KwConstCast:
    case K::KwReinterpretCast:
    case K::KwStaticCast: {
        Action cast = kind == K::KwConstCast         ? C_Parser_LL_createConstCast
                      : kind == K::KwReinterpretCast ? C_Parser_LL_createReinterpretCast
                                                     : C_Parser_LL_createStaticCast;
        u.getToken(kind);
        void* type = nullptr;
        void* operand = nullptr;
        if (!u.expect(kind, K::Less) || !C_Parser_LL_nonterminalSymbol_TypeId(u, kind, type) ||
            !u.expect(kind, K::Greater) || !u.expect(kind, K::LeftParen) ||
            !C_Parser_LL_nonterminalSymbol_Expression(u, kind, operand) || !u.expect(kind, K::RightParen))
            return false;
        cast(u, type, operand, result);
        return true;
    }
    case K::KwTypeid:
        u.getToken(kind);
        return u.expect(kind, K::LeftParen) && C_Parser_LL_nonterminalSymbol_TypeidExpr(u, kind, result) &&
               u.expect(kind, K::RightParen);
    case K::KwBool:
    case K::KwChar:
    case K::KwDouble:
    case K::KwFloat:
    case K::KwInt:
    case K::KwLong:
    case K::KwShort:
    case K::KwSigned:
    case K::KwUnsigned:
    case K::KwVoid:
    case K::KwWcharT:
    case K::TypeName: return C_Parser_LL_nonterminalSymbol_FunctionStyleCast(u, kind, result);
    default: return C_Parser_LL_nonterminalSymbol_PrimaryExpr(u, kind, result);
    }
}

// TypeidExpr := TypeId [createTypeIdTypeidExpr] | Expression [createExprTypeidExpr]
// When the token can start a type the type form is tried first (it must be
// followed by the closing ")"), and the parser backs up on failure.
bool C_Parser_LL_nonterminalSymbol_TypeidExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    if (C_Parser_LL_startsType(kind)) {
        Parser_LL_BackupInfo<C_Lexer>* backup = u.backupInformation();
        void* type = nullptr;
        if (C_Parser_LL_nonterminalSymbol_TypeId(u, kind, type) && kind == K::RightParen) {
            C_Parser_LL_createTypeIdTypeidExpr(u, type, result);
            u.deleteBackupInfo(backup);
            return true;
        }
        kind = u.backup(*backup);
        u.deleteBackupInfo(backup);
    }
    void* operand = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, operand))
        return false;
    C_Parser_LL_createExprTypeidExpr(u, operand, result);
    return true;
}

// PrimaryExpr := literal LiteralExprTail [createLiteralExpr] | "true" [createTrueExpr]
//              | "false" [createFalseExpr] | "__I" [createImaginaryUnitExpr] | "this" [createThisExpr]
//              | "(" Expression ")" [createParenExpr] | name [createNameExpr]
bool C_Parser_LL_nonterminalSymbol_PrimaryExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    switch (kind) {
    case K::Literal: {
        void* literal = nullptr;
        C_Parser_LL_createLiteralExpr(u, literal);
        u.getToken(kind);
        return C_Parser_LL_nonterminalSymbol_LiteralExprTail(u, kind, literal, result);
    }
    case K::KwTrue: C_Parser_LL_createTrueExpr(u, result); break;
    case K::KwFalse: C_Parser_LL_createFalseExpr(u, result); break;
    case K::KwImaginaryUnit: C_Parser_LL_createImaginaryUnitExpr(u, result); break;
    case K::KwThis: C_Parser_LL_createThisExpr(u, result); break;
    case K::LeftParen: {
        u.getToken(kind);
        void* inner = nullptr;
        if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, inner))
            return false;
        if (kind != K::RightParen)
            return u.failSyntax();
        C_Parser_LL_createParenExpr(u, inner, result);
        break;
    }
    default:
        if (!isNameToken(kind))
            return u.failSyntax();
        C_Parser_LL_createNameExpr(u, result);
        break;
    }
    u.getToken(kind);
    return true;
}

// LiteralExprTail := { literal [createStringConcatExpr] }
bool C_Parser_LL_nonterminalSymbol_LiteralExprTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result)
{
    while (kind == K::Literal) {
        C_Parser_LL_createStringConcatExpr(u, left, left);
        u.getToken(kind);
    }
    result = left;
    return true;
}

// FunctionStyleCast := type-word "(" Expression ")" [createBoolFSC, createCharFSC, ... createWchartFSC]
//                    | type-name "(" Expression ")" [createTypeNameFSC]
bool C_Parser_LL_nonterminalSymbol_FunctionStyleCast(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    UnaryAction action = nullptr;
    void* name = nullptr;
    switch (kind) {
    case K::KwBool: action = C_Parser_LL_createBoolFSC; break;
    case K::KwChar: action = C_Parser_LL_createCharFSC; break;
    case K::KwDouble: action = C_Parser_LL_createDoubleFSC; break;
    case K::KwFloat: action = C_Parser_LL_createFloatFSC; break;
    case K::KwInt: action = C_Parser_LL_createIntFSC; break;
    case K::KwLong: action = C_Parser_LL_createLongFSC; break;
    case K::KwShort: action = C_Parser_LL_createShortFSC; break;
    case K::KwSigned: action = C_Parser_LL_createSignedFSC; break;
    case K::KwUnsigned: action = C_Parser_LL_createUnsignedFSC; break;
    case K::KwVoid: action = C_Parser_LL_createVoidFSC; break;
    case K::KwWcharT: action = C_Parser_LL_createWchartFSC; break;
    case K::TypeName: C_Parser_LL_getTypeName(u, name); break;
    default: return u.failSyntax();
    }
    u.getToken(kind);
    void* operand = nullptr;
    if (!u.expect(kind, K::LeftParen) || !C_Parser_LL_nonterminalSymbol_Expression(u, kind, operand) ||
        !u.expect(kind, K::RightParen))
        return false;
    if (action != nullptr)
        action(u, operand, result);
    else
        C_Parser_LL_createTypeNameFSC(u, name, operand, result);
    return true;
}

// Parameters := ")" [nullParameterList] | ParameterList ")"
bool C_Parser_LL_nonterminalSymbol_Parameters(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    if (kind == K::RightParen) {
        C_Parser_LL_nullParameterList(u, result);
        u.getToken(kind);
        return true;
    }
    return C_Parser_LL_nonterminalSymbol_ParameterList(u, kind, result) && u.expect(kind, K::RightParen);
}

// ParameterList := AssignExpression [ "," ParameterList ] [prependParm]
// The arguments after the first are read first; each argument is then put in
// front of the list of those after it, so the list runs in text order.
bool C_Parser_LL_nonterminalSymbol_ParameterList(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* argument = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_AssignExpression(u, kind, argument))
        return false;
    void* rest = nullptr;
    if (kind == K::Comma) {
        u.getToken(kind);
        if (!C_Parser_LL_nonterminalSymbol_ParameterList(u, kind, rest))
            return false;
    } else if (kind != K::RightParen) {
        return u.failSyntax();
    }
    C_Parser_LL_prependParm(u, rest, argument, result);
    return true;
}
