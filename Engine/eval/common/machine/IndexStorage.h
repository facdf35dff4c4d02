#ifndef NORVEXA_MACHINE_INDEXSTORAGE_H
#define NORVEXA_MACHINE_INDEXSTORAGE_H

#include <cstdint>

class DebuggeeLocation;
class StackItem;

// The storage of index names and index data items: the debuggee's
// big-endian image of 1, 2, 4 or 8 bytes, the length from the type entry.
namespace indexstorage {

// The entry's length; RTRC_Other for 0 or for a type of neither index leaf.
unsigned length(const StackItem& item);
// Reads the item's storage from where into image (8 bytes) and turns it to
// host order; sets hasValue exactly when where is of a kind other than none
// (RTRC_Other then), RTRC_Other for a length other than 1, 2, 4 or 8.
unsigned load(StackItem& item, const DebuggeeLocation& where, unsigned char* image);
// Turns the host-order bytes of a value's format into the big-endian image.
void toImage(unsigned char* bytes, unsigned length);

} // namespace indexstorage

#endif
