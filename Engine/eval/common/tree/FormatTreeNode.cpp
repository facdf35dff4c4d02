#include "tree/FormatTreeNode.h"

#include "services/InvalidOp.h"

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

std::uint16_t FormatTreeNode::FormatValue(DBG_REPS, StackItem&, const char*&, unsigned int) const
{
    throw InvalidOp(InvalidOp::RTRC_InvalidFormat,
                    "virtual UBYTE2 FormatTreeNode::FormatValue(DBG_REPS, StackItem&, const char*&, UBYTE4) const",
                    __LINE__);
}
