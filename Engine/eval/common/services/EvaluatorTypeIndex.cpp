#include "services/EvaluatorTypeIndex.h"

EvaluatorTypeIndex::EvaluatorTypeIndex(const TYPE_INDEX& index) : module_(index.module), index_(index.index) {}

EvaluatorTypeIndex& EvaluatorTypeIndex::operator=(const TYPE_INDEX& index)
{
    module_ = index.module;
    index_ = index.index;
    return *this;
}

bool EvaluatorTypeIndex::operator==(const TYPE_INDEX& other) const
{
    return module_ == other.module && index_ == other.index;
}

TYPE_INDEX EvaluatorTypeIndex::typeIndex() const
{
    TYPE_INDEX t{};
    t.module = module_;
    t.index = index_;
    return t;
}
