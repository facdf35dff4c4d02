#ifndef NORVEXA_MACHINE_STACKITEMDECIMALFLOAT_H
#define NORVEXA_MACHINE_STACKITEMDECIMALFLOAT_H

#include <cstdint>

#include "datatypes/DecimalFloat.h"
#include "machine/StackItem.h"

// An IEEE decimal floating-point value of 4, 8 or 16 bytes (decimal32,
// decimal64, decimal128). The value is always held rounded to the item's
// own size and in that size's context: after construction, conversion and
// each operation, so that arithmetic and comparisons use exactly the digits
// the item can store. The result buffer holds the debuggee's big-endian
// interchange bytes.
class StackItemDecimalFloat : public StackItem {
public:
    StackItemDecimalFloat(EvaluationEnvironment& environment, const DecimalFloat& value, unsigned int builtinIndex,
                          DecimalFloat::Size size);
    StackItemDecimalFloat(const StackItemDecimalFloat& other);
    ~StackItemDecimalFloat() override;

    StackItem* clone() const override = 0;
    // 4, 8 or 16; 0 for a size that is none of the three.
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    void genMult(const StackItem& right) override;
    void genDivide(const StackItem& right) override;
    void genNegate() override;
    void genConvert(const StackItem& source) override;
    // A NaN on either side orders above everything: only NE, GT and GE hold.
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
    int isZero() const override;
    std::uint64_t asUnsigned() const override;
    std::int64_t asSigned() const override;
    FloatNumber asLongDouble() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;
    DecimalFloat asDecimalFloat() const override;

    const DecimalFloat& value() const { return value_; }
    DecimalFloat::Size decimalSize() const { return size_; }

private:
    // Rounds the value to the item's size and takes that size's context.
    void fit();
    // -1, 0 or 1 against the right operand; 1 when either side is a NaN.
    int compareWith(const StackItem& right) const;

    mutable unsigned char raw_[16] = {};
    DecimalFloat value_;
    DecimalFloat::Size size_;
};

class StackItemDecimalFloat32 : public StackItemDecimalFloat {
public:
    StackItemDecimalFloat32(EvaluationEnvironment& environment, const DecimalFloat& value);
    StackItemDecimalFloat32(const StackItemDecimalFloat32& other);
    ~StackItemDecimalFloat32() override;
    StackItem* clone() const override;
};

class StackItemDecimalFloat64 : public StackItemDecimalFloat {
public:
    StackItemDecimalFloat64(EvaluationEnvironment& environment, const DecimalFloat& value);
    StackItemDecimalFloat64(const StackItemDecimalFloat64& other);
    ~StackItemDecimalFloat64() override;
    StackItem* clone() const override;
};

class StackItemDecimalFloat128 : public StackItemDecimalFloat {
public:
    StackItemDecimalFloat128(EvaluationEnvironment& environment, const DecimalFloat& value);
    StackItemDecimalFloat128(const StackItemDecimalFloat128& other);
    ~StackItemDecimalFloat128() override;
    StackItem* clone() const override;
};

#endif
