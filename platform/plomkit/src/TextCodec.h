#ifndef PLOMKIT_TEXTCODEC_H
#define PLOMKIT_TEXTCODEC_H

// Conversions between bytes and wide characters shared by the string classes.

#include <plomkit/ByteString.h>
#include <plomkit/Encoding.h>
#include <plomkit/StringBuffer.h>

namespace plomkit_detail {

// Decodes length bytes of text (UTF-8 for both byte encodings on this
// platform); a byte that does not start a valid sequence becomes the code
// point of its own value. Where wchar_t is 16 bits wide the characters are
// UTF-16: a code point beyond U+FFFF becomes a surrogate pair.
StringBuffer<wchar_t> decode(const char* text, unsigned length, Encoding encoding);

// Encodes code points as UTF-8 (UTF-16 where wchar_t is 16 bits wide: a
// surrogate pair is one code point); values that are no Unicode scalar, and
// lone surrogates, become U+FFFD.
ByteString encodeUTF8(const wchar_t* text, unsigned length);

// Length of the UTF-8 sequence begun by the byte, 0 when it begins none.
int utf8SequenceLength(unsigned char first);

} // namespace plomkit_detail

#endif
