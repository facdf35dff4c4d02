#ifndef NORVEXA_TESTHOST_INPROCESS_COUNTINGITEM_H
#define NORVEXA_TESTHOST_INPROCESS_COUNTINGITEM_H

#include <cstdint>
#include <vector>

#include "machine/StackItem.h"
#include "services/InvalidOp.h"

// A stack item that counts its deletions (clones count into the same
// counter) and supports no operator of its own: every operation is the base
// class's. Its value is `size` raw bytes that load reads through the base's
// buffer load; a size of 0 holds nothing. With failCheck set, checkValue
// refuses with RTRC_BadDataInNumeric.
class CountingItem : public StackItem {
public:
    CountingItem(EvaluationEnvironment& environment, int& deletions, unsigned size = 0,
                 const TypeItem& type = TypeItem(130u))
        : StackItem(environment, type), deletions_(deletions), bytes_(size)
    {}
    CountingItem(const CountingItem& other)
        : StackItem(other), failCheck(other.failCheck), deletions_(other.deletions_), bytes_(other.bytes_)
    {}
    ~CountingItem() override { ++deletions_; }

    StackItem* clone() const override { return new CountingItem(*this); }
    std::uint64_t size() const override { return bytes_.size(); }
    void load(const DebuggeeLocation& where) override
    {
        setHasValue(false);
        loadBuffer(where, bytes_.empty() ? nullptr : bytes_.data());
    }
    void* resultBuffer() const override { return bytes_.empty() ? nullptr : const_cast<unsigned char*>(bytes_.data()); }
    void checkValue() const override
    {
        ++checks;
        if (failCheck)
            throw InvalidOp(InvalidOp::RTRC_BadDataInNumeric, __PRETTY_FUNCTION__, __LINE__);
    }

    bool failCheck = false;
    // How often checkValue was asked.
    mutable unsigned checks = 0;

    // The base class's protected services, for the tests.
    using StackItem::clearLocation;

private:
    int& deletions_;
    std::vector<unsigned char> bytes_;
};

#endif
