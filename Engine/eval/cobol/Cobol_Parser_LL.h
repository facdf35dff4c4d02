#ifndef COBOL_PARSER_LL_H
#define COBOL_PARSER_LL_H

// The COBOL expression grammar: an LL(1) recursive-descent parser over the
// tokens of the COBOL lexer. It accepts one statement form (MOVE, COMPUTE,
// SET, CALL) or one conditional or arithmetic expression and builds its tree
// through the services' node factory.
//
// Each rule is a function (universe, current token kind by reference,
// inherited value where needed, result by reference) that answers whether it
// matched; the kind is kept up to date as tokens are consumed. Each semantic
// action calls one factory operation.
//
// The grammar is built into a companion library of its own. It reaches the
// evaluator only through objects handed to it (the universe, its lexer, the
// services and the nodes they make), by virtual calls and inline code, so it
// needs no symbol of the evaluator's library.

#include <cstddef>
#include <vector>

#include "frontend/Cobol_Parser_LL_Universe.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_UnaryExpression.h"

class EE_Expression;
class EE_Parameter;
struct EE_Token;

using Cobol_Universe = Cobol_Parser_LL_Universe;

// The passing modes of a CALL argument.
enum Cobol_PassingMode : int {
    Cobol_ByReference = 1,
    Cobol_ByReferenceAddress = 2,
    Cobol_ByContent = 3,
    Cobol_ByContentAddress = 4
};

// The subscripts of one parenthesised group, in the order written, and how
// many of them distribution has used. Made for one group and released after
// its distribution.
struct Cobol_SubscriptList {
    Cobol_SubscriptList() { items.reserve(8); }
    std::vector<EE_Expression*> items;
    std::size_t used = 0;
};

// --- Rules --------------------------------------------------------------
bool Cobol_Parser_LL_nonterminalSymbol_Statement(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_Expression(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_AndExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_OrExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                  EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_AdditiveExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_RelationalExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                          EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_EqualityExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                        EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_AndExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                   EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_NotRelationalTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                         EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_UnaryExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_PowerExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                     EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_MultiplicativeExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                              EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_AdditiveExprTail(Cobol_Universe& u, unsigned& kind, EE_Expression* left,
                                                        EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_PrimaryExpr(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_Literal(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_FigurativeConstant(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_LiteralOrFigurativeConstant(Cobol_Universe& u, unsigned& kind, bool allAllowed,
                                                                   EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_Identifier(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_IdentifierTail(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                      EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_SubscriptOrRefMod(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                         EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_SubscriptList(Cobol_Universe& u, unsigned& kind, EE_Expression* first,
                                                     Cobol_SubscriptList*& result);
bool Cobol_Parser_LL_nonterminalSymbol_SubscriptListTail(Cobol_Universe& u, unsigned& kind, Cobol_SubscriptList& list);
bool Cobol_Parser_LL_nonterminalSymbol_RelativeSubscriptTail(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                             EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_OptionalRefMod(Cobol_Universe& u, unsigned& kind, EE_Expression* name,
                                                      EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_RefModLength(Cobol_Universe& u, unsigned& kind, EE_Expression* start,
                                                    EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_SendingOperand(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_SetSource(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_ProgramName(Cobol_Universe& u, unsigned& kind, EE_Expression*& result);
bool Cobol_Parser_LL_nonterminalSymbol_UsingClause(Cobol_Universe& u, unsigned& kind, EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_UsingArguments(Cobol_Universe& u, unsigned& kind, EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_OptionalBy(Cobol_Universe& u, unsigned& kind);
bool Cobol_Parser_LL_nonterminalSymbol_PassingMode(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                   EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_ReferenceArgument(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                         EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_ReferenceArgumentsTail(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                              EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_ContentArgument(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                       EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_ContentArguments(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                        EE_Parameter*& result);
bool Cobol_Parser_LL_nonterminalSymbol_ContentArgumentsTail(Cobol_Universe& u, unsigned& kind, EE_Parameter* previous,
                                                            EE_Parameter*& result);

// --- Actions --------------------------------------------------------------
EE_Expression* Cobol_Parser_LL_createMoveExpr(Cobol_Universe& u, EE_Expression* target, EE_Expression* source);
EE_Expression* Cobol_Parser_LL_createComputeExpr(Cobol_Universe& u, EE_Expression* target, EE_Expression* value);
EE_Expression* Cobol_Parser_LL_createSetExpr(Cobol_Universe& u, EE_Expression* target, EE_Expression* value);
EE_Expression* Cobol_Parser_LL_createCallExpr(Cobol_Universe& u, EE_Expression* program, EE_Parameter* arguments);
EE_Parameter* Cobol_Parser_LL_byReferenceParm(Cobol_Universe& u, EE_Expression* argument, EE_Parameter* previous);
EE_Parameter* Cobol_Parser_LL_byReferenceAddressParm(Cobol_Universe& u, EE_Expression* argument,
                                                     EE_Parameter* previous);
EE_Parameter* Cobol_Parser_LL_byContentParm(Cobol_Universe& u, EE_Expression* argument, EE_Parameter* previous);
EE_Parameter* Cobol_Parser_LL_byContentAddressParm(Cobol_Universe& u, EE_Expression* argument, EE_Parameter* previous);
EE_Parameter* Cobol_Parser_LL_noParameters(Cobol_Universe& u);
EE_Expression* Cobol_Parser_LL_createBinaryExpr(Cobol_Universe& u, EE_BinaryExpression::Kind kind, EE_Expression* left,
                                                EE_Expression* right);
EE_Expression* Cobol_Parser_LL_createBinaryOpPowerExpr(Cobol_Universe& u, EE_Expression* left, EE_Expression* right);
EE_Expression* Cobol_Parser_LL_createUnaryExpr(Cobol_Universe& u, EE_UnaryExpression::Kind kind,
                                               EE_Expression* operand);
EE_Expression* Cobol_Parser_LL_createParenthesesExpr(Cobol_Universe& u, EE_Expression* inner);
EE_Expression* Cobol_Parser_LL_createLiteralExpr(Cobol_Universe& u, EE_Token& token);
EE_Expression* Cobol_Parser_LL_createTrueExpr(Cobol_Universe& u);
EE_Expression* Cobol_Parser_LL_createFigConstantExpr(Cobol_Universe& u, EE_Token& token);
EE_Expression* Cobol_Parser_LL_createNameExpr(Cobol_Universe& u, EE_Token& token);
Cobol_SubscriptList* Cobol_Parser_LL_startSubscriptList(Cobol_Universe& u, EE_Expression* first);
void Cobol_Parser_LL_appendSubscript(Cobol_Universe& u, Cobol_SubscriptList& list, EE_Expression* subscript);
EE_Expression* Cobol_Parser_LL_applySubscripts(Cobol_Universe& u, EE_Expression* tree, Cobol_SubscriptList& list);
EE_Expression* Cobol_Parser_LL_createSubscriptExpr(Cobol_Universe& u, EE_Expression* name, Cobol_SubscriptList* list);
EE_Expression* Cobol_Parser_LL_createRefModExpr(Cobol_Universe& u, EE_Expression* name, EE_Expression* start);
EE_Expression* Cobol_Parser_LL_createRefModLengthExpr(Cobol_Universe& u, EE_Expression* start, EE_Expression* length);
void Cobol_Parser_LL_setExpression(Cobol_Universe& u, EE_Expression* expression);

#endif
