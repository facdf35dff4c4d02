#ifndef PLOMKIT_CHARSTRING_H
#define PLOMKIT_CHARSTRING_H

#include <plomkit/Encoding.h>
#include <plomkit/PlomkitExport.h>
#include <plomkit/StringBuffer.h>

// A wide-character string built from texts in various encodings.
class PLOMKIT_API CharString : public StringBuffer<wchar_t> {
public:
    CharString() = default;
    // A null text gives an empty string.
    CharString(const wchar_t* text);

    // Replaces the contents by length bytes of text decoded from encoding.
    CharString& loadFrom(const char* text, unsigned length, Encoding encoding);

    CharString& operator+=(const StringBuffer<wchar_t>& other);
};

#endif
