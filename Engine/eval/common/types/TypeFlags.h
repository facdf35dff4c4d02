#ifndef NORVEXA_TYPES_TYPEFLAGS_H
#define NORVEXA_TYPES_TYPEFLAGS_H

#include <cstdint>

#include "HostRecords.h"
#include "services/EvaluatorTypeIndex.h"

class TypeItem;

// The attribute bits of a type and its UPC block factor, computed once per
// type from its index or its entry (set) and widened by the types that
// simplification looks through (merge).
//
// Layout: the 64-bit factor word, then six bytes of flag bits. A Flag value
// is byte * 8 + bit.
class TypeFlags {
public:
    enum Flag : unsigned {
        computed = 0,
        valid = 1,
        array = 2,
        boolean = 3,
        character = 4,
        wchar = 5,
        floating = 6,
        integral = 7,
        packedDecimal = 8,
        binary = 9,
        enumeration = 10,
        pointer = 11,
        pointerToVoid = 12,
        voidType = 13,
        reference = 14,
        based = 15,
        modifier = 16,
        function = 17,
        complex = 18,
        ellipsis = 19,
        upcShared = 20,
        pointerToShared = 21,
        characterString = 22,
        descriptorObject = 23,
        // Byte 3 bit 0 is set by no rule and never merged: it would mark a
        // factor word that carries a width; as nothing sets it, merging never
        // copies a width.
        widthCarrier = 24,
        decorated = 25,
        arraySection = 26,
        anyIR = 27,
        anyIRZ = 28,
        anyIRZCL = 29,
        zonedDecimal = 30,
        nationalDecimal = 31,
        nationalString = 32,
        indexName = 33,
        indexDataItem = 34,
        externalFloat = 35,
        alphaNumericEdited = 36,
        numericEdited = 37,
        nationalExternalFloat = 38,
        nationalEdited = 39,
        nationalNumericEdited = 40,
        fileDescriptor = 41,
        addressOfReference = 42,
        dbcsEdited = 43,
        dbcsString = 44,
        fortranDescriptor = 45,
    };

    TypeFlags() = default;

    bool has(Flag f) const { return (bits_[f / 8] >> (f % 8)) & 1u; }
    void add(Flag f) { bits_[f / 8] = std::uint8_t(bits_[f / 8] | (1u << (f % 8))); }
    void remove(Flag f) { bits_[f / 8] = std::uint8_t(bits_[f / 8] & ~(1u << (f % 8))); }
    // The six flag bytes (byte 0 first).
    const std::uint8_t* bytes() const { return bits_; }

    // The UPC block factor (elements per block) of a shared type; for a
    // based variable the address of its pointer variable's name.
    std::uint64_t factor() const { return factor_; }
    void setFactor(std::uint64_t f) { factor_ = f; }
    // Based variable (leaf 70): the name of the pointer variable that holds
    // the variable's address (null for other types).
    const char* basedPointerName() const
    {
        return has(based) ? reinterpret_cast<const char*>(static_cast<std::uintptr_t>(factor_)) : nullptr;
    }

    // Forgets everything: factor 0, every bit clear (not computed).
    void clear();

    // Computes the flags of item once (nothing happens when the computed bit
    // is set) and returns them. Raises InvalidOp RTRC_AssertFail when the
    // block factor of a UPC shared type cannot be had.
    const TypeFlags& set(const TypeItem& item) { return has(computed) ? *this : compute(item); }

    // ORs the flags of another type into these: every bit of bytes 0, 1, 2
    // and 4, bits 1 to 7 of byte 3 and bits 0 to 5 of byte 5; then the block
    // factor of a shared (or pointer to shared) other with a non-zero factor.
    void merge(const TypeItem& other);
    // The same for the created-or-found type of an index; nothing when there
    // is none.
    void merge(const TYPE_INDEX& index);
    void merge(const EvaluatorTypeIndex& index);

    bool operator==(const TypeFlags& other) const;

private:
    const TypeFlags& compute(const TypeItem& item);
    void setForPrimitive(unsigned code);
    void setForEntry(const TypeItem& item, const _TYPE_ENTRY& entry);
    static std::uint64_t upcBlockFactor(const TNupcshared& record);
    static std::uint64_t upcBlockFactorFromVariable(const char* name);

    std::uint64_t factor_ = 0;
    std::uint8_t bits_[6] = {0, 0, 0, 0, 0, 0};
};

#endif
