#ifndef PLOMKIT_ENCODEDSTRING_H
#define PLOMKIT_ENCODEDSTRING_H

#include <cstdint>

#include <plomkit/ByteString.h>
#include <plomkit/Encoding.h>
#include <plomkit/PlomkitExport.h>
#include <plomkit/StringBuffer.h>

// A text together with the encoding it came in. The characters are held as
// Unicode code points; bytes that are not valid in the source encoding are
// kept as the code points of the same value, so no input byte is lost.
class PLOMKIT_API EncodedString {
public:
    EncodedString();
    // A null text gives an empty string.
    EncodedString(const char* text, Encoding encoding);
    EncodedString(const wchar_t* text);
    EncodedString(const EncodedString&) = default;
    EncodedString(EncodedString&&) noexcept = default;
    ~EncodedString() = default;

    EncodedString& operator=(const EncodedString&) = default;
    EncodedString& operator=(EncodedString&&) noexcept = default;
    // Equal when the characters are equal, whatever the encodings.
    bool operator==(const EncodedString& other) const;
    EncodedString& operator+=(const EncodedString& other);

    // Replaces the text by the decimal digits of value.
    EncodedString& number(std::uint32_t value);
    EncodedString& number(std::uint64_t value);

    unsigned length() const { return _text.length(); }
    bool empty() const { return _text.empty(); }
    Encoding encoding() const { return _encoding; }
    // The characters, terminated by a zero.
    const wchar_t* text() const { return _text.data(); }
    // The text as UTF-8 bytes (without a terminating zero byte).
    ByteString asUTF8() const;

private:
    StringBuffer<wchar_t> _text;
    Encoding _encoding;
};

#endif
