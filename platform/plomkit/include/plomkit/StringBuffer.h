#ifndef PLOMKIT_STRINGBUFFER_H
#define PLOMKIT_STRINGBUFFER_H

#include <algorithm>
#include <stdexcept>
#include <cstddef>
#include <utility>
#include <vector>

// A growable buffer of characters (bytes, chars or wide characters) that owns
// its contents. The buffer always keeps one zero element after the last one,
// so data() of a text buffer is also a terminated string. An empty buffer
// allocates nothing.
template <class T>
class StringBuffer {
public:
    // Returned by the searches when nothing is found.
    static constexpr int notFound = -1;

    StringBuffer() = default;

    // Copies length elements from data (null data gives an empty buffer).
    StringBuffer(const T* data, unsigned length)
    {
        if (data != nullptr && length != 0)
            assign(data, length);
    }

    StringBuffer(const StringBuffer& other) { assign(other.data(), other.length()); }
    StringBuffer(StringBuffer&& other) noexcept { take(other); }
    StringBuffer& operator=(const StringBuffer& other)
    {
        if (&other != this)
            assign(other.data(), other.length());
        return *this;
    }
    StringBuffer& operator=(StringBuffer&& other) noexcept
    {
        if (&other != this) {
            release();
            take(other);
        }
        return *this;
    }
    ~StringBuffer() { release(); }

    unsigned length() const { return _length; }
    bool empty() const { return _length == 0; }
    T* data() { return _elements; }
    const T* data() const { return _elements; }
    T& operator[](unsigned i) { return _elements[i]; }
    const T& operator[](unsigned i) const { return _elements[i]; }

    // Makes the buffer n elements long and returns them for writing. The
    // elements already held are kept (up to n); new ones are zero. A length
    // whose terminator a 32-bit size cannot count throws std::length_error.
    T* makeBuffer(unsigned n)
    {
        if (static_cast<size_t>(n) + 1 == 0)
            throw std::length_error("StringBuffer::makeBuffer");
        reserve(n);
        if (n > _length)
            std::fill(_elements + _length, _elements + n, T(0));
        _length = n;
        _elements[n] = T(0);
        return _elements;
    }

    StringBuffer& operator+=(const StringBuffer& other)
    {
        if (&other == this) {
            StringBuffer copy(other);
            return *this += copy;
        }
        append(other.data(), other.length());
        return *this;
    }

    StringBuffer& operator+=(T element)
    {
        append(&element, 1);
        return *this;
    }

    bool operator==(const StringBuffer& other) const
    {
        return _length == other._length && std::equal(_elements, _elements + _length, other._elements);
    }

    // Position of the first element equal to c at or after start.
    int indexOf(T c, unsigned start = 0) const
    {
        for (unsigned i = start; i < length(); ++i)
            if (_elements[i] == c)
                return static_cast<int>(i);
        return notFound;
    }

    // Position of the first occurrence of the whole of s at or after start.
    // An empty s is found at start when start is within the buffer.
    int indexOf(const StringBuffer& s, unsigned start = 0) const
    {
        unsigned n = s.length();
        if (start > length() || n > length() - start)
            return notFound;
        for (unsigned i = start; i + n <= length(); ++i)
            if (std::equal(s._elements, s._elements + n, _elements + i))
                return static_cast<int>(i);
        return notFound;
    }

    // Position of the last element equal to c at or before start; a start
    // beyond the end searches from the last element.
    int lastIndexOf(T c, unsigned start = ~0u) const
    {
        if (empty())
            return notFound;
        unsigned i = start < length() ? start : length() - 1;
        for (;;) {
            if (_elements[i] == c)
                return static_cast<int>(i);
            if (i == 0)
                return notFound;
            --i;
        }
    }

    // Replaces the first count occurrences of the terminated text from by the
    // terminated text to, searching on after each replacement (a replacement
    // is never searched again). Returns the number of replacements made.
    unsigned change(const T* from, const T* to, unsigned count)
    {
        unsigned fromLength = terminatedLength(from);
        if (fromLength == 0 || count == 0)
            return 0;
        StringBuffer pattern(from, fromLength);
        StringBuffer replacement(to, terminatedLength(to));
        StringBuffer out;
        unsigned done = 0;
        unsigned start = 0;
        int at;
        while (done < count && (at = indexOf(pattern, start)) != notFound) {
            out.append(_elements + start, static_cast<unsigned>(at) - start);
            out.append(replacement.data(), replacement.length());
            start = static_cast<unsigned>(at) + fromLength;
            ++done;
        }
        if (done == 0)
            return 0;
        out.append(_elements + start, _length - start);
        *this = std::move(out);
        return done;
    }

private:
    static unsigned terminatedLength(const T* text)
    {
        unsigned n = 0;
        if (text != nullptr)
            while (text[n] != T(0))
                ++n;
        return n;
    }

    // Room for at least n elements and the terminator, the elements held
    // kept.
    void reserve(unsigned n)
    {
        if (n <= _capacity)
            return;
        // Grown geometrically, so that appending one element at a time
        // stays linear.
        const size_t wanted = std::max<size_t>(
            {static_cast<size_t>(n), std::min<size_t>(static_cast<size_t>(_capacity) * 2, 0xFFFFFFFEu), 15});
        T* grown = new T[wanted + 1];
        std::copy(_elements, _elements + _length + 1, grown);
        const unsigned held = _length;
        release();
        _elements = grown;
        _capacity = static_cast<unsigned>(wanted);
        _length = held;
    }
    void assign(const T* data, unsigned n)
    {
        reserve(n);
        std::copy(data, data + n, _elements);
        _length = n;
        _elements[n] = T(0);
    }
    void append(const T* data, unsigned n)
    {
        if (n == 0)
            return;
        if (static_cast<size_t>(_length) + n + 1 > 0xFFFFFFFFu)
            throw std::length_error("StringBuffer");
        // data may lie inside this buffer: copy it before growing.
        if (_length + n > _capacity && data >= _elements && data <= _elements + _length) {
            StringBuffer copy(data, n);
            append(copy.data(), n);
            return;
        }
        reserve(_length + n);
        std::copy(data, data + n, _elements + _length);
        _length += n;
        _elements[_length] = T(0);
    }
    // Frees what lies outside the buffer, leaving it empty and inline.
    void release() noexcept
    {
        if (_elements != _inlineElements)
            delete[] _elements;
        _elements = _inlineElements;
        _capacity = inlineCapacity;
        _length = 0;
        _inlineElements[0] = T(0);
    }
    // Takes other's elements, leaving other empty.
    void take(StringBuffer& other) noexcept
    {
        if (other._elements == other._inlineElements) {
            std::copy(other._inlineElements, other._inlineElements + other._length + 1, _inlineElements);
            _elements = _inlineElements;
            _capacity = inlineCapacity;
        } else {
            _elements = other._elements;
            _capacity = other._capacity;
        }
        _length = other._length;
        other._elements = other._inlineElements;
        other._capacity = inlineCapacity;
        other._length = 0;
        other._inlineElements[0] = T(0);
    }

    // An empty buffer holds only its terminator, in place, and allocates
    // nothing; any element is held outside, so that the elements stay where
    // they are when the buffer is moved (callers keep pointers into them).
    // One zero element always follows the last one.
    static constexpr unsigned inlineCapacity = 0;
    T* _elements = _inlineElements;
    unsigned _length = 0;
    unsigned _capacity = inlineCapacity;
    T _inlineElements[inlineCapacity + 1] = {};
};

#endif
