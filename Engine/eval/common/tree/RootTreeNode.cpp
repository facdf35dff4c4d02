#include "tree/RootTreeNode.h"

RootTreeNode::RootTreeNode(const TypeItem& type, EvaluationEnvironment& environment, const ByteString& text)
    : type_(type), environment_(environment), text_(text)
{
}

RootTreeNode::~RootTreeNode() = default;
