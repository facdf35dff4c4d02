#ifndef NORVEXA_TYPES_RTTISUPPORT_H
#define NORVEXA_TYPES_RTTISUPPORT_H

#include <string>

#include "types/TypeItem.h"

class DebuggeeAddress;
class DebuggeeLocation;

// Finds the dynamic class of a C++ object from its run-time type record in
// debuggee memory: the object holds a pointer to its virtual table, the word
// before the table's address point holds a pointer to the type-information
// object, and the word after the start of that object a pointer to the
// class's mangled name (its length in decimal, then the name). No operation
// lets an exception out: unreadable memory, missing records and unknown
// names all mean no dynamic class.
class RTTIsupport {
public:
    // The class name read for a virtual table.
    class TypeInfo {
    public:
        // Reads the name for the virtual-table address; empty on any failure.
        explicit TypeInfo(const DebuggeeAddress& vtable);
        // The name as stored, length prefix included (empty when unread).
        const std::string& text() const { return text_; }
        // The name without its length prefix; empty when the stored text is
        // shorter than 2 characters or digits only.
        std::string typeName() const;

    private:
        std::string text_;
    };

    // Longest class name taken from the debuggee; a longer length prefix is
    // taken as no name.
    static constexpr unsigned maximumNameLength = 4096;

    // The type information of the object at object of the declared type
    // (owned by the caller), or null.
    static TypeInfo* getTypeInfo(const TypeItem& type, const DebuggeeAddress& object);
    // The dynamic class of the object when one is found, else type.
    static TypeItem getDisplayType(const TypeItem& type, const DebuggeeAddress& object);
    // Replaces type by the dynamic class of the object at location: 0
    // nothing changed, 1 type replaced, 2 no usable address.
    static int updateType(TypeItem& type, DebuggeeLocation& location);

private:
    RTTIsupport() = delete;
};

#endif
