#ifndef NORVEXA_MACHINE_STACKITEMSQLTYPE_H
#define NORVEXA_MACHINE_STACKITEMSQLTYPE_H

#include "machine/StackItem.h"

// A symbol declared with an SQL type (leaf 89). It carries the type so that
// the symbol can be named and shown, but it has no value: it cannot be
// loaded, has size 0 and takes part in no operation. Its host variables are
// read through the result trees.
class StackItemSqltype : public StackItem {
public:
    StackItemSqltype(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemSqltype(const StackItemSqltype& other);
    ~StackItemSqltype() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    // Clears hasValue and raises RTRC_IncompatTypes.
    void load(const DebuggeeLocation& where) override;
    // RTRC_NotAllocated: such a value is no condition.
    int isZero() const override;
};

#endif
