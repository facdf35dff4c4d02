#include "tree/UpdateTreeNode.h"

UpdateTreeNode::UpdateTreeNode(const TypeItem& type, const TypeItem& formatType, const char* name)
    : FormatTreeNode(type, formatType, name)
{
}

UpdateTreeNode::UpdateTreeNode(const TypeItem& type, const char* name, std::int64_t offset)
    : FormatTreeNode(type, name, offset)
{
}

UpdateTreeNode::~UpdateTreeNode() = default;

StackItem* UpdateTreeNode::evaluateNow()
{
    return nullptr;
}
