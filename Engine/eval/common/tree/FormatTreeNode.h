#ifndef NORVEXA_TREE_FORMATTREENODE_H
#define NORVEXA_TREE_FORMATTREENODE_H

#include <plomkit/ByteString.h>

#include "tree/DebugType.h"
#include "tree/FormatPrimitive.h"
#include "tree/TreeNode.h"

class StackItem;

// The tree node that formats its value for the host. This is its frame:
// the constructors, the format type and the FormatValue slot; the
// formatting road itself fills FormatValue.
class FormatTreeNode : public TreeNode, public FormatPrimitive {
public:
    // A base-class node (type, parent type, name).
    FormatTreeNode(const TypeItem& type, const TypeItem& parentType, const char* name);
    // A node of a type, named, at an offset within its parent.
    FormatTreeNode(const TypeItem& type, const char* name, std::int64_t offset);
    ~FormatTreeNode() override;

    // The text of the node's value in a representation, at most maxLength
    // characters; the text stays with the node. Status 0, or 1012 for an
    // aggregate. Until the formatting road is in place every value is
    // refused with InvalidOp RTRC_InvalidFormat.
    virtual std::uint16_t FormatValue(DBG_REPS rep, StackItem& item, const char*& text, unsigned int maxLength) const;

    const TypeItem& formatType() const { return formatType_; }
    // Returns whether the format type changed.
    bool setFormatType(const TypeItem& type);
    DBG_REPS representation() const { return representation_; }
    void setRepresentation(DBG_REPS rep) { representation_ = rep; }
    const ByteString& formattedValue() const { return formattedValue_; }

protected:
    TypeItem formatType_;
    DBG_REPS representation_ = 0;
    mutable ByteString formattedValue_;
    int localeNesting_ = 0;
    bool formatTypeChanged_ = false;
    std::uint8_t fixBits_ = 0;
};

#endif
