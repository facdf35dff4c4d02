#ifndef NORVEXA_MACHINE_BASECLASSLOCATION_H
#define NORVEXA_MACHINE_BASECLASSLOCATION_H

class DebuggeeAddress;
class TypeItem;

// The address of the base-class part that baseRecord (a host base-class
// record) describes inside an object of class derived at object: a fixed
// offset, the value of a location expression evaluated with the object's
// address pushed first, or a virtual base found through the object's own
// pointers or table. Address 0 of the object's width when it cannot be
// located.
DebuggeeAddress baseClassLocation(const DebuggeeAddress& object, const TypeItem& baseRecord, const TypeItem& derived);

#endif
