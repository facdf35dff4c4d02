#ifndef NORVEXA_SERVICES_TEXTBYTES_H
#define NORVEXA_SERVICES_TEXTBYTES_H

#include <cstring>

#include <plomkit/ByteString.h>

// The characters of a C text up to its terminator; none for a null text.
inline ByteString textOf(const char* text)
{
    if (text == nullptr)
        return ByteString();
    return ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

#endif
