#ifndef PLOMKIT_LISTIMPLEMENTATION_H
#define PLOMKIT_LISTIMPLEMENTATION_H

#include <plomkit/PlomkitExport.h>

// A growable ordered array of fixed-size elements, copied byte by byte. It
// owns the array, never what the elements point to.
class PLOMKIT_API ListImplementation {
public:
    // Starts with count elements copied from items (null items: none).
    // pool must be null (the list always allocates on its own); growBy is
    // the number of elements by which the array grows when full.
    ListImplementation(const void* items, unsigned count, void* pool, unsigned elementSize, unsigned growBy);
    ListImplementation(const ListImplementation& other);
    ListImplementation& operator=(const ListImplementation& other);
    ~ListImplementation();

    // Appends count elements copied from items.
    void appendItems(const void* items, unsigned count);
    // Inserts one element copied from item before position index; an index
    // at or beyond the end appends.
    void insert_at(unsigned index, const void* item);
    // Removes the element at index; an index beyond the end does nothing.
    void remove(unsigned index);
    // Frees the array; the list is empty afterwards and can be used again.
    void deleteItems();

    unsigned count() const { return _count; }
    unsigned elementSize() const { return _elementSize; }
    // The element array (null while the list holds none).
    void* items() const { return _count ? _items : nullptr; }
    void* itemAt(unsigned index) const;

private:
    void reserve(unsigned needed);

    unsigned char* _items = nullptr;
    unsigned _count = 0;
    unsigned _capacity = 0;
    unsigned _elementSize;
    unsigned _growBy;
};

#endif
