#ifndef NORVEXA_TREE_UPDATETREENODE_H
#define NORVEXA_TREE_UPDATETREENODE_H

#include "tree/FormatTreeNode.h"

class StackItem;

// The tree node that takes new values from the user's text; every node
// handed to the host is one. This is its frame: the constructors and the
// evaluateNow slot; the update road fills the rest.
class UpdateTreeNode : public FormatTreeNode {
public:
    // A base-class node (type, format type, name).
    UpdateTreeNode(const TypeItem& type, const TypeItem& formatType, const char* name);
    // A node of a type, named, at an offset within its parent.
    UpdateTreeNode(const TypeItem& type, const char* name, std::int64_t offset);
    ~UpdateTreeNode() override;

    // Re-evaluates the node's expression; only a result root does (null
    // here).
    virtual StackItem* evaluateNow();

    UpdateTreeNode* nextSibling() const { return TreeNode::nextSibling(); }
};

#endif
