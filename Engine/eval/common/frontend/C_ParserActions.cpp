// The semantic actions of the C and C++ grammar. They never build a node or
// a type themselves: each asks the services to find or make it and hands the
// result up through its out-argument.

#include <cstdint>
#include <cstring>

#include "compiler/EE_ExpressionEvaluator.h"
#include "frontend/C_Parser.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_TemplateArgument.h"
#include "frontend/EE_Token.h"

namespace {

using TD = EE_TypeDescriptor;

EE_DebuggerServices& services(C_Parser_LL_Universe& u)
{
    return *u.dbgServices();
}

EE_Expression* node(void* p)
{
    return static_cast<EE_Expression*>(p);
}

TD* type(void* p)
{
    return static_cast<TD*>(p);
}

// The name of the current token, which must be a name.
EE_Name* currentName(C_Parser_LL_Universe& u)
{
    EE_Token* token = u.lex_current();
    if (token == nullptr || !EE_Token::isNameKind(token->kind))
        throw EE_Exception(EE_Exception::InternalFailure);
    return token->value;
}

// The type of a named declaration, analysed when it has none yet.
TD* typeOfName(void* name)
{
    EE_Name* n = static_cast<EE_Name*>(name);
    if (n == nullptr || n->declaration == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    TD* t = n->declaration->analyze();
    if (t == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return t;
}

int constFlag(void* seen)
{
    return reinterpret_cast<std::intptr_t>(seen) != 0 ? 1 : 0;
}

void predefined(C_Parser_LL_Universe& u, TD::Kind kind, void* seen, void*& out)
{
    out = services(u).findOrCreatePredefinedTypeDescriptor(kind, constFlag(seen));
}

void functionStyleCast(C_Parser_LL_Universe& u, TD::Kind kind, void* e, void*& out)
{
    C_Parser_LL_createCastExpression(u, EE_CastExpression::Parenthesized,
                                     services(u).findOrCreatePredefinedTypeDescriptor(kind, 0), e, out);
}

void unary(C_Parser_LL_Universe& u, EE_UnaryExpression::Kind kind, void* e, void*& out)
{
    out = services(u).createUnaryExpression(kind, node(e));
}

void binary(C_Parser_LL_Universe& u, EE_BinaryExpression::Kind kind, void* l, void* r, void*& out)
{
    out = services(u).createBinaryExpression(kind, node(l), node(r));
}

// The type that a reference (or the reference that an address names) stands
// for; other types as they are.
TD* referenced(TD* t)
{
    if (t != nullptr && (t->kind == TD::Reference || t->kind == TD::AddressOfReference)) {
        if (t->next == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        return t->next;
    }
    return t;
}

// The object's text as the user wrote it, kept in the arena for a message
// that outlives the rule.
const char* objectText(C_Parser_LL_Universe& u, const EE_Expression& object)
{
    const EE_String text = object.signature(1);
    char* copy = static_cast<char*>(u.arena().allocate(text.length() + 1));
    std::memcpy(copy, text.data(), text.length() + 1);
    return copy;
}

// Analyses the object of a member access and makes its class the lookup
// store for the member name.
void pushMemberStore(C_Parser_LL_Universe& u, bool arrow, void* object, void*& analysed, void*& saved)
{
    if (object == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    EE_ExpressionEvaluator analyser(services(u));
    EE_Expression* e = analyser.analyze(*node(object));
    if (e == nullptr || e->typeDescriptor == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    TD* t = referenced(e->typeDescriptor);
    if (arrow) {
        if (t->kind != TD::Pointer && t->kind != TD::FortranPointer)
            throw EE_ParseException(EE_ParseException::NotAPointer, objectText(u, *node(object)));
        t = t->next;
    }
    t = referenced(t);
    if (t == nullptr || t->kind != TD::Class)
        throw EE_ParseException(EE_ParseException::NotAClass, objectText(u, *node(object)));
    EE_DeclarationStore* store = t->declaration != nullptr ? t->declaration->declarationStore() : nullptr;
    if (store == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    saved = services(u).setCurrentStore(*store);
    analysed = e;
}

void member(C_Parser_LL_Universe& u, EE_MemberExpression::Kind kind, void* object, void*& out)
{
    EE_Name* name = currentName(u);
    if (name == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    out = services(u).createMemberExpression(kind, node(object), name);
}

} // namespace

// --- Answers and lists ---------------------------------------------------------

void C_Parser_LL_setExprAnswer(C_Parser_LL_Universe& u, void* e)
{
    u.setExpression(node(e));
}

void C_Parser_LL_templateArgumentList(C_Parser_LL_Universe& u, void* list)
{
    u.setTemplateArguments(static_cast<EE_TemplateArgument*>(list));
}

void C_Parser_LL_nullParameterList(C_Parser_LL_Universe&, void*& out)
{
    out = nullptr;
}

void C_Parser_LL_prependParm(C_Parser_LL_Universe& u, void* list, void* e, void*& out)
{
    out = services(u).createParameter(node(e), static_cast<EE_Parameter*>(list));
}

void C_Parser_LL_templateIsType(C_Parser_LL_Universe& u, void* t, void*& out)
{
    if (t == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    out = services(u).createTemplateArgument(*type(t));
}

void C_Parser_LL_templateIsExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    if (e == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    out = services(u).createTemplateArgument(*node(e));
}

void C_Parser_LL_appendTemplateArgumentList(C_Parser_LL_Universe&, void* first, void* rest, void*& out)
{
    EE_TemplateArgument* head = static_cast<EE_TemplateArgument*>(first);
    if (head == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    head->next = static_cast<EE_TemplateArgument*>(rest);
    out = head;
}

void C_Parser_LL_templateEnder(C_Parser_LL_Universe& u)
{
    EE_Token* token = u.lex_current();
    if (token->kind != EE_Token::TemplateClose)
        throw EE_Exception(EE_Exception::InternalFailure);
    token->kind = EE_Token::EndOfText;
}

void C_Parser_LL_correctTemplateEnder(C_Parser_LL_Universe& u)
{
    EE_Token* token = u.lex_current();
    if (token->kind != EE_Token::EndOfText)
        throw EE_Exception(EE_Exception::InternalFailure);
    token->kind = EE_Token::TemplateClose;
}

void C_Parser_LL_isFalse(C_Parser_LL_Universe&, void*& out)
{
    out = nullptr;
}

void C_Parser_LL_isTrue(C_Parser_LL_Universe&, void*& out)
{
    out = reinterpret_cast<void*>(std::intptr_t{1});
}

void C_Parser_LL_constSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    if (constFlag(seen))
        throw EE_ParseException(EE_ParseException::NoSuchSymbol, u.lex_current()->spelling);
    out = reinterpret_cast<void*>(std::intptr_t{1});
}

void C_Parser_LL_ignore(C_Parser_LL_Universe&) {}

void C_Parser_LL_alias(C_Parser_LL_Universe&, void* in, void*& out)
{
    out = in;
}

void C_Parser_LL_alias3(C_Parser_LL_Universe&, void* in, void*, void*, void*& out)
{
    out = in;
}

// --- Types -------------------------------------------------------------------------

void C_Parser_LL_boolIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Bool, seen, out);
}
void C_Parser_LL_cboolIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Bool, seen, out);
}
void C_Parser_LL_charIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Char, seen, out);
}
void C_Parser_LL_signedCharIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::SignedChar, seen, out);
}
void C_Parser_LL_unsignedCharIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::UnsignedChar, seen, out);
}
void C_Parser_LL_signedShortIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Short, seen, out);
}
void C_Parser_LL_unsignedShortIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::UnsignedShort, seen, out);
}
void C_Parser_LL_signedIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Int, seen, out);
}
void C_Parser_LL_unsignedIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::UnsignedInt, seen, out);
}
void C_Parser_LL_signedLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Long, seen, out);
}
void C_Parser_LL_unsignedLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::UnsignedLong, seen, out);
}
void C_Parser_LL_signedLongLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::LongLong, seen, out);
}
void C_Parser_LL_unsignedLongLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::UnsignedLongLong, seen, out);
}
void C_Parser_LL_floatIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Float, seen, out);
}
void C_Parser_LL_doubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Double, seen, out);
}
void C_Parser_LL_longDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::LongDouble, seen, out);
}
void C_Parser_LL_complexFloatIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::ComplexFloat, seen, out);
}
void C_Parser_LL_imaginaryFloatIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::ComplexFloat, seen, out);
}
void C_Parser_LL_complexDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::ComplexDouble, seen, out);
}
void C_Parser_LL_imaginaryDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::ComplexDouble, seen, out);
}
void C_Parser_LL_complexLongDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::ComplexLongDouble, seen, out);
}
void C_Parser_LL_imaginaryLongDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::ComplexLongDouble, seen, out);
}
void C_Parser_LL_voidIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::Void, seen, out);
}
void C_Parser_LL_wchartIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out)
{
    predefined(u, TD::WcharT, seen, out);
}

