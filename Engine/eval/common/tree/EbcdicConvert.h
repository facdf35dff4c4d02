#ifndef NORVEXA_TREE_EBCDICCONVERT_H
#define NORVEXA_TREE_EBCDICCONVERT_H

// Conversion of the user's UTF-8 text into an EBCDIC code page through the
// host's code-page service.
class EbcdicConvert {
public:
    // Converts length bytes of text into a new NUL-terminated buffer (*out,
    // made with new[], the caller's) of at least length + 1 bytes; stores
    // and returns the converted length. A null code page is the
    // environment's. The host's failure (a negative answer) gives -1 with
    // *out null; a text longer than the host's 16-bit count is refused the
    // same way.
    static int utf8ToEbcdic(const char* text, int length, char** out, int* outLength, const char* codePage);
};

#endif
