#ifndef NORVEXA_MACHINE_STACKITEMPICTUREVALUE_H
#define NORVEXA_MACHINE_STACKITEMPICTUREVALUE_H

#include <cstdint>
#include <type_traits>
#include <vector>

#include "machine/StackItem.h"
#include "services/InvalidOp.h"

// The common part of the COBOL items whose value is text shaped by a picture
// (external floating point and the edited kinds): the value object holds the
// characters as stored and a copy of the type's record, the member of the
// type entry that Entry names. The item adds loading and the storage view.
template <class Value, class Record, Record _TYPE_ENTRY::*Entry>
class StackItemPictureValue : public StackItem {
public:
    std::uint64_t size() const override { return type_.typeSize(); }

    // Reads the record's length in bytes from where; a location of kind none
    // or a record of length 0 is refused with RTRC_Other.
    void load(const DebuggeeLocation& where) override
    {
        setHasValue(where.kind() != DebuggeeLocation::none);
        if (!hasValue())
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        const _TYPE_ENTRY* entry = type_.typeEntry();
        if (entry == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        const Record& record = entry->*Entry;
        if (record.length == 0)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        std::vector<unsigned char> buffer(record.length, 0xFF);
        ReadDebuggeeData(buffer.data(), buffer.size(), where);
        value_ = Value(buffer.data(), record);
        location_ = where;
        setHasValue(true);
    }

    // The value's bytes; a value shorter than the type (the empty value a
    // new item starts from) is shown blank-filled to the type's size, so
    // that a store never reads past it.
    void* resultBuffer() const override
    {
        const ByteString& bytes = value_.bytes();
        const std::uint64_t n = size();
        if (bytes.length() >= n)
            return const_cast<unsigned char*>(bytes.data());
        image_.assign(bytes.data(), bytes.data() + bytes.length());
        while (image_.size() < n) {
            if constexpr (isNational)
                image_.push_back(image_.size() % 2 == 0 ? 0x00 : 0x20);
            else
                image_.push_back(0x40);
        }
        return image_.data();
    }

    // A group's view of the value: its bytes as stored.
    ByteString asAlphaNumericGroup(const TNclass&) const override { return value_.bytes(); }

    // The six relations from the item's comparison with the right operand.
    int genEQ(const StackItem& right) override { return compareWith(right) == 0; }
    int genNE(const StackItem& right) override { return compareWith(right) != 0; }
    int genLT(const StackItem& right) override { return compareWith(right) < 0; }
    int genLE(const StackItem& right) override { return compareWith(right) <= 0; }
    int genGT(const StackItem& right) override { return compareWith(right) > 0; }
    int genGE(const StackItem& right) override { return compareWith(right) >= 0; }

    const Value& value() const { return value_; }

protected:
    StackItemPictureValue(EvaluationEnvironment& environment, const Value& value, const TypeItem& type)
        : StackItem(environment, type), value_(value)
    {
        setHasValue(true);
    }
    StackItemPictureValue(const StackItemPictureValue& other) : StackItem(other), value_(other.value_) {}

    // -1, 0 or 1: this value against the right operand in this item's kind
    // and picture.
    virtual int compareWith(const StackItem& right) const = 0;

    const Record& record() const { return value_.record(); }

    Value value_;

private:
    static constexpr bool isNational = std::is_same_v<Record, TNnational_external_float> ||
                                       std::is_same_v<Record, TNnational_edited> ||
                                       std::is_same_v<Record, TNnational_numeric_edited>;
    mutable std::vector<unsigned char> image_;
};

#endif
