#ifndef C_PARSER_H
#define C_PARSER_H

// The expression grammar of C, C++, Fortran and UPC text: one recursive-descent
// function per rule, the semantic actions that have the services build the
// nodes and types, and the two parse entries. Every rule takes the universe,
// the current token's kind (kept up to date as tokens are consumed or the
// parser backs up) and answers success; results travel through untyped
// out-arguments (nodes, type descriptors, names, lists).

#include "frontend/C_Parser_LL_Universe.h"

// --- Parse entries -----------------------------------------------------------
bool C_Parser_LL_parse_Interface_Expression(C_Parser_LL_Universe& u);
bool C_Parser_LL_parse_TemplateArguments(C_Parser_LL_Universe& u);
bool C_Parser_LL_startingNonterminalSymbol_Interface_Expression(C_Parser_LL_Universe& u, unsigned& kind);
bool C_Parser_LL_startingNonterminalSymbol_TemplateArguments(C_Parser_LL_Universe& u, unsigned& kind);

// --- Expressions ---------------------------------------------------------------
bool C_Parser_LL_nonterminalSymbol_Expression(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_ExpressionTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_AssignExpression(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_AssignExpressionTail(C_Parser_LL_Universe& u, unsigned& kind, void* left,
                                                        void*& result);
bool C_Parser_LL_nonterminalSymbol_LogicalOrExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_LogicalOrTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_LogicalAndExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_LogicalAndTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_InclusiveOrExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_InclusiveOrTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_ExclusiveOrExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_ExclusiveOrTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_AndExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_AndTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_EqualityExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_EqualityTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_RelationalExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_RelationalTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_ShiftExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_ShiftTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_AdditiveExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_AdditiveTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_MultiplicativeExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_MultiplicativeTail(C_Parser_LL_Universe& u, unsigned& kind, void* left,
                                                      void*& result);
bool C_Parser_LL_nonterminalSymbol_CastExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_UnaryExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_SizeofExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_PostfixExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_PostfixTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_PostfixHead(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_TypeidExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_PrimaryExpr(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_LiteralExprTail(C_Parser_LL_Universe& u, unsigned& kind, void* left, void*& result);
bool C_Parser_LL_nonterminalSymbol_FunctionStyleCast(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_Parameters(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_ParameterList(C_Parser_LL_Universe& u, unsigned& kind, void*& result);

// --- Type-ids ------------------------------------------------------------------
bool C_Parser_LL_nonterminalSymbol_TypeId(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_DeclSpecifierSequence(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_TypeSpecifierSequence(C_Parser_LL_Universe& u, unsigned& kind, void* constSeen,
                                                         void*& result);
bool C_Parser_LL_nonterminalSymbol_OptionalAbstractDeclarator(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                              void*& result);
bool C_Parser_LL_nonterminalSymbol_AbstractDeclarator(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                      void*& result);
bool C_Parser_LL_nonterminalSymbol_PtrOperator(C_Parser_LL_Universe& u, unsigned& kind, void* type, void*& result);
bool C_Parser_LL_nonterminalSymbol_DirectAbstractDeclarator(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                            void*& result);
bool C_Parser_LL_nonterminalSymbol_optionalArrayBounds(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                       void*& result);
// Whether a token kind can start a type-id.
bool C_Parser_LL_startsType(unsigned kind);

// --- Template arguments --------------------------------------------------------
bool C_Parser_LL_nonterminalSymbol_TemplateArgumentList(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_TemplateArgumentsTail(C_Parser_LL_Universe& u, unsigned& kind, void*& result);
bool C_Parser_LL_nonterminalSymbol_TemplateArgument(C_Parser_LL_Universe& u, unsigned& kind, void*& result);

// --- Semantic actions: answers and lists ---------------------------------------
void C_Parser_LL_setExprAnswer(C_Parser_LL_Universe& u, void* e);
void C_Parser_LL_templateArgumentList(C_Parser_LL_Universe& u, void* list);
void C_Parser_LL_nullParameterList(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_prependParm(C_Parser_LL_Universe& u, void* list, void* e, void*& out);
void C_Parser_LL_templateIsType(C_Parser_LL_Universe& u, void* t, void*& out);
void C_Parser_LL_templateIsExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_appendTemplateArgumentList(C_Parser_LL_Universe& u, void* first, void* rest, void*& out);
void C_Parser_LL_templateEnder(C_Parser_LL_Universe& u);
void C_Parser_LL_correctTemplateEnder(C_Parser_LL_Universe& u);
void C_Parser_LL_isFalse(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_isTrue(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_constSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_ignore(C_Parser_LL_Universe& u);
void C_Parser_LL_alias(C_Parser_LL_Universe& u, void* in, void*& out);
void C_Parser_LL_alias3(C_Parser_LL_Universe& u, void* in, void* unused1, void* unused2, void*& out);

// --- Semantic actions: types (`seen` is the const flag of the sequence) --------
void C_Parser_LL_boolIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_cboolIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_charIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_signedCharIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_unsignedCharIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_signedShortIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_unsignedShortIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_signedIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_unsignedIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_signedLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_unsignedLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_signedLongLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_unsignedLongLongIntIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_floatIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_doubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_longDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_complexFloatIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_imaginaryFloatIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_complexDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_imaginaryDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_complexLongDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_imaginaryLongDoubleIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_voidIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_wchartIsSpecified(C_Parser_LL_Universe& u, void* seen, void*& out);
void C_Parser_LL_getTypeName(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_getClassName(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_lookUpNextNameAsType(C_Parser_LL_Universe& u);
void C_Parser_LL_nameIsSpecified(C_Parser_LL_Universe& u, void* seen, void* name, void*& out);
// The type a class key names must be of the key's kind: struct, class or
// union a class or union, enum an enumeration; any other is refused as no
// such tag, named by the tag's token.
void C_Parser_LL_checkTagKind(C_Parser_LL_Universe& u, unsigned classKey, void* tag, void* type);
void C_Parser_LL_addPointer(C_Parser_LL_Universe& u, void* t, void*& out);
void C_Parser_LL_addConstPointer(C_Parser_LL_Universe& u, void* t, void*& out);
void C_Parser_LL_addReference(C_Parser_LL_Universe& u, void* t, void*& out);
void C_Parser_LL_addArray(C_Parser_LL_Universe& u, void* t, void* bound, void*& out);

// --- Semantic actions: nodes ---------------------------------------------------
void C_Parser_LL_createLiteralExpr(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_createStringConcatExpr(C_Parser_LL_Universe& u, void* left, void*& out);
void C_Parser_LL_createTrueExpr(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_createFalseExpr(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_createImaginaryUnitExpr(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_createThisExpr(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_createNameExpr(C_Parser_LL_Universe& u, void*& out);
void C_Parser_LL_createParenExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createFunctionCallExpr(C_Parser_LL_Universe& u, void* f, void* params, void*& out);
void C_Parser_LL_createSubscriptExpr(C_Parser_LL_Universe& u, void* a, void* i, void*& out);
void C_Parser_LL_createConditionalExpr(C_Parser_LL_Universe& u, void* c, void* t, void* f, void*& out);
void C_Parser_LL_createCastExpression(C_Parser_LL_Universe& u, unsigned castKind, void* t, void* e, void*& out);
void C_Parser_LL_createCastExpression(C_Parser_LL_Universe& u, void* t, void* e, void*& out);
void C_Parser_LL_createStaticCast(C_Parser_LL_Universe& u, void* t, void* e, void*& out);
void C_Parser_LL_createReinterpretCast(C_Parser_LL_Universe& u, void* t, void* e, void*& out);
void C_Parser_LL_createConstCast(C_Parser_LL_Universe& u, void* t, void* e, void*& out);
void C_Parser_LL_createBoolFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createCharFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createShortFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createIntFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createSignedFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnsignedFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createLongFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createFloatFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createDoubleFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createVoidFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createWchartFSC(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createTypeNameFSC(C_Parser_LL_Universe& u, void* name, void* e, void*& out);
void C_Parser_LL_createopSizeofWithTypeExpr(C_Parser_LL_Universe& u, void* t, void*& out);
void C_Parser_LL_createTypeIdTypeidExpr(C_Parser_LL_Universe& u, void* t, void*& out);
void C_Parser_LL_createArrowExpr(C_Parser_LL_Universe& u, void* object, void*& out);
void C_Parser_LL_createDotExpr(C_Parser_LL_Universe& u, void* object, void*& out);

// Unary nodes.
void C_Parser_LL_createUnaryOpTildeExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpNotExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpMinusExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpPlusExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpAndExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpStarExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createopSizeofWithExprExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createExprTypeidExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpCRealExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpCImagExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpPlusPlusExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createOpPostPlusPlusExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createUnaryOpMinusMinusExpr(C_Parser_LL_Universe& u, void* e, void*& out);
void C_Parser_LL_createOpPostMinusMinusExpr(C_Parser_LL_Universe& u, void* e, void*& out);

// Binary nodes.
void C_Parser_LL_createBinaryOrOrOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryAndAndOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOrOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryXorOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryAndOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpNotEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpGreaterEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpLessEqualExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpGreaterExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpLessExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpLSHExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpRSHExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpPlusExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpMinusExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpMultiplyExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpDivideExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOpModExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryMultiplyAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryDivideAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryRemainderAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryPlusAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryMinusAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryRightShiftAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryLeftShiftAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryAndAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryXorAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryOrAssignOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);
void C_Parser_LL_createBinaryCommaOpExpr(C_Parser_LL_Universe& u, void* l, void* r, void*& out);

// Member lookup: the object's class becomes the lookup store while the member
// name is read; the previous store is handed back to be put back after it.
void C_Parser_LL_pushArrowMemberStore(C_Parser_LL_Universe& u, void* object, void*& analysed, void*& saved);
void C_Parser_LL_pushDotMemberStore(C_Parser_LL_Universe& u, void* object, void*& analysed, void*& saved);
void C_Parser_LL_popMemberStore(C_Parser_LL_Universe& u, void* saved);

#endif
