#ifndef PLOMKIT_ENCODING_H
#define PLOMKIT_ENCODING_H

// The encodings in which texts enter and leave EncodedString and CharString.
// Inside, both hold Unicode code points as wide characters.
enum Encoding : int {
    Encoding_Unicode = 0, // already wide characters
    Encoding_UTF8 = 2,    // UTF-8, the form used at the host boundary
    Encoding_Local = 3,   // the platform's own multibyte form; UTF-8 on Linux
};

#endif