void C_Parser_LL_getTypeName(C_Parser_LL_Universe& u, void*& out)
{
    u.lexer()->clearNameAsType();
    out = currentName(u);
}

void C_Parser_LL_getClassName(C_Parser_LL_Universe& u, void*& out)
{
    u.lexer()->clearNameAsType();
    out = currentName(u);
}

void C_Parser_LL_lookUpNextNameAsType(C_Parser_LL_Universe& u)
{
    u.lexer()->lookUpNextNameAsType();
}

void C_Parser_LL_nameIsSpecified(C_Parser_LL_Universe&, void*, void* name, void*& out)
{
    out = typeOfName(name);
}

void C_Parser_LL_checkTagKind(C_Parser_LL_Universe& u, unsigned classKey, void* tag, void* t)
{
    const TD::Kind kind = type(t)->kind;
    const bool record = kind == TD::Class || kind == TD::Union;
    if (classKey == EE_Token::KwEnum ? kind == TD::Enumeration : record)
        return;
    // Named as written: the tag's token.
    const EE_Token* token = static_cast<const EE_Token*>(tag);
    char* text = static_cast<char*>(services(u).storageArena().allocate(token->length + 1));
    std::memcpy(text, token->spelling, token->length);
    text[token->length] = '\0';
    throw EE_ParseException(EE_ParseException::NoSuchSymbol, text);
}

