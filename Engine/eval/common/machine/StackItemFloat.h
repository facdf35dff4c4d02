#ifndef NORVEXA_MACHINE_STACKITEMFLOAT_H
#define NORVEXA_MACHINE_STACKITEMFLOAT_H

#include <cstdint>

#include "datatypes/FloatNumber.h"
#include "machine/StackItem.h"

// Plain holders of a debuggee binary or hexadecimal float's stored bytes.
struct debuggeeFloat_t {
    unsigned char bytes[4];
};
struct debuggeeDouble_t {
    unsigned char bytes[8];
};
struct debuggeeLongDouble_t {
    unsigned char bytes[16];
};

// A binary floating-point value of 4, 8 or 16 bytes, IEEE or hexadecimal
// as the debuggee stores it. The value is held twice: as the stored bytes
// and as a FloatNumber (a host long double with its format word). All
// arithmetic is done on the FloatNumber; the bytes are rebuilt from it when
// the result buffer is asked for, always in the item's own storage format
// (hexadecimal exactly when isQuvHexFloat), whatever format word the value
// picked up on the way. The format word keeps its role in the arithmetic
// and comparisons of the value.
//
// The built-in type 139 (the second long double) is a 12-byte slot of the
// evaluator's own 80-bit extended value (Extended12), not a 16-byte float.
template <class T>
class StackItemFloat : public StackItem {
public:
    // All zero bytes, made once on first use and never freed.
    static const T& zero();

    // From stored bytes: the index decides the decoding (196-198
    // hexadecimal, 139 the 12-byte slot, else IEEE); the format is not
    // consulted.
    StackItemFloat(EvaluationEnvironment& environment, const T& raw, unsigned int builtinIndex,
                   FloatNumber::Format format);
    // From a number: hexadecimal exactly when its format word is; the stored
    // bytes are encoded from it (left zero when the storage format cannot
    // hold the value; the result buffer then refuses it). An unusable number
    // is refused with RTRC_IncompatTypes.
    StackItemFloat(EvaluationEnvironment& environment, const FloatNumber& number, unsigned int builtinIndex);
    StackItemFloat(const StackItemFloat& other);
    ~StackItemFloat() override;

    StackItemFloat* nonconst() const { return const_cast<StackItemFloat*>(this); }
    const FloatNumber& value() const { return value_; }

    StackItem* clone() const override;
    std::uint64_t size() const override;
    // Undecodable bytes leave an unusable value (format word 2) and the load
    // completes.
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;

    void genAdd(const StackItem& right) override;
    void genSubtract(const StackItem& right) override;
    void genMult(const StackItem& right) override;
    void genDivide(const StackItem& right) override;
    // powl for a base of at least zero, pow in double for a negative one;
    // the result's format word is IEEE.
    void genPow(const StackItem& right, unsigned int n) override;
    void genNegate() override;
    void genConvert(const StackItem& source) override;
    // Rounds a hexadecimal item to the precision of a size-byte (4, 8 or 16)
    // hexadecimal float; RTRC_IncompatTypes otherwise.
    void genTruncateFP(unsigned int size) override;
    // In COBOL, a side not loaded from a variable is compared at the
    // precision of an 8-byte hexadecimal float when the other side is
    // hexadecimal (the same rule for all six relations).
    int genEQ(const StackItem& right) override;
    int genNE(const StackItem& right) override;
    int genLT(const StackItem& right) override;
    int genLE(const StackItem& right) override;
    int genGT(const StackItem& right) override;
    int genGE(const StackItem& right) override;
    int isZero() const override;
    std::uint64_t asUnsigned() const override;
    std::int64_t asSigned() const override;
    bool isQuvHexFloat() const override;
    FloatNumber asLongDouble() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;
    DecimalFloat asDecimalFloat() const override;
    PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const override;
    ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const override;
    NationalDecimal asNationalDecimal(const TNnational_decimal& record) const override;
    FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const override;
    // The leading bytes of the 16-byte hexadecimal encoding; a longer string
    // is filled with EBCDIC blanks (0x40).
    ByteString asCharstring(const TNcharstring& record) const override;
    ExternalFloat asExternalFloat(const TNexternal_float& record) const override;
    NumericEdited asNumericEdited(const TNnumeric_edited& record) const override;
    NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const override;
    NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const override;
    // The leading size() bytes of the 16-byte hexadecimal encoding.
    ByteString asAlphaNumericGroup(const TNclass& record) const override;

private:
    bool isExtended12() const { return extended12_; }
    // Outside COBOL a float or double item holds only values of its format,
    // as a C compiler's float and double do (binary or hexadecimal alike):
    // conversions and arithmetic round to it.
    bool computesInFormat() const;
    void roundToFormat();
    // The result of left operation right, computed at long double precision
    // into value_, rounded once to the item's format.
    template <class Operation>
    void inFormat(const FloatNumber& left, const FloatNumber& right, Operation operation);
    // The 16-byte hexadecimal encoding of the value.
    void hexEncoding(unsigned char (&bytes)[16]) const;
    // The relation of this value and the right operand's after the COBOL
    // rounding step.
    template <class Relation>
    int compare(const StackItem& right, Relation relation) const;

    mutable T raw_;
    FloatNumber value_;
    bool hexFormat_ = false;
    bool extended12_ = false;
};

extern template class StackItemFloat<debuggeeFloat_t>;
extern template class StackItemFloat<debuggeeDouble_t>;
extern template class StackItemFloat<debuggeeLongDouble_t>;

// The leaves fix the built-in index: IEEE 136, 137, 138; hexadecimal 196,
// 197, 198.
class StackItemF : public StackItemFloat<debuggeeFloat_t> {
public:
    StackItemF(EvaluationEnvironment& environment, const debuggeeFloat_t& raw, FloatNumber::Format format);
    StackItemF(EvaluationEnvironment& environment, const FloatNumber& number);
    StackItemF(const StackItemF& other);
    ~StackItemF() override;
};

class StackItemD : public StackItemFloat<debuggeeDouble_t> {
public:
    StackItemD(EvaluationEnvironment& environment, const debuggeeDouble_t& raw, FloatNumber::Format format);
    StackItemD(EvaluationEnvironment& environment, const FloatNumber& number);
    StackItemD(const StackItemD& other);
    ~StackItemD() override;
};

class StackItemLD : public StackItemFloat<debuggeeLongDouble_t> {
public:
    StackItemLD(EvaluationEnvironment& environment, const debuggeeLongDouble_t& raw, FloatNumber::Format format);
    // The index passed through: the factory's way to index 139.
    StackItemLD(EvaluationEnvironment& environment, const debuggeeLongDouble_t& raw, unsigned int builtinIndex,
                FloatNumber::Format format);
    StackItemLD(EvaluationEnvironment& environment, const FloatNumber& number);
    StackItemLD(const StackItemLD& other);
    ~StackItemLD() override;
};

#endif
