#ifndef NORVEXA_API_NODENAME_H
#define NORVEXA_API_NODENAME_H

#include <plomkit/ByteString.h>

class UpdateTreeNode;

// The expression that denotes a node of a result tree: its member name at
// the root (or below a parent whose expression is empty), else the parent's
// expression qualified by how the parent was last formatted (its own
// representation): 12 to 15 a member (COBOL "M OF P", else P.M), 11 an
// element (P followed by the subscript of the member name), 19 the target of
// a pointer (*P). Any other representation, none included, raises
// InvalidOp RTRC_IncompatTypes.
ByteString nodeName(UpdateTreeNode& node);

#endif
