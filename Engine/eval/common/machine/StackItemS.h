#ifndef NORVEXA_MACHINE_STACKITEMS_H
#define NORVEXA_MACHINE_STACKITEMS_H

#include <type_traits>

#include "machine/StackItemIntegral.h"

// A signed binary integer of the width of T (signed char, short, int,
// long long): the values of signed C integer variables and constants. It
// reads a right operand through asSigned where the operation compares,
// adds, divides or converts, and widens its own value with its sign.
template <class T>
class StackItemS : public StackItemIntegral<T> {
    static_assert(std::is_signed_v<T>);

public:
    StackItemS(EvaluationEnvironment& environment, T value, unsigned int builtinIndex)
        : StackItemIntegral<T>(environment, value, builtinIndex)
    {}
    StackItemS(EvaluationEnvironment& environment, T value, const TypeItem& type)
        : StackItemIntegral<T>(environment, value, type)
    {}
    StackItemS(const StackItemS& other) : StackItemIntegral<T>(other) {}
    ~StackItemS() override = default;

    // A new item of this template class (not of a leaf) with the same type,
    // flags (without the register marks) and value, and no location.
    StackItem* clone() const override { return new StackItemS(*this); }
};

// The leaves fix the built-in type index of their C type.
class StackItemS1 : public StackItemS<signed char> {
public:
    StackItemS1(EvaluationEnvironment& environment, signed char value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemS1(EvaluationEnvironment& environment, signed char value, const TypeItem& type);
    StackItemS1(const StackItemS1& other);
    ~StackItemS1() override;
};

class StackItemS2 : public StackItemS<short> {
public:
    StackItemS2(EvaluationEnvironment& environment, short value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemS2(EvaluationEnvironment& environment, short value, const TypeItem& type);
    StackItemS2(const StackItemS2& other);
    ~StackItemS2() override;
};

class StackItemS4 : public StackItemS<int> {
public:
    StackItemS4(EvaluationEnvironment& environment, int value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemS4(EvaluationEnvironment& environment, int value, const TypeItem& type);
    StackItemS4(const StackItemS4& other);
    ~StackItemS4() override;
};

class StackItemS8 : public StackItemS<long long> {
public:
    StackItemS8(EvaluationEnvironment& environment, long long value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemS8(EvaluationEnvironment& environment, long long value, const TypeItem& type);
    StackItemS8(const StackItemS8& other);
    ~StackItemS8() override;
};

#endif
