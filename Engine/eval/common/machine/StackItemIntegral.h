#ifndef NORVEXA_MACHINE_STACKITEMINTEGRAL_H
#define NORVEXA_MACHINE_STACKITEMINTEGRAL_H

#include <cstdint>
#include <type_traits>

#include "machine/StackItem.h"

// What the signed and unsigned integer items share: a binary integer of
// the width of T (1, 2, 4 or 8 bytes) held as the debuggee stores it,
// big-endian, so that its bytes are the result buffer and a load copies the
// debuggee's bytes unchanged.
//
// Every operator works in the type and width of this item, the left
// operand: the right operand is read as a 64-bit number through its own
// asSigned or asUnsigned, the arithmetic runs in 64-bit unsigned arithmetic
// (wrapping, never trapping) and the result is cut to the width of T. No
// promotion happens. Overflow is never reported. An operator that changes
// the value clears the item's location: the result no longer stands for the
// variable it was loaded from.
template <class T>
class StackItemIntegral : public StackItem {
    static_assert(std::is_integral_v<T> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8));

public:
    static constexpr bool isSigned = std::is_signed_v<T>;

    ~StackItemIntegral() override;

    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    void genMult(const StackItem& right) override;
    void genDivide(const StackItem& right) override;
    void genModulus(const StackItem& right) override;
    void genBitAnd(const StackItem& right) override;
    void genBitOr(const StackItem& right) override;
    void genBitXor(const StackItem& right) override;
    void genNegate() override;
    void genComplement() override;
    void genNot() override;
    void genConvert(const StackItem& source) override;
    void genLogicalShiftLeft(const StackItem& right) override;
    void genLogicalShiftRight(const StackItem& right) override;
    void genArithmeticShiftRight(const StackItem& right) override;
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
    int isZero() const override;
    // The value sign-extended (signed items) or zero-extended (unsigned
    // items); asUnsigned gives the same 64-bit pattern as asSigned.
    std::uint64_t asUnsigned() const override;
    std::int64_t asSigned() const override;
    FloatNumber asLongDouble() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;
    DecimalFloat asDecimalFloat() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    // The value as a COBOL number of its own digits, scale 0 (LENGTH OF
    // stored into a zoned, national or binary item); the receiving item's
    // MOVE fits it to its picture.
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    // The address the value holds, at the current address size; refused with
    // RTRC_IncompatTypes when the item is narrower than an address.
    DebuggeeLocation asLocation() const override;
    bool mayBeAddress() const override;

    // The value in host order.
    T value() const;

protected:
    StackItemIntegral(EvaluationEnvironment& environment, T value, unsigned int builtinIndex);
    // Of the given type from the start (a host integer of T's width).
    StackItemIntegral(EvaluationEnvironment& environment, T value, const TypeItem& type);
    StackItemIntegral(const StackItemIntegral& other);

private:
    // The value as 64 bits, widened by the signedness of T.
    std::uint64_t widened() const { return static_cast<std::uint64_t>(asSigned()); }
    // Cuts a 64-bit result to T, stores it and forgets the location.
    void setResult(std::uint64_t result);
    // The right operand's number as this kind of item reads it for add,
    // the bit operators, division, the comparisons and conversion.
    static std::uint64_t rightNumber(const StackItem& right);
    // The divisor for division and remainder: RTRC_DivideByZero for zero.
    static std::uint64_t divisor(const StackItem& right);
    // The shift count: modulo 32 for items of up to 4 bytes, modulo 64 for
    // items of 8.
    static unsigned shiftCount(const StackItem& right);
    // -1, 0 or 1: this value against the right operand's number.
    int compareWith(const StackItem& right) const;

    unsigned char bytes_[sizeof(T)];
};

extern template class StackItemIntegral<signed char>;
extern template class StackItemIntegral<short>;
extern template class StackItemIntegral<int>;
extern template class StackItemIntegral<long long>;
extern template class StackItemIntegral<unsigned char>;
extern template class StackItemIntegral<unsigned short>;
extern template class StackItemIntegral<unsigned int>;
extern template class StackItemIntegral<unsigned long long>;

#endif
