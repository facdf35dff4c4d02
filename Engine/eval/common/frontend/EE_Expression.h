#ifndef EE_EXPRESSION_H
#define EE_EXPRESSION_H

#include "frontend/EE_String.h"

class EE_TypeDescriptor;
class EE_NameExpression;
class EE_ThisExpression;
class EE_LiteralExpression;
class EE_FigConstantExpression;
class EE_UnaryExpression;
class EE_BinaryExpression;
class EE_ConditionalExpression;
class EE_CastExpression;
class EE_SizeofTypeExpression;
class EE_TypeidOfTypeExpression;
class EE_OffsetofExpression;
class EE_ArraySectionExpression;
class EE_VectorSubscriptExpression;
class EE_MemberExpression;
class EE_ParenthesesExpression;
class EE_ImaginaryExpression;
class EE_FunctionCallExpression;
class EE_SubscriptExpression;

// A node of the syntax tree of one parsed expression. Nodes are made by the
// services' factory in the request's storage arena and die with the arena;
// nothing deletes a node. The analyser fills in `typeDescriptor` and sets
// `analyzed` once it has typed the node.
class EE_Expression {
public:
    // The node kinds, one per node class (a subscript is a binary node).
    enum NodeKind : unsigned {
        NameNode = 0,
        ThisNode = 1,
        LiteralNode = 2,
        UnaryNode = 3,
        BinaryNode = 4,
        ConditionalNode = 5,
        CastNode = 6,
        SizeofTypeNode = 7,
        TypeidOfTypeNode = 8,
        OffsetofNode = 9,
        ArraySectionNode = 10,
        VectorSubscriptNode = 11,
        MemberNode = 12,
        ParenthesesNode = 13,
        ImaginaryNode = 14,
        FunctionCallNode = 15,
        FigConstantNode = 16,
        LastNodeKind = 16
    };

    // The node as text: detail 0 gives a short form (mostly the operator),
    // any other detail the whole sub-expression. Error messages name the
    // offending sub-expression with it.
    virtual EE_String signature(int detail) const;

    // Down-casts: the node itself, typed as the class named, when it is of that
    // class; null otherwise.
    virtual EE_NameExpression* asNameExpression();
    virtual EE_ThisExpression* asThisExpression();
    virtual EE_LiteralExpression* asLiteralExpression();
    virtual EE_FigConstantExpression* asFigConstantExpression();
    virtual EE_UnaryExpression* asUnaryExpression();
    virtual EE_BinaryExpression* asBinaryExpression();
    virtual EE_ConditionalExpression* asConditionalExpression();
    virtual EE_CastExpression* asCastExpression();
    virtual EE_SizeofTypeExpression* asSizeofTypeExpression();
    virtual EE_TypeidOfTypeExpression* asTypeidOfTypeExpression();
    virtual EE_OffsetofExpression* asOffsetofExpression();
    virtual EE_ArraySectionExpression* asArraySectionExpression();
    virtual EE_VectorSubscriptExpression* asVectorSubscriptExpression();
    virtual EE_MemberExpression* asMemberExpression();
    virtual EE_ParenthesesExpression* asParenthesesExpression();
    virtual EE_ImaginaryExpression* asImaginaryExpression();
    virtual EE_FunctionCallExpression* asFunctionCallExpression();
    virtual EE_SubscriptExpression* asSubscriptExpression();

    virtual const EE_NameExpression* asNameExpression() const;
    virtual const EE_ThisExpression* asThisExpression() const;
    virtual const EE_LiteralExpression* asLiteralExpression() const;
    virtual const EE_FigConstantExpression* asFigConstantExpression() const;
    virtual const EE_UnaryExpression* asUnaryExpression() const;
    virtual const EE_BinaryExpression* asBinaryExpression() const;
    virtual const EE_ConditionalExpression* asConditionalExpression() const;
    virtual const EE_CastExpression* asCastExpression() const;
    virtual const EE_SizeofTypeExpression* asSizeofTypeExpression() const;
    virtual const EE_TypeidOfTypeExpression* asTypeidOfTypeExpression() const;
    virtual const EE_OffsetofExpression* asOffsetofExpression() const;
    virtual const EE_ArraySectionExpression* asArraySectionExpression() const;
    virtual const EE_VectorSubscriptExpression* asVectorSubscriptExpression() const;
    virtual const EE_MemberExpression* asMemberExpression() const;
    virtual const EE_ParenthesesExpression* asParenthesesExpression() const;
    virtual const EE_ImaginaryExpression* asImaginaryExpression() const;
    virtual const EE_FunctionCallExpression* asFunctionCallExpression() const;
    virtual const EE_SubscriptExpression* asSubscriptExpression() const;

    unsigned kind;                     // NodeKind
    EE_TypeDescriptor* typeDescriptor; // the node's type once analysed
    int analyzed;                      // non-zero once the analyser typed the node
    unsigned depth;                    // 1 for a leaf; one more than the deepest operand

    // The signature of a sub-expression that may be missing (empty text then).
    static EE_String signatureOf(const EE_Expression* expression, int detail);
    // The signature of a type that may be missing (empty text then).
    static EE_String signatureOf(const EE_TypeDescriptor* type);

protected:
    explicit EE_Expression(unsigned nodeKind, EE_TypeDescriptor* type = nullptr)
        : kind(nodeKind), typeDescriptor(type), analyzed(0), depth(1)
    {}
    EE_Expression(const EE_Expression&) = default;
    EE_Expression& operator=(const EE_Expression&) = default;
    // Nodes live in an arena and are never deleted through the base.
    ~EE_Expression() = default;
};

#endif
