#include <plomkit/CharString.h>

#include <cwchar>

#include "TextCodec.h"

CharString::CharString(const wchar_t* text)
    : StringBuffer<wchar_t>(text, text ? static_cast<unsigned>(std::wcslen(text)) : 0)
{}

CharString& CharString::loadFrom(const char* text, unsigned length, Encoding encoding)
{
    StringBuffer<wchar_t>::operator=(plomkit_detail::decode(text, length, encoding));
    return *this;
}

CharString& CharString::operator+=(const StringBuffer<wchar_t>& other)
{
    StringBuffer<wchar_t>::operator+=(other);
    return *this;
}