void C_Parser_LL_addPointer(C_Parser_LL_Universe& u, void* t, void*& out)
{
    out = services(u).findOrCreateTypeDescriptor(TD::Pointer, *type(t), 0);
}

void C_Parser_LL_addConstPointer(C_Parser_LL_Universe& u, void* t, void*& out)
{
    out = services(u).findOrCreateTypeDescriptor(TD::Pointer, *type(t), 1);
}

void C_Parser_LL_addReference(C_Parser_LL_Universe& u, void* t, void*& out)
{
    out = services(u).findOrCreateTypeDescriptor(TD::Reference, *type(t), 0);
}

void C_Parser_LL_addArray(C_Parser_LL_Universe& u, void* t, void* bound, void*& out)
{
    if (t == nullptr || bound == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    out = services(u).findOrCreateArrayTypeDescriptor(*type(t), *node(bound));
}

// --- Nodes -------------------------------------------------------------------------

void C_Parser_LL_createLiteralExpr(C_Parser_LL_Universe& u, void*& out)
{
    out = services(u).createLiteralExpression(services(u).findOrCreateLiteralValue(*u.lex_current()));
}

void C_Parser_LL_createStringConcatExpr(C_Parser_LL_Universe& u, void* left, void*& out)
{
    void* literal = nullptr;
    C_Parser_LL_createLiteralExpr(u, literal);
    binary(u, EE_BinaryExpression::Concatenate, left, literal, out);
}

void C_Parser_LL_createTrueExpr(C_Parser_LL_Universe& u, void*& out)
{
    out = services(u).createLiteralExpression(services(u).findOrCreateTrueLiteralValue());
}

void C_Parser_LL_createFalseExpr(C_Parser_LL_Universe& u, void*& out)
{
    out = services(u).createLiteralExpression(services(u).findOrCreateFalseLiteralValue());
}

void C_Parser_LL_createImaginaryUnitExpr(C_Parser_LL_Universe& u, void*& out)
{
    out = services(u).createImaginaryExpression();
}

void C_Parser_LL_createThisExpr(C_Parser_LL_Universe& u, void*& out)
{
    out = services(u).createThisExpression();
}

void C_Parser_LL_createNameExpr(C_Parser_LL_Universe& u, void*& out)
{
    out = services(u).createNameExpression(currentName(u));
}

void C_Parser_LL_createParenExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    out = services(u).createParenthesesExpression(node(e));
}

void C_Parser_LL_createFunctionCallExpr(C_Parser_LL_Universe& u, void* f, void* params, void*& out)
{
    out = services(u).createFunctionCallExpression(node(f), static_cast<EE_Parameter*>(params), 0);
}

