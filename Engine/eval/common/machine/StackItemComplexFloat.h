#ifndef NORVEXA_MACHINE_STACKITEMCOMPLEXFLOAT_H
#define NORVEXA_MACHINE_STACKITEMCOMPLEXFLOAT_H

#include <cstdint>

#include "datatypes/FloatNumber.h"
#include "machine/StackItem.h"

// Stored bytes of a complex value: real part first, then imaginary part.
struct ComplexF {
    unsigned char bytes[8]; // two 4-byte floats
};
struct ComplexD {
    unsigned char bytes[16]; // two 8-byte floats
};
// Two 16-byte floats (types 142 and 205), or two 12-byte extended slots
// (type 143) in the first 24 bytes.
struct ComplexLD {
    unsigned char bytes[32];
};

// A complex value of C and Fortran: a pair of binary floats, IEEE or
// hexadecimal, each held as stored bytes and as a FloatNumber. All
// arithmetic is done on the FloatNumbers; the stored bytes are rebuilt in
// the item's own storage format when the result buffer is asked for.
// Complex values are never ordered, have no power and convert to no other
// kind of data (the base refuses those with RTRC_IncompatTypes).
template <class T>
class StackItemComplexFloat : public StackItem {
public:
    // From host numbers: the stored bytes are encoded from them.
    StackItemComplexFloat(EvaluationEnvironment& environment, const FloatNumber& real, const FloatNumber& imaginary,
                          unsigned int builtinIndex);
    StackItemComplexFloat(const StackItemComplexFloat& other);
    ~StackItemComplexFloat() override;

    StackItemComplexFloat* nonconst() const { return const_cast<StackItemComplexFloat*>(this); }

    StackItem* clone() const override;
    std::uint64_t size() const override;
    // From debuggee memory or an evaluator buffer only (RTRC_Other
    // otherwise): the real part at the location, the imaginary part half the
    // size further.
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    void genMult(const StackItem& right) override;
    void genDivide(const StackItem& right) override;
    void genNegate() override;
    void genConvert(const StackItem& source) override;
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int isZero() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;

private:
    // Bytes of one part.
    unsigned int partSize() const;
    FloatNumber decodePart(const unsigned char* bytes) const;
    void encodePart(const FloatNumber& part, unsigned char* bytes) const;

    mutable T raw_;
    FloatNumber realValue_;
    FloatNumber imaginaryValue_;
    bool hexFormat_;
    bool extended12_;
};

extern template class StackItemComplexFloat<ComplexF>;
extern template class StackItemComplexFloat<ComplexD>;
extern template class StackItemComplexFloat<ComplexLD>;

// The leaves fix the built-in index: IEEE 140, 141, 142; hexadecimal 203,
// 204, 205.
class StackItemComplexF : public StackItemComplexFloat<ComplexF> {
public:
    StackItemComplexF(EvaluationEnvironment& environment, const FloatNumber& real, const FloatNumber& imaginary,
                      FloatNumber::Format format);
    StackItemComplexF(const StackItemComplexF& other);
    ~StackItemComplexF() override;
};

class StackItemComplexD : public StackItemComplexFloat<ComplexD> {
public:
    StackItemComplexD(EvaluationEnvironment& environment, const FloatNumber& real, const FloatNumber& imaginary,
                      FloatNumber::Format format);
    StackItemComplexD(const StackItemComplexD& other);
    ~StackItemComplexD() override;
};

class StackItemComplexLD : public StackItemComplexFloat<ComplexLD> {
public:
    StackItemComplexLD(EvaluationEnvironment& environment, const FloatNumber& real, const FloatNumber& imaginary,
                       FloatNumber::Format format);
    // The index passed through: the factory's way to index 143.
    StackItemComplexLD(EvaluationEnvironment& environment, const FloatNumber& real, const FloatNumber& imaginary,
                       unsigned int builtinIndex, FloatNumber::Format format);
    StackItemComplexLD(const StackItemComplexLD& other);
    ~StackItemComplexLD() override;
};

#endif
