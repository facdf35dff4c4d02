#ifndef NORVEXA_MACHINE_STACKITEMU_H
#define NORVEXA_MACHINE_STACKITEMU_H

#include <type_traits>

#include "machine/StackItemIntegral.h"

// An unsigned binary integer of the width of T (unsigned char, short, int,
// long long): unsigned C integers, characters, booleans and wide
// characters, and the boolean results of the machine. It reads a right
// operand through asUnsigned and widens its own value with zeros.
template <class T>
class StackItemU : public StackItemIntegral<T> {
    static_assert(std::is_unsigned_v<T>);

public:
    StackItemU(EvaluationEnvironment& environment, T value, unsigned int builtinIndex)
        : StackItemIntegral<T>(environment, value, builtinIndex)
    {}
    StackItemU(EvaluationEnvironment& environment, T value, const TypeItem& type)
        : StackItemIntegral<T>(environment, value, type)
    {}
    StackItemU(const StackItemU& other) : StackItemIntegral<T>(other) {}
    ~StackItemU() override = default;

    // A new item of this template class (not of a leaf) with the same type,
    // flags (without the register marks) and value, and no location.
    StackItem* clone() const override { return new StackItemU(*this); }
};

// The leaves fix the built-in type index of their C type. U1 and B1 mark
// their type as a COBOL boolean when the current language is COBOL.
class StackItemU1 : public StackItemU<unsigned char> {
public:
    StackItemU1(EvaluationEnvironment& environment, unsigned char value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemU1(EvaluationEnvironment& environment, unsigned char value, const TypeItem& type);
    StackItemU1(const StackItemU1& other);
    ~StackItemU1() override;
};

// A boolean result of the machine (a comparison, a logical not, a condition
// name test): always 0 or 1.
class StackItemB1 : public StackItemU<unsigned char> {
public:
    StackItemB1(EvaluationEnvironment& environment, unsigned char value);
    StackItemB1(const StackItemB1& other);
    ~StackItemB1() override;
};

class StackItemU2 : public StackItemU<unsigned short> {
public:
    StackItemU2(EvaluationEnvironment& environment, unsigned short value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemU2(EvaluationEnvironment& environment, unsigned short value, const TypeItem& type);
    StackItemU2(const StackItemU2& other);
    ~StackItemU2() override;
};

// A wide-character constant where wchar_t is 2 bytes.
class StackItemW2 : public StackItemU<unsigned short> {
public:
    StackItemW2(EvaluationEnvironment& environment, unsigned short value);
    StackItemW2(const StackItemW2& other);
    ~StackItemW2() override;
};

class StackItemU4 : public StackItemU<unsigned int> {
public:
    StackItemU4(EvaluationEnvironment& environment, unsigned int value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemU4(EvaluationEnvironment& environment, unsigned int value, const TypeItem& type);
    StackItemU4(const StackItemU4& other);
    ~StackItemU4() override;
};

// A wide-character constant where wchar_t is 4 bytes.
class StackItemW4 : public StackItemU<unsigned int> {
public:
    StackItemW4(EvaluationEnvironment& environment, unsigned int value);
    StackItemW4(const StackItemW4& other);
    ~StackItemW4() override;
};

// A 4-byte boolean.
class StackItemB4 : public StackItemU<unsigned int> {
public:
    StackItemB4(EvaluationEnvironment& environment, unsigned int value);
    StackItemB4(const StackItemB4& other);
    ~StackItemB4() override;
};

class StackItemU8 : public StackItemU<unsigned long long> {
public:
    StackItemU8(EvaluationEnvironment& environment, unsigned long long value);
    // Of the given type (a host integer or built-in index of this width).
    StackItemU8(EvaluationEnvironment& environment, unsigned long long value, const TypeItem& type);
    StackItemU8(const StackItemU8& other);
    ~StackItemU8() override;
};

#endif
