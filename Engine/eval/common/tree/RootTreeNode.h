#ifndef NORVEXA_TREE_ROOTTREENODE_H
#define NORVEXA_TREE_ROOTTREENODE_H

#include <plomkit/ByteString.h>

#include "tree/ReferenceCounted.h"
#include "types/TypeItem.h"

class EvaluationEnvironment;

// The root of the tree of nodes that presents one result: made for the
// result's type in its evaluation environment, under the text the result is
// shown with. Reference-counted: it starts with no reference and destroys
// itself when the last reference is removed.
class RootTreeNode : public ReferenceCounted {
public:
    RootTreeNode(const TypeItem& type, EvaluationEnvironment& environment, const ByteString& text);

    RootTreeNode(const RootTreeNode&) = delete;
    RootTreeNode& operator=(const RootTreeNode&) = delete;

    const TypeItem& type() const { return type_; }
    EvaluationEnvironment& environment() const { return environment_; }
    const ByteString& expressionText() const { return text_; }

protected:
    ~RootTreeNode() override;

private:
    TypeItem type_;
    EvaluationEnvironment& environment_;
    ByteString text_;
};

#endif
