#include "frontend/EE_String.h"

#include <cctype>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frontend/EE_StorageArena.h"

namespace {

// The longest text a string may hold: its capacity must stay a 32-bit number.
constexpr std::size_t MaxLength = 0xFFFFFFFFu - EE_String::FirstOutsideCapacity - EE_String::CapacityStep;

int lowered(char c)
{
    return std::tolower(static_cast<unsigned char>(c));
}

int uppered(char c)
{
    return std::toupper(static_cast<unsigned char>(c));
}

} // namespace

unsigned EE_String::capacityFor(std::size_t length)
{
    if (length <= InlineCapacity)
        return InlineCapacity;
    if (length > MaxLength)
        MemoryProblem();
    if (length < FirstOutsideCapacity)
        return FirstOutsideCapacity;
    std::size_t steps = (length - FirstOutsideCapacity) / CapacityStep + 1;
    return static_cast<unsigned>(FirstOutsideCapacity + steps * CapacityStep);
}

EE_String::EE_String() : arena_(nullptr), data_(buffer_), capacity_(InlineCapacity), length_(0)
{
    buffer_[0] = '\0';
}

EE_String::EE_String(const char* text, EE_StorageArena* arena) : EE_String()
{
    construct(text, arena);
}

EE_String::EE_String(const char* text, std::size_t length, EE_StorageArena* arena) : EE_String()
{
    construct(text, length, arena);
}

EE_String::EE_String(const char* first, const char* second, EE_StorageArena* arena) : EE_String()
{
    construct(first, second, arena);
}

EE_String::EE_String(const EE_String& other, EE_StorageArena* arena) : EE_String()
{
    construct(other, arena);
}

EE_String::EE_String(const EE_String& other) : EE_String()
{
    construct(other, nullptr);
}

EE_String::EE_String(EE_String&& other) noexcept : EE_String()
{
    if (other.arena_ == nullptr && !other.isInline()) {
        // Take over the other's heap buffer; it is left empty.
        data_ = other.data_;
        capacity_ = other.capacity_;
        length_ = other.length_;
        other.data_ = other.buffer_;
        other.capacity_ = InlineCapacity;
        other.length_ = 0;
        other.buffer_[0] = '\0';
    } else if (other.length_ <= InlineCapacity) {
        std::memcpy(buffer_, other.data_, other.length_ + 1);
        length_ = other.length_;
    } else {
        // Arena text cannot be moved out of its arena: copy it to the heap. Heap
        // storage that cannot be had leaves the string empty.
        try {
            construct(other, nullptr);
        } catch (...) {
            release();
            data_ = buffer_;
            capacity_ = InlineCapacity;
            length_ = 0;
            buffer_[0] = '\0';
        }
    }
}

EE_String::~EE_String()
{
    if (arena_ == nullptr && !isInline())
        deleteMemory(nullptr, data_);
}

void EE_String::release()
{
    if (!isInline())
        deleteMemory(arena_, data_);
    data_ = buffer_;
    capacity_ = InlineCapacity;
}

char* EE_String::newBuffer(unsigned capacity)
{
    return static_cast<char*>(newMemory(arena_, std::size_t(capacity) + 1));
}

// Puts `length` bytes of `text` into the string (owner unchanged). A text that
// fits the inline buffer goes there; a longer one reuses the present outside
// buffer when it fits, else gets a buffer of `otherCapacity` (or of the
// capacity rule when that is too small).
void EE_String::setText(const char* text, std::size_t length, unsigned otherCapacity)
{
    if (length <= InlineCapacity) {
        // memmove: the text may be a part of this string's own buffer.
        std::memmove(buffer_, text, length);
        buffer_[length] = '\0';
        if (!isInline())
            deleteMemory(arena_, data_);
        data_ = buffer_;
        capacity_ = InlineCapacity;
        length_ = static_cast<unsigned>(length);
        return;
    }
    if (length <= capacity_ && !isInline()) {
        std::memmove(data_, text, length);
        data_[length] = '\0';
        length_ = static_cast<unsigned>(length);
        return;
    }
    unsigned capacity = capacityFor(length);
    if (otherCapacity > capacity)
        capacity = otherCapacity;
    char* buffer = newBuffer(capacity);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    // The old buffer goes only after the copy: the text may have been in it.
    if (!isInline())
        deleteMemory(arena_, data_);
    data_ = buffer;
    capacity_ = capacity;
    length_ = static_cast<unsigned>(length);
}

