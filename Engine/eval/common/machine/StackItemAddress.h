#ifndef NORVEXA_MACHINE_STACKITEMADDRESS_H
#define NORVEXA_MACHINE_STACKITEMADDRESS_H

#include "machine/StackItem.h"

class DebuggeeAddress;

// A value that is an address in the debuggee: C and C++ pointers and
// references, COBOL pointers, the address of a variable and the result of
// pointer arithmetic. The address is held as a location (the target): a
// debuggee address, a buffer of the evaluator (whose own pointer is never
// handed out as a debuggee address) or a pointer to shared data; empty
// when no value is known. The item's own location stays where the pointer
// itself lives until an operation computes a new address.
//
// Arithmetic takes byte counts: scaling by the pointee's size belongs to
// the byte code, except for indexing, which is given the element size.
class StackItemAddress : public StackItem {
public:
    StackItemAddress(EvaluationEnvironment& environment, const DebuggeeLocation& target, const TypeItem& type);
    StackItemAddress(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemAddress(EvaluationEnvironment& environment, const TYPE_INDEX& type);
    StackItemAddress(EvaluationEnvironment& environment, unsigned int builtinIndex);
    StackItemAddress(EvaluationEnvironment& environment, unsigned long long value, const TypeItem& type);
    StackItemAddress(EvaluationEnvironment& environment, const DebuggeeAddress& address, const TypeItem& type);
    StackItemAddress(EvaluationEnvironment& environment, const DebuggeeAddress& address, const TYPE_INDEX& type);
    StackItemAddress(EvaluationEnvironment& environment, const DebuggeeAddress& address, unsigned int builtinIndex);
    StackItemAddress(const StackItemAddress& other);
    ~StackItemAddress() override;

    StackItem* clone() const override;
    // The address width of the target (4 or 8); for an item without a value
    // the program's address size.
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    // The address as big-endian bytes; zeros for an evaluator buffer.
    void* resultBuffer() const override;
    void genPointerAdd(const StackItem& right) override;
    StackItem* genPointerSubtract(const StackItem& right) override;
    void genIndex(const StackItem& subscript, std::int64_t elementSize) override;
    void genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride) override;
    void genConvert(const StackItem& source) override;
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
    DebuggeeLocation asLocation() const override;
    bool mayBeAddress() const override;
    // RTRC_Other unless the target is a valid location.
    virtual void validateAddress() const;

    // The target becomes the debuggee address of value at the program's
    // address size (the low 32 bits at 4); the item no longer lives anywhere.
    void set(unsigned long long value);
    // Outside COBOL RTRC_IncompatTypes when right is of another type; an
    // array on either side counts as a pointer to its element.
    void checkSameType(const StackItem& right) const;
    const DebuggeeLocation& target() const { return target_; }

protected:
    // The number behind the address: the debuggee address of a kind-2
    // target; 0 for an evaluator buffer, whose own pointer is no debuggee
    // address. RTRC_Other for an invalid target.
    std::uint64_t asNumber() const;
    void advance(std::int64_t bytes);

    mutable DebuggeeLocation target_;

private:
    // The class-pointer conversions; each answers whether it converted.
    bool genConvertToBasePointer(std::uint64_t value, const TypeItem& derived, const TypeItem& targetPointer);
    bool genConvertToDerivedPointer(std::uint64_t value, const TypeItem& sourcePointer, const TypeItem& derived);
    unsigned addressBytes() const;
};

#endif
