#ifndef PLOMKIT_LIST_H
#define PLOMKIT_LIST_H

#include <type_traits>

#include <plomkit/ListImplementation.h>

// A typed growable list of plain values (pointers, numbers, small records).
template <class T>
class List : public ListImplementation {
    static_assert(std::is_trivially_copyable_v<T>, "List holds plain values only");

public:
    List() : ListImplementation(nullptr, 0, nullptr, sizeof(T), 8) {}
    List(const T* items, unsigned count) : ListImplementation(items, count, nullptr, sizeof(T), 8) {}

    void append(const T& item) { appendItems(&item, 1); }
    void insert_at(unsigned index, const T& item) { ListImplementation::insert_at(index, &item); }

    T* items() const { return static_cast<T*>(ListImplementation::items()); }
    T& operator[](unsigned index) const { return *static_cast<T*>(itemAt(index)); }
};

#endif
