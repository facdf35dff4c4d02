#ifndef NORVEXA_TREE_BASECLASSPART_H
#define NORVEXA_TREE_BASECLASSPART_H

class DebuggeeAddress;
class TypeItem;

// The address of the base-class part that baseRecord (a host base-class
// record) describes inside an object of class derived at object. The tree
// asks here and nowhere else, so that the value stack's own answer can take
// over in one place.
DebuggeeAddress baseClassPart(const DebuggeeAddress& object, const TypeItem& baseRecord, const TypeItem& derived);

#endif
