#ifndef NORVEXA_TREE_WIDESTRINGCONVERT_H
#define NORVEXA_TREE_WIDESTRINGCONVERT_H

#include <plomkit/ByteString.h>

// The width of the characters convertString makes.
enum WCHAR_TYPE : int {
    WCHAR_MULTIBYTE = 0, // the process locale's multibyte form (wctomb)
    WCHAR_4BYTE = 1,     // 4 bytes a character, most significant first
    WCHAR_2BYTE = 2,     // 2 bytes a character, most significant first
};

// C-style character text (escapes included, UTF-8 otherwise) as wide
// characters of a width. A character that cannot be decoded is traced and
// skipped.
ByteString convertString(const ByteString& text, WCHAR_TYPE type);

#endif
