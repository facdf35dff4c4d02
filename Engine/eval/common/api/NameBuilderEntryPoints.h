#ifndef NORVEXA_API_NAMEBUILDERENTRYPOINTS_H
#define NORVEXA_API_NAMEBUILDERENTRYPOINTS_H

#include "HostServices.h"
#include "NorvexaExport.h"

class StackItem;
class UpdateTreeNode;

// The expressions that denote a child of a result tree, built from the
// parent's text and the child's name in the syntax of the language, and the
// readable form of a linkage name. Exported by their plain names.
//
// Every text handed out belongs to the calling thread and stays valid until
// the same entry point is called again on that thread. Only
// DbgBuildNodeExpression catches exceptions; the others let them out.
extern "C" {

// parent.member, the parent parenthesised unless it is a plain name; the
// empty text when either is null.
NORVEXA_API UBYTE1* DbgClassDataMemberFullName(StackItem* item, UpdateTreeNode* node, UBYTE1* parent, UBYTE1* member);
// (*((Base*)&parent)) with the short type name of the node; the empty text
// when the node, the parent or the last argument is null.
NORVEXA_API UBYTE1* DbgClassBaseClassFullName(StackItem* item, UpdateTreeNode* node, UBYTE1* parent, UBYTE1* member);
// parent.member, or *parent for a member beginning with '*' (the parent
// parenthesised unless it is simple); null when either is null.
NORVEXA_API UBYTE1* DbgStructElementFullName(StackItem* item, UpdateTreeNode* node, UBYTE1* parent, UBYTE1* member);
// *name, the name parenthesised unless it is a plain name; the empty text for
// a null or empty name.
NORVEXA_API UBYTE1* DbgDerefPointerFullName(StackItem* item, UpdateTreeNode* node, UBYTE1* name);
// The name itself (the caller's pointer) when it is simple, else (name); the
// empty text for a null or empty name.
NORVEXA_API UBYTE1* DbgMakeUnambiguousFullName(UBYTE1* name);
// The node's member name followed by (index); the empty text for a null
// node.
NORVEXA_API UBYTE1* DbgArrayElementFullName(StackItem* item, UpdateTreeNode* node, UBYTE1* parent, BYTE4 index);
// The full expression of the node, built from the root down by how each
// parent was last formatted; null for a null node, an empty expression or
// any failure.
NORVEXA_API UBYTE1* DbgBuildNodeExpression(UpdateTreeNode* node);

// The readable form of a linkage name of language 0 or 3 (C++) or 4 (the
// parallel language) and that form without its parameter list: 0 with each
// text given where its place is not null, or 10002 (another language, a
// name the demangler refuses, no demangler).
NORVEXA_API UBYTE2 DbgDemangleName(UBYTE4 language, UBYTE1* mangled, UBYTE1** readable, UBYTE1** name);
}

#endif