void C_Parser_LL_createSubscriptExpr(C_Parser_LL_Universe& u, void* a, void* i, void*& out)
{
    binary(u, EE_BinaryExpression::Subscript, a, i, out);
}

void C_Parser_LL_createConditionalExpr(C_Parser_LL_Universe& u, void* c, void* t, void* f, void*& out)
{
    out = services(u).createConditionalExpression(node(c), node(t), node(f));
}

void C_Parser_LL_createCastExpression(C_Parser_LL_Universe& u, unsigned castKind, void* t, void* e, void*& out)
{
    out = services(u).createCastExpression(static_cast<EE_CastExpression::Kind>(castKind), type(t), node(e));
}

void C_Parser_LL_createCastExpression(C_Parser_LL_Universe& u, void* t, void* e, void*& out)
{
    C_Parser_LL_createCastExpression(u, EE_CastExpression::Parenthesized, t, e, out);
}

void C_Parser_LL_createStaticCast(C_Parser_LL_Universe& u, void* t, void* e, void*& out)
{
    C_Parser_LL_createCastExpression(u, EE_CastExpression::StaticCast, t, e, out);
}

void C_Parser_LL_createReinterpretCast(C_Parser_LL_Universe& u, void* t, void* e, void*& out)
{
    C_Parser_LL_createCastExpression(u, EE_CastExpression::ReinterpretCast, t, e, out);
}

void C_Parser_LL_createConstCast(C_Parser_LL_Universe& u, void* t, void* e, void*& out)
{
    C_Parser_LL_createCastExpression(u, EE_CastExpression::ConstCast, t, e, out);
}

void C_Parser_LL_createBoolFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Bool, e, out);
}
void C_Parser_LL_createCharFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Char, e, out);
}
void C_Parser_LL_createShortFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Short, e, out);
}
void C_Parser_LL_createIntFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Int, e, out);
}
void C_Parser_LL_createSignedFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Int, e, out);
}
void C_Parser_LL_createUnsignedFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::UnsignedInt, e, out);
}
void C_Parser_LL_createLongFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Long, e, out);
}
void C_Parser_LL_createFloatFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Float, e, out);
}
void C_Parser_LL_createDoubleFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Double, e, out);
}
void C_Parser_LL_createVoidFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::Void, e, out);
}
void C_Parser_LL_createWchartFSC(C_Parser_LL_Universe& u, void* e, void*& out)
{
    functionStyleCast(u, TD::WcharT, e, out);
}

void C_Parser_LL_createTypeNameFSC(C_Parser_LL_Universe& u, void* name, void* e, void*& out)
{
    C_Parser_LL_createCastExpression(u, EE_CastExpression::Parenthesized, typeOfName(name), e, out);
}

void C_Parser_LL_createopSizeofWithTypeExpr(C_Parser_LL_Universe& u, void* t, void*& out)
{
    out = services(u).createSizeofTypeExpression(type(t));
}

void C_Parser_LL_createTypeIdTypeidExpr(C_Parser_LL_Universe& u, void* t, void*& out)
{
    out = services(u).createTypeidOfTypeExpression(type(t));
}

void C_Parser_LL_createArrowExpr(C_Parser_LL_Universe& u, void* object, void*& out)
{
    member(u, EE_MemberExpression::Arrow, object, out);
}

void C_Parser_LL_createDotExpr(C_Parser_LL_Universe& u, void* object, void*& out)
{
    member(u, EE_MemberExpression::Dot, object, out);
}

// --- Unary nodes -------------------------------------------------------------------

void C_Parser_LL_createUnaryOpTildeExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::BitwiseNot, e, out);
}
void C_Parser_LL_createUnaryOpNotExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::LogicalNot, e, out);
}
void C_Parser_LL_createUnaryOpMinusExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::Negate, e, out);
}
void C_Parser_LL_createUnaryOpPlusExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::UnaryPlus, e, out);
}
void C_Parser_LL_createUnaryOpAndExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::AddressOf, e, out);
}
void C_Parser_LL_createUnaryOpStarExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::Indirection, e, out);
}
void C_Parser_LL_createopSizeofWithExprExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::SizeofOperand, e, out);
}
void C_Parser_LL_createExprTypeidExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::TypeidOperand, e, out);
}
void C_Parser_LL_createUnaryOpCRealExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::RealPart, e, out);
}
void C_Parser_LL_createUnaryOpCImagExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::ImaginaryPart, e, out);
}
void C_Parser_LL_createUnaryOpPlusPlusExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::PreIncrement, e, out);
}
void C_Parser_LL_createOpPostPlusPlusExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::PostIncrement, e, out);
}
void C_Parser_LL_createUnaryOpMinusMinusExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::PreDecrement, e, out);
}
void C_Parser_LL_createOpPostMinusMinusExpr(C_Parser_LL_Universe& u, void* e, void*& out)
{
    unary(u, EE_UnaryExpression::PostDecrement, e, out);
}

