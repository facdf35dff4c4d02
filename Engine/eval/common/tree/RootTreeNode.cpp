#include "tree/RootTreeNode.h"

RootTreeNode::RootTreeNode(const TypeItem& type, EvaluationEnvironment& environment, const ByteString& text)
    : type_(type), environment_(environment), text_(text)
{
}

RootTreeNode::~RootTreeNode() = default;

void RootTreeNode::addReference()
{
    references_.fetch_add(1, std::memory_order_relaxed);
}

void RootTreeNode::removeReference()
{
    unsigned count = references_.load(std::memory_order_acquire);
    // A node without references has nothing to release.
    do {
        if (count == 0)
            return;
    } while (!references_.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel));
    if (count == 1)
        delete this;
}

unsigned RootTreeNode::referenceCount() const
{
    return references_.load(std::memory_order_acquire);
}
