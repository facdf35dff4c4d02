#ifndef EE_STRING_H
#define EE_STRING_H

#include <cstddef>

class EE_StorageArena;

// The front end's byte string. Texts of up to 111 characters sit in the
// string's own buffer; longer texts take a buffer from the owning storage
// arena, or from the heap when the string has no arena. Names, signatures and
// messages are assembled by appending with `<<`.
//
// The text is always NUL-terminated at data()[length()]. Outside buffers grow
// in steps of 256 bytes: their capacity is the smallest 235 + 256·k that is
// greater than the length needed.
class EE_String {
public:
    static constexpr unsigned InlineCapacity = 111;
    static constexpr unsigned FirstOutsideCapacity = 235;
    static constexpr unsigned CapacityStep = 256;

    // The empty string, owned by the heap.
    EE_String();
    // A copy of a NUL-terminated text; a null text gives the empty string.
    explicit EE_String(const char* text, EE_StorageArena* arena = nullptr);
    // A copy of exactly `length` bytes.
    EE_String(const char* text, std::size_t length, EE_StorageArena* arena);
    // The concatenation of two NUL-terminated texts.
    EE_String(const char* first, const char* second, EE_StorageArena* arena);
    // A copy of another string, owned by `arena` (the heap when null).
    EE_String(const EE_String& other, EE_StorageArena* arena);
    // A copy owned by the heap.
    EE_String(const EE_String& other);
    EE_String(EE_String&& other) noexcept;
    virtual ~EE_String();

    // Re-make the string with a new owner and text (its old buffer is released).
    void construct(const char* text, EE_StorageArena* arena);
    void construct(const char* text, std::size_t length, EE_StorageArena* arena);
    void construct(const char* first, const char* second, EE_StorageArena* arena);
    void construct(const EE_String& other, EE_StorageArena* arena);

    // Assignment keeps the string's owner.
    EE_String& operator=(const EE_String& other);
    EE_String& operator=(const char* text);

    EE_String& operator<<(const char* text);
    EE_String& operator<<(const EE_String& other);
    EE_String& operator<<(char c);
    EE_String& operator<<(const void* pointer); // lower-case hexadecimal, all digits
    EE_String& operator<<(long double value);   // "%Lg"
    EE_String& operator<<(double value);        // "%g"
    EE_String& operator<<(float value);         // "%g"
    EE_String& operator<<(unsigned long long value);
    EE_String& operator<<(unsigned long value);
    EE_String& operator<<(unsigned int value);
    EE_String& operator<<(long long value);
    EE_String& operator<<(long value);
    EE_String& operator<<(int value);

    // New heap strings derived from this one.
    EE_String toUpper() const;
    EE_String toLower() const;
    // `count` characters from `start`, cut at the end of the text; empty when
    // start is past the text or count is 0.
    EE_String subString(std::size_t start, std::size_t count) const;
    // n >= 0: without its first n characters; n < 0: without its last -n.
    EE_String drop(long long n) const;
    // n >= 0: its first n characters; n < 0: its last -n.
    EE_String take(long long n) const;

    const char* data() const { return data_; }
    unsigned length() const { return length_; }
    unsigned capacity() const { return capacity_; }
    EE_StorageArena* arena() const { return arena_; }
    bool isEmpty() const { return length_ == 0; }
    // Whether the text sits in the string's own buffer.
    bool isInline() const { return data_ == buffer_; }

    friend bool operator<(const EE_String& a, const EE_String& b);
    friend bool operator>(const EE_String& a, const EE_String& b);

    // The capacity of a buffer that holds `length` characters.
    static unsigned capacityFor(std::size_t length);

private:
    void setText(const char* text, std::size_t length, unsigned otherCapacity);
    void constructWith(const char* text, std::size_t length, EE_StorageArena* arena, unsigned minimumCapacity);
    void append(const char* text, std::size_t length);
    void release();
    char* newBuffer(unsigned capacity);

    EE_StorageArena* arena_;
    char* data_;
    unsigned capacity_;
    unsigned length_;
    char buffer_[InlineCapacity + 1];
};

// Case-insensitive comparison through tolower: the difference of the lowered
// bytes at the first difference; when one text ends first, 1 if the string is
// longer and -1 if the text is longer; 0 when they are equal.
int stricmp(const EE_String& string, const char* text);

// Case-insensitive comparison of at most n characters: the difference of the
// lowered bytes at the first difference, else 0. Reads neither text past its
// terminating NUL.
int strnicmp(const EE_String& string, const char* text, unsigned n);

#endif
