#ifndef PLOMKIT_STRINGBUFFER_H
#define PLOMKIT_STRINGBUFFER_H

#include <algorithm>
#include <stdexcept>
#include <vector>

// A growable buffer of characters (bytes, chars or wide characters) that owns
// its contents. The buffer always keeps one zero element after the last one,
// so data() of a text buffer is also a terminated string.
template <class T>
class StringBuffer {
public:
    // Returned by the searches when nothing is found.
    static constexpr int notFound = -1;

    StringBuffer() : _data(1, T(0)) {}

    // Copies length elements from data (null data gives an empty buffer).
    StringBuffer(const T* data, unsigned length) : _data(1, T(0)) {
        if (data != nullptr && length != 0) {
            _data.assign(data, data + length);
            _data.push_back(T(0));
        }
    }

    StringBuffer(const StringBuffer&) = default;
    StringBuffer(StringBuffer&&) noexcept = default;
    StringBuffer& operator=(const StringBuffer&) = default;
    StringBuffer& operator=(StringBuffer&& other) noexcept {
        _data.swap(other._data);
        other._data.assign(1, T(0));
        return *this;
    }
    ~StringBuffer() = default;

    unsigned length() const { return static_cast<unsigned>(_data.size() - 1); }
    bool empty() const { return _data.size() == 1; }
    T* data() { return _data.data(); }
    const T* data() const { return _data.data(); }
    T& operator[](unsigned i) { return _data[i]; }
    const T& operator[](unsigned i) const { return _data[i]; }

    // Makes the buffer n elements long and returns them for writing. The
    // elements already held are kept (up to n); new ones are zero. A length
    // whose terminator a 32-bit size cannot count throws std::length_error.
    T* makeBuffer(unsigned n) {
        if (static_cast<size_t>(n) + 1 == 0)
            throw std::length_error("StringBuffer::makeBuffer");
        _data.resize(static_cast<size_t>(n) + 1, T(0));
        _data[n] = T(0);
        return _data.data();
    }

    StringBuffer& operator+=(const StringBuffer& other) {
        if (&other == this) {
            StringBuffer copy(other);
            return *this += copy;
        }
        _data.pop_back();
        _data.insert(_data.end(), other._data.begin(), other._data.end());
        return *this;
    }

    StringBuffer& operator+=(T element) {
        _data.back() = element;
        _data.push_back(T(0));
        return *this;
    }

    bool operator==(const StringBuffer& other) const { return _data == other._data; }

    // Position of the first element equal to c at or after start.
    int indexOf(T c, unsigned start = 0) const {
        for (unsigned i = start; i < length(); ++i)
            if (_data[i] == c)
                return static_cast<int>(i);
        return notFound;
    }

    // Position of the first occurrence of the whole of s at or after start.
    // An empty s is found at start when start is within the buffer.
    int indexOf(const StringBuffer& s, unsigned start = 0) const {
        unsigned n = s.length();
        if (start > length() || n > length() - start)
            return notFound;
        for (unsigned i = start; i + n <= length(); ++i)
            if (std::equal(s._data.begin(), s._data.begin() + n, _data.begin() + i))
                return static_cast<int>(i);
        return notFound;
    }

    // Position of the last element equal to c at or before start; a start
    // beyond the end searches from the last element.
    int lastIndexOf(T c, unsigned start = ~0u) const {
        if (empty())
            return notFound;
        unsigned i = start < length() ? start : length() - 1;
        for (;;) {
            if (_data[i] == c)
                return static_cast<int>(i);
            if (i == 0)
                return notFound;
            --i;
        }
    }

    // Replaces the first count occurrences of the terminated text from by the
    // terminated text to, searching on after each replacement (a replacement
    // is never searched again). Returns the number of replacements made.
    unsigned change(const T* from, const T* to, unsigned count) {
        unsigned fromLength = terminatedLength(from);
        if (fromLength == 0 || count == 0)
            return 0;
        StringBuffer pattern(from, fromLength);
        StringBuffer replacement(to, terminatedLength(to));
        unsigned done = 0;
        unsigned start = 0;
        int at;
        while (done < count && (at = indexOf(pattern, start)) != notFound) {
            auto pos = _data.begin() + at;
            pos = _data.erase(pos, pos + fromLength);
            _data.insert(pos, replacement._data.begin(), replacement._data.end() - 1);
            start = static_cast<unsigned>(at) + replacement.length();
            ++done;
        }
        return done;
    }

private:
    static unsigned terminatedLength(const T* text) {
        unsigned n = 0;
        if (text != nullptr)
            while (text[n] != T(0))
                ++n;
        return n;
    }

    std::vector<T> _data;  // the elements, then one zero
};

#endif