void EE_String::construct(const char* text, EE_StorageArena* arena)
{
    construct(text, text == nullptr ? 0 : std::strlen(text), arena);
}

void EE_String::construct(const char* text, std::size_t length, EE_StorageArena* arena)
{
    constructWith(text, length, arena, 0);
}

// Re-makes the string owned by `arena` holding `length` bytes of `text`; a
// long text gets a buffer of at least `minimumCapacity`.
void EE_String::constructWith(const char* text, std::size_t length, EE_StorageArena* arena, unsigned minimumCapacity)
{
    if (text == nullptr)
        length = 0;
    if (length <= InlineCapacity) {
        char copy[InlineCapacity + 1];
        if (length != 0)
            std::memcpy(copy, text, length);
        release();
        arena_ = arena;
        std::memcpy(buffer_, copy, length);
        buffer_[length] = '\0';
        length_ = static_cast<unsigned>(length);
        return;
    }
    unsigned capacity = capacityFor(length);
    if (minimumCapacity > capacity)
        capacity = minimumCapacity;
    char* buffer = static_cast<char*>(newMemory(arena, std::size_t(capacity) + 1));
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    // The old buffer goes only after the copy: the text may have been in it.
    release();
    arena_ = arena;
    data_ = buffer;
    capacity_ = capacity;
    length_ = static_cast<unsigned>(length);
}

void EE_String::construct(const char* first, const char* second, EE_StorageArena* arena)
{
    std::size_t firstLength = first == nullptr ? 0 : std::strlen(first);
    std::size_t secondLength = second == nullptr ? 0 : std::strlen(second);
    EE_String joined;
    joined.append(first, firstLength);
    joined.append(second, secondLength);
    construct(joined.data_, joined.length_, arena);
}

void EE_String::construct(const EE_String& other, EE_StorageArena* arena)
{
    // A copy of a long text takes the other's capacity.
    constructWith(other.data_, other.length_, arena, other.capacity_);
}

EE_String& EE_String::operator=(const EE_String& other)
{
    if (&other != this)
        setText(other.data_, other.length_, other.capacity_);
    return *this;
}

EE_String& EE_String::operator=(const char* text)
{
    if (text == nullptr)
        setText("", 0, 0);
    else
        setText(text, std::strlen(text), 0);
    return *this;
}

void EE_String::append(const char* text, std::size_t length)
{
    if (length == 0)
        return;
    std::size_t needed = std::size_t(length_) + length;
    if (needed <= capacity_) {
        std::memmove(data_ + length_, text, length);
        data_[needed] = '\0';
        length_ = static_cast<unsigned>(needed);
        return;
    }
    unsigned capacity = capacityFor(needed);
    char* buffer = newBuffer(capacity);
    std::memcpy(buffer, data_, length_);
    // The appended text is copied before the old buffer goes: it may be a part
    // of this very string.
    std::memcpy(buffer + length_, text, length);
    buffer[needed] = '\0';
    if (!isInline())
        deleteMemory(arena_, data_);
    data_ = buffer;
    capacity_ = capacity;
    length_ = static_cast<unsigned>(needed);
}

EE_String& EE_String::operator<<(const char* text)
{
    if (text != nullptr)
        append(text, std::strlen(text));
    return *this;
}

EE_String& EE_String::operator<<(const EE_String& other)
{
    append(other.data_, other.length_);
    return *this;
}

EE_String& EE_String::operator<<(char c)
{
    append(&c, 1);
    return *this;
}

EE_String& EE_String::operator<<(const void* pointer)
{
    char text[32];
    int n = std::snprintf(text, sizeof text, "%" PRIxPTR, reinterpret_cast<std::uintptr_t>(pointer));
    append(text, static_cast<std::size_t>(n));
    return *this;
}

EE_String& EE_String::operator<<(long double value)
{
    char text[64];
    int n = std::snprintf(text, sizeof text, "%Lg", value);
    append(text, static_cast<std::size_t>(n));
    return *this;
}

EE_String& EE_String::operator<<(double value)
{
    char text[64];
    int n = std::snprintf(text, sizeof text, "%g", value);
    append(text, static_cast<std::size_t>(n));
    return *this;
}

