#include <plomkit/EncodedString.h>

#include <cstring>
#include <cwchar>

#include "TextCodec.h"

EncodedString::EncodedString() : _encoding(Encoding_Unicode) {}

EncodedString::EncodedString(const char* text, Encoding encoding)
    : _text(plomkit_detail::decode(text, text ? static_cast<unsigned>(std::strlen(text)) : 0, encoding)),
      _encoding(encoding)
{}

EncodedString::EncodedString(const wchar_t* text)
    : _text(text, text ? static_cast<unsigned>(std::wcslen(text)) : 0), _encoding(Encoding_Unicode)
{}

bool EncodedString::operator==(const EncodedString& other) const
{
    return _text == other._text;
}

EncodedString& EncodedString::operator+=(const EncodedString& other)
{
    _text += other._text;
    return *this;
}

EncodedString& EncodedString::number(std::uint32_t value)
{
    return number(static_cast<std::uint64_t>(value));
}

EncodedString& EncodedString::number(std::uint64_t value)
{
    wchar_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    wchar_t* out = _text.makeBuffer(static_cast<unsigned>(n));
    for (int i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    return *this;
}

ByteString EncodedString::asUTF8() const
{
    return plomkit_detail::encodeUTF8(_text.data(), _text.length());
}