// --- Binary nodes ------------------------------------------------------------------

using BK = EE_BinaryExpression;
void C_Parser_LL_createBinaryOrOrOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::LogicalOr, l, r, out);
}
void C_Parser_LL_createBinaryAndAndOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::LogicalAnd, l, r, out);
}
void C_Parser_LL_createBinaryOrOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::BitwiseOr, l, r, out);
}
void C_Parser_LL_createBinaryXorOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::BitwiseXor, l, r, out);
}
void C_Parser_LL_createBinaryAndOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::BitwiseAnd, l, r, out);
}
void C_Parser_LL_createBinaryOpEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Equal, l, r, out);
}
void C_Parser_LL_createBinaryOpNotEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::NotEqual, l, r, out);
}
void C_Parser_LL_createBinaryOpGreaterEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::GreaterOrEqual, l, r, out);
}
void C_Parser_LL_createBinaryOpLessEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::LessOrEqual, l, r, out);
}
void C_Parser_LL_createBinaryOpGreaterExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Greater, l, r, out);
}
void C_Parser_LL_createBinaryOpLessExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Less, l, r, out);
}
void C_Parser_LL_createBinaryOpLSHExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::ShiftLeft, l, r, out);
}
void C_Parser_LL_createBinaryOpRSHExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::ShiftRight, l, r, out);
}
void C_Parser_LL_createBinaryOpPlusExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Add, l, r, out);
}
void C_Parser_LL_createBinaryOpMinusExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Subtract, l, r, out);
}
void C_Parser_LL_createBinaryOpMultiplyExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Multiply, l, r, out);
}
void C_Parser_LL_createBinaryOpDivideExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Divide, l, r, out);
}
void C_Parser_LL_createBinaryOpModExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Remainder, l, r, out);
}
void C_Parser_LL_createBinaryAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Assign, l, r, out);
}
void C_Parser_LL_createBinaryMultiplyAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::MultiplyAssign, l, r, out);
}
void C_Parser_LL_createBinaryDivideAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::DivideAssign, l, r, out);
}
void C_Parser_LL_createBinaryRemainderAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::RemainderAssign, l, r, out);
}
void C_Parser_LL_createBinaryPlusAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::AddAssign, l, r, out);
}
void C_Parser_LL_createBinaryMinusAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::SubtractAssign, l, r, out);
}
void C_Parser_LL_createBinaryRightShiftAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::ShiftRightAssign, l, r, out);
}
void C_Parser_LL_createBinaryLeftShiftAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::ShiftLeftAssign, l, r, out);
}
void C_Parser_LL_createBinaryAndAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::AndAssign, l, r, out);
}
void C_Parser_LL_createBinaryXorAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::XorAssign, l, r, out);
}
void C_Parser_LL_createBinaryOrAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::OrAssign, l, r, out);
}
void C_Parser_LL_createBinaryCommaOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out)
{
    binary(u, BK::Comma, l, r, out);
}

// --- Member lookup -----------------------------------------------------------------

void C_Parser_LL_pushArrowMemberStore(C_Parser_LL_Universe& u, void* object, void*& analysed, void*& saved)
{
    pushMemberStore(u, true, object, analysed, saved);
}

void C_Parser_LL_pushDotMemberStore(C_Parser_LL_Universe& u, void* object, void*& analysed, void*& saved)
{
    pushMemberStore(u, false, object, analysed, saved);
}

void C_Parser_LL_popMemberStore(C_Parser_LL_Universe& u, void* saved)
{
    if (saved != nullptr)
        services(u).setCurrentStore(*static_cast<EE_DeclarationStore*>(saved));
}
