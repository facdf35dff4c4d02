#include <plomkit/ListImplementation.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

ListImplementation::ListImplementation(const void* items, unsigned count, void* /*pool*/, unsigned elementSize,
                                       unsigned growBy)
    : _elementSize(elementSize ? elementSize : 1), _growBy(growBy ? growBy : 8)
{
    if (items != nullptr && count != 0)
        appendItems(items, count);
}

ListImplementation::ListImplementation(const ListImplementation& other)
    : _elementSize(other._elementSize), _growBy(other._growBy)
{
    if (other._count != 0)
        appendItems(other._items, other._count);
}

ListImplementation& ListImplementation::operator=(const ListImplementation& other)
{
    if (this != &other) {
        deleteItems();
        _elementSize = other._elementSize;
        _growBy = other._growBy;
        if (other._count != 0)
            appendItems(other._items, other._count);
    }
    return *this;
}

ListImplementation::~ListImplementation()
{
    std::free(_items);
}

void ListImplementation::reserve(unsigned needed)
{
    if (needed <= _capacity)
        return;
    if (needed < _count) // wrapped around
        throw std::length_error("list too long");
    unsigned capacity = _capacity;
    while (capacity < needed)
        capacity += _growBy;
    void* grown = std::realloc(_items, static_cast<size_t>(capacity) * _elementSize);
    if (grown == nullptr)
        throw std::bad_alloc();
    _items = static_cast<unsigned char*>(grown);
    _capacity = capacity;
}

void ListImplementation::appendItems(const void* items, unsigned count)
{
    if (items == nullptr || count == 0)
        return;
    if (_count + count < _count)
        throw std::length_error("list too long");
    // items may lie in this list's own array, which regrowth may move.
    const unsigned char* source = static_cast<const unsigned char*>(items);
    size_t bytes = static_cast<size_t>(count) * _elementSize;
    bool inside = _items != nullptr && source >= _items && source < _items + static_cast<size_t>(_count) * _elementSize;
    size_t offset = inside ? static_cast<size_t>(source - _items) : 0;
    reserve(_count + count);
    if (inside)
        source = _items + offset;
    std::memmove(_items + static_cast<size_t>(_count) * _elementSize, source, bytes);
    _count += count;
}

void ListImplementation::insert_at(unsigned index, const void* item)
{
    if (item == nullptr)
        return;
    if (index >= _count) {
        appendItems(item, 1);
        return;
    }
    // Copy the element first: it may live in this list's array.
    unsigned char stack[64];
    unsigned char* copy = _elementSize <= sizeof stack ? stack : static_cast<unsigned char*>(std::malloc(_elementSize));
    if (copy == nullptr)
        throw std::bad_alloc();
    std::memcpy(copy, item, _elementSize);
    try {
        reserve(_count + 1);
    } catch (...) {
        if (copy != stack)
            std::free(copy);
        throw;
    }
    unsigned char* at = _items + static_cast<size_t>(index) * _elementSize;
    std::memmove(at + _elementSize, at, static_cast<size_t>(_count - index) * _elementSize);
    std::memcpy(at, copy, _elementSize);
    ++_count;
    if (copy != stack)
        std::free(copy);
}

void ListImplementation::remove(unsigned index)
{
    if (index >= _count)
        return;
    unsigned char* at = _items + static_cast<size_t>(index) * _elementSize;
    std::memmove(at, at + _elementSize, static_cast<size_t>(_count - index - 1) * _elementSize);
    --_count;
}

void ListImplementation::deleteItems()
{
    std::free(_items);
    _items = nullptr;
    _count = 0;
    _capacity = 0;
}

void* ListImplementation::itemAt(unsigned index) const
{
    if (index >= _count)
        throw std::out_of_range("list index out of range");
    return _items + static_cast<size_t>(index) * _elementSize;
}
