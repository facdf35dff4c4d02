#include "tree/FormatTreeNode.h"

FormatTreeNode::FormatTreeNode(const TypeItem& type, const TypeItem& parentType, const char* name)
    : TreeNode(type, parentType, name, nullptr)
{
    setFormatType(type);
}

FormatTreeNode::FormatTreeNode(const TypeItem& type, const char* name, std::int64_t offset)
    : TreeNode(type, name, offset, nullptr)
{
    setFormatType(type);
}

FormatTreeNode::~FormatTreeNode() = default;
