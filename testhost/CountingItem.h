#ifndef NORVEXA_TESTHOST_COUNTINGITEM_H
#define NORVEXA_TESTHOST_COUNTINGITEM_H

#include <cstdint>
#include <vector>

#include "machine/StackItem.h"

// A stack item that counts its deletions (clones count into the same
// counter) and supports no operator of its own: every operation is the base
// class's. Its value is `size` raw bytes that load reads through the base's
// buffer load; a size of 0 holds nothing. With failCheck set, checkValue
// refuses with RTRC_BadDataInNumeric.
class CountingItem : public StackItem {
public:
    CountingItem(EvaluationEnvironment& environment, int& deletions, unsigned size = 0,
                 const TypeItem& type = TypeItem(130u));
    CountingItem(const CountingItem& other);
    ~CountingItem() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;
    void checkValue() const override;

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