EE_String& EE_String::operator<<(float value)
{
    return *this << static_cast<double>(value);
}

EE_String& EE_String::operator<<(unsigned long long value)
{
    char text[24];
    int n = std::snprintf(text, sizeof text, "%llu", value);
    append(text, static_cast<std::size_t>(n));
    return *this;
}

EE_String& EE_String::operator<<(unsigned long value)
{
    return *this << static_cast<unsigned long long>(value);
}

EE_String& EE_String::operator<<(unsigned int value)
{
    return *this << static_cast<unsigned long long>(value);
}

EE_String& EE_String::operator<<(long long value)
{
    // The magnitude is taken in unsigned arithmetic, so that the most negative
    // value keeps all of its digits.
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    char text[24];
    int n;
    if (value < 0)
        n = std::snprintf(text, sizeof text, "-%llu", 0ULL - magnitude);
    else
        n = std::snprintf(text, sizeof text, "%llu", magnitude);
    append(text, static_cast<std::size_t>(n));
    return *this;
}

EE_String& EE_String::operator<<(long value)
{
    return *this << static_cast<long long>(value);
}

EE_String& EE_String::operator<<(int value)
{
    return *this << static_cast<long long>(value);
}

EE_String EE_String::toUpper() const
{
    EE_String result(*this);
    for (unsigned i = 0; i < result.length_; ++i)
        result.data_[i] = static_cast<char>(uppered(result.data_[i]));
    return result;
}

EE_String EE_String::toLower() const
{
    EE_String result(*this);
    for (unsigned i = 0; i < result.length_; ++i)
        result.data_[i] = static_cast<char>(lowered(result.data_[i]));
    return result;
}

EE_String EE_String::subString(std::size_t start, std::size_t count) const
{
    if (start > length_ || count == 0)
        return EE_String();
    std::size_t available = length_ - start;
    if (count > available)
        count = available;
    return EE_String(data_ + start, count, nullptr);
}

EE_String EE_String::drop(long long n) const
{
    // Dropping as many characters as the text has, or more, leaves nothing.
    if (n >= 0) {
        if (static_cast<unsigned long long>(n) >= length_)
            return EE_String();
        return subString(static_cast<std::size_t>(n), length_ - static_cast<std::size_t>(n));
    }
    unsigned long long dropped = 0ULL - static_cast<unsigned long long>(n);
    if (dropped >= length_)
        return EE_String();
    return subString(0, length_ - static_cast<std::size_t>(dropped));
}

EE_String EE_String::take(long long n) const
{
    // Taking as many characters as the text has, or more, gives all of it.
    if (n >= 0)
        return subString(0, static_cast<std::size_t>(n));
    unsigned long long taken = 0ULL - static_cast<unsigned long long>(n);
    if (taken >= length_)
        return subString(0, length_);
    return subString(length_ - static_cast<std::size_t>(taken), static_cast<std::size_t>(taken));
}

bool operator<(const EE_String& a, const EE_String& b)
{
    unsigned common = a.length_ < b.length_ ? a.length_ : b.length_;
    int c = std::memcmp(a.data_, b.data_, common);
    if (c != 0)
        return c < 0;
    return a.length_ < b.length_;
}

bool operator>(const EE_String& a, const EE_String& b)
{
    return b < a;
}

int stricmp(const EE_String& string, const char* text)
{
    if (text == nullptr)
        text = "";
    const char* s = string.data();
    unsigned length = string.length();
    unsigned i = 0;
    for (; i < length && text[i] != '\0'; ++i) {
        int a = lowered(s[i]);
        int b = lowered(text[i]);
        if (a != b)
            return a - b;
    }
    bool stringEnded = i == length;
    bool textEnded = text[i] == '\0';
    if (stringEnded && textEnded)
        return 0;
    return stringEnded ? -1 : 1;
}

int strnicmp(const EE_String& string, const char* text, unsigned n)
{
    if (text == nullptr)
        text = "";
    const char* s = string.data();
    for (unsigned i = 0; i < n; ++i) {
        // The string is NUL-terminated at its length, so s[i] is readable here.
        char sc = i < string.length() ? s[i] : '\0';
        int a = lowered(sc);
        int b = lowered(text[i]);
        if (a != b)
            return a - b;
        if (sc == '\0')
            return 0;
    }
    return 0;
}
