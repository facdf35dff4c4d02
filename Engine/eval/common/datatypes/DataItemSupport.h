#ifndef NORVEXA_DATATYPES_DATAITEMSUPPORT_H
#define NORVEXA_DATATYPES_DATAITEMSUPPORT_H

// Helpers shared by the data-item value classes: reading a type's record,
// copying routine results, refusing with an evaluation error, and the
// storage-length rule of binary-like items.

#include "HostRecords.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

#include <plomkit/ByteString.h>

#include <cstring>

namespace dataitem {

[[noreturn]] inline void refuse(InvalidOp::InvalidOperation code, const char* function, unsigned line)
{
    throw InvalidOp(code, function, line);
}

// The record of a type's host entry. A type without entry, or whose entry is
// of another leaf, is refused with RTRC_Other: the value classes only ever
// read the record of their own leaf.
template <class Record>
Record recordOf(const TypeItem& type, UBYTE4 leaf, const char* function, unsigned line)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    if (entry == nullptr || entry->leaf != leaf)
        refuse(InvalidOp::RTRC_Other, function, line);
    Record record;
    std::memcpy(&record, entry, sizeof record);
    return record;
}

// A routine's result copied at once (the routines' result areas are reused).
inline ByteString copyOf(const unsigned char* bytes, unsigned length)
{
    return ByteString(bytes, length);
}

// The value's bytes, at least `need` long: an item whose record claims more
// digits than its bytes hold is read as if the missing bytes were zero, so
// no routine reads past the bytes the value owns.
inline ByteString atLeast(const ByteString& bytes, unsigned need)
{
    if (bytes.length() >= need)
        return bytes;
    return ByteString(bytes, 0, need, 0);
}

// Storage length of a binary-like item of a number of digits: up to 4 digits
// 2 bytes, up to 9 digits 4 bytes, else 8.
inline unsigned char binaryLengthForDigits(unsigned digits)
{
    return digits <= 4 ? 2 : digits <= 9 ? 4 : 8;
}

// Digits of the decimal form of a binary item of a storage length: 2 bytes 5
// digits, 4 bytes 10, 8 bytes 19 (20 unsigned), 1 byte 3.
inline int decimalDigitsForBinaryLength(unsigned byteLength, bool isSigned)
{
    switch (byteLength) {
    case 1: return 3;
    case 2: return 5;
    case 4: return 10;
    case 8: return isSigned ? 19 : 20;
    default: return 0;
    }
}

} // namespace dataitem

#endif
