#ifndef PLOMKIT_BYTESTRING_H
#define PLOMKIT_BYTESTRING_H

#include <plomkit/PlomkitExport.h>
#include <plomkit/StringBuffer.h>

// A string of bytes: text in the target's encodings, formatted results.
class PLOMKIT_API ByteString : public StringBuffer<unsigned char> {
public:
    ByteString() = default;
    ByteString(const unsigned char* bytes, unsigned length) : StringBuffer<unsigned char>(bytes, length) {}
    ByteString(const StringBuffer<unsigned char>& buffer) : StringBuffer<unsigned char>(buffer) {}

    // The bytes of buffer from start to its end (empty when start is past it).
    ByteString(const StringBuffer<unsigned char>& buffer, unsigned start);

    // length bytes of buffer from start; where buffer ends first, the rest
    // is filled with pad.
    ByteString(const StringBuffer<unsigned char>& buffer, unsigned start, unsigned length, unsigned char pad);

    // The three pieces joined in order; a null piece counts as empty.
    ByteString(const void* first, unsigned firstLength, const void* second, unsigned secondLength, const void* third,
               unsigned thirdLength);

    ByteString operator+(const StringBuffer<unsigned char>& other) const;
};

#endif
