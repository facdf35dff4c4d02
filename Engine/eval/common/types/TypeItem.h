#ifndef NORVEXA_TYPES_TYPEITEM_H
#define NORVEXA_TYPES_TYPEITEM_H

#include "HostRecords.h"
#include "services/EvaluatorTypeIndex.h"

// The evaluator's handle on one type: its index and, fetched on demand, the
// host's entry for it.
//
// This holds what the evaluation context and the value stack need of a type
// so far; the type model builds the rest (simplification, flags, kinds,
// sizes, names) on it.
class TypeItem {
public:
    TypeItem() = default;
    // A primitive type {0, code}.
    explicit TypeItem(unsigned code) : index_(code) {}
    explicit TypeItem(const TYPE_INDEX& index) : index_(index) {}
    TypeItem(const TYPE_INDEX& index, const _TYPE_ENTRY* entry) : index_(index), entry_(entry) {}
    TypeItem(const TypeItem&) = default;
    TypeItem& operator=(const TypeItem&) = default;
    virtual ~TypeItem() = default;

    const EvaluatorTypeIndex& typeIndex() const { return index_; }

    // The host's entry, asked once; null for the evaluator's primitives.
    const _TYPE_ENTRY* typeEntry() const;

    // The primitive code this type stands for: the index word of a type
    // without host entry; 223 (no primitive equivalent) for anything else.
    unsigned equivalentPrimitiveType() const;

protected:
    EvaluatorTypeIndex index_;
    mutable const _TYPE_ENTRY* entry_ = nullptr;
};

#endif
