#ifndef NORVEXA_COMPILER_EVALUATORSUPPORT_H
#define NORVEXA_COMPILER_EVALUATORSUPPORT_H

// Small helpers the analyser and the code generation share.

#include "compiler/EE_ExpressionEvaluator.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_TypeDescriptor.h"

namespace evaluator {

// What a pointer the tree must hold points to; code 2 when it is null.
template <class T>
T& present(T* p)
{
    if (p == nullptr)
        refuse();
    return *p;
}

// The array type a name declares when the name stands for the whole array
// (not a member of the enclosing class reached without its object); null
// for any other operand.
EE_TypeDescriptor* wholeArrayNamed(EE_Expression& operand);

// A Fortran LOGICAL (or a comparison's truth value) takes no part in
// arithmetic, shifts or bitwise operations: refused naming the operand.
void refuseLogicalInArithmetic(EE_DebuggerServices& services, EE_Expression& operand);

inline bool isPointerKind(unsigned kind)
{
    return kind == EE_TypeDescriptor::Pointer || kind == EE_TypeDescriptor::FortranPointer;
}

// Kinds that take a value: the root context means a plain value for them.
inline EE_ExpressionEvaluator::LoadContext valueContext(EE_ExpressionEvaluator::LoadContext context)
{
    return context == EE_ExpressionEvaluator::LoadRootValue ? EE_ExpressionEvaluator::LoadValue : context;
}

// A node down-cast by its kind; a node whose class does not answer to its
// kind is an unsupported node (code 3 carrying it).
template <class Node>
Node& as(Node* node, EE_Expression& expression)
{
    if (node == nullptr)
        throw EE_Exception(EE_Exception::UnsupportedOperator, &expression);
    return *node;
}

} // namespace evaluator

#endif
