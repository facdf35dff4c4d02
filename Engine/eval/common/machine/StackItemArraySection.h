#ifndef NORVEXA_MACHINE_STACKITEMARRAYSECTION_H
#define NORVEXA_MACHINE_STACKITEMARRAYSECTION_H

#include <cstdint>

#include "machine/StackItem.h"

// A Fortran array section held by the evaluator, never read from the
// debuggee: the triplet lower:upper:stride, or a vector subscript (the
// subscripts taken from another array). It answers how many elements the
// section has and the text that names it in the result.
//
// The fourth operand (the triplet's fourth item, the vector form's first) is
// kept for the consumer of the section as its asUnsigned value, 64 bits
// wide; the item itself never reads it.
class StackItemArraySection : public StackItem {
public:
    // An empty section: bounds, stride and fourth operand 0, triplet form.
    explicit StackItemArraySection(EvaluationEnvironment& environment);
    // The triplet form from the operands' asSigned (lower, upper, stride)
    // and asUnsigned (fourth) values, in the environment of lower.
    StackItemArraySection(const StackItem& lower, const StackItem& upper, const StackItem& stride,
                          const StackItem& fourth);
    // The vector form: first is the subscript array (its asUnsigned value is
    // the fourth operand), second the element count; in second's
    // environment.
    StackItemArraySection(const StackItem& first, const StackItem& second);
    // Keeps the form, the bounds and the fourth operand.
    StackItemArraySection(const StackItemArraySection& other);
    ~StackItemArraySection() override;

    StackItem* clone() const override;
    // The element count (not a byte count): the vector form's count, else
    // (upper - lower + stride) / stride, truncated toward zero and not
    // clamped (5:1 has -3). RTRC_Other for stride 0 and for a count outside
    // 32 bits. Negative counts come back as their 64-bit two's complement.
    std::uint64_t size() const override;
    std::int64_t elementCount() const;
    // Never read: hasValue is cleared and RTRC_Other raised.
    void load(const DebuggeeLocation& where) override;
    // The section's text, NUL-terminated: "(/.../)" for a vector, "l:u" for
    // stride 1, else "l:u:s".
    void* resultBuffer() const override;
    void genAdd(const StackItem& right) override;
    // True when the stride is 0.
    int isZero() const override;
    bool isArraySection() const { return true; }

    std::int64_t lower() const { return lower_; }
    std::int64_t upper() const { return upper_; }
    std::int64_t stride() const { return stride_; }
    std::uint64_t fourthOperand() const { return fourth_; }
    bool isVector() const { return vector_; }

private:
    std::int64_t lower_ = 0;
    std::int64_t upper_ = 0;
    std::int64_t stride_ = 0;
    std::uint64_t fourth_ = 0;
    bool vector_ = false;
    mutable char text_[128] = {};
};

#endif
