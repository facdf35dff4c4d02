#ifndef NORVEXA_SERVICES_EVALUATORTYPEINDEX_H
#define NORVEXA_SERVICES_EVALUATORTYPEINDEX_H

#include <cstdint>

#include "HostRecords.h"

// The evaluator's form of the host's two-word type index: module first,
// index second. Module 0 marks the evaluator's primitive types, whose index
// word is the primitive code.
class EvaluatorTypeIndex {
public:
    EvaluatorTypeIndex() : module_(0), index_(0) {}
    explicit EvaluatorTypeIndex(unsigned index) : module_(0), index_(index) {}
    EvaluatorTypeIndex(const TYPE_INDEX& index);
    EvaluatorTypeIndex(const EvaluatorTypeIndex&) = default;

    EvaluatorTypeIndex& operator=(const EvaluatorTypeIndex&) = default;
    EvaluatorTypeIndex& operator=(const TYPE_INDEX& index);

    bool operator==(const EvaluatorTypeIndex& other) const
    {
        return module_ == other.module_ && index_ == other.index_;
    }
    bool operator==(const TYPE_INDEX& other) const;
    // Equal to a primitive code: module 0 and the same index word.
    bool operator==(unsigned index) const { return module_ == 0 && index_ == index; }

    std::uint32_t module() const { return module_; }
    std::uint32_t index() const { return index_; }
    TYPE_INDEX typeIndex() const;

private:
    std::uint32_t module_;
    std::uint32_t index_;
};

#endif
