#ifndef C_PREPROCESSOR_H
#define C_PREPROCESSOR_H

#include <cstdint>

#include "frontend/EE_Token.h"

class EE_DebuggerServices;

// The scanner of C, C++, Fortran and UPC expression text. It reads the whole
// text, before any parsing, into the token array: operators, identifiers,
// keywords and literals with their prefixes and suffixes. Each literal's type
// is decided at once from its spelling (through the services' predefined type
// descriptors); keywords are found in a sorted table with a per-language
// filter. Names are not resolved here; the lexer does that.
//
// Token spellings point into a copy of the text kept in the services' storage
// arena, so they stay valid as long as the token array.
class C_Preprocessor {
public:
    // Character classes, one bit each.
    enum CharClass : std::uint32_t {
        Blank = 1,  // tab and space only
        Letter = 2, // A-Z, a-z and every byte 0x80 to 0xFD
        HexDigit = 4,
        Digit = 8,
        ExtraIdent = 16, // # $ @ _
        OctalDigit = 32
    };

    // The class bits of a byte (a process-wide table, fixed at build time).
    static std::uint32_t charClass(unsigned char c);

    // One row of the keyword table.
    struct Keyword {
        const char* spelling;
        unsigned length;
        unsigned supported; // 0 for a reserved word the evaluator does not support
        unsigned kind;      // token kind; NoToken for an unsupported reserved word
    };

    // The keyword table, sorted in byte order of the spelling.
    static const Keyword* keywordTable(unsigned& rows);

    // The cursor while one token is scanned. When `get` returns, normally or by
    // an exception, the token's spelling is set to the first character and its
    // length to the number of characters consumed.
    struct SaveSpelling {
        SaveSpelling(EE_Token& token, const char* start) : token(token), first(start), position(start) {}
        ~SaveSpelling()
        {
            token.spelling = first;
            token.length = static_cast<unsigned>(position - first);
        }
        SaveSpelling(const SaveSpelling&) = delete;
        SaveSpelling& operator=(const SaveSpelling&) = delete;

        EE_Token& token;
        const char* first;
        const char* position;
    };

    C_Preprocessor(const char* text, EE_DebuggerServices& services);

    // An upper bound on the number of tokens the text can give, the end token
    // included.
    unsigned tokenBound() const { return bound; }

    // Scans the text into `tokens` (at least tokenBound() elements, preset),
    // ends it with one end token and sets `count` to the number of tokens
    // written, end token included. Empty text (nothing but blanks) throws
    // EE_ParseException code 5 at an empty position: the expression is
    // incomplete.
    void preprocess(EE_Token* tokens, unsigned& count);

    // Scans one token at the cursor and advances the cursor past it.
    void get(EE_Token& token, SaveSpelling& cursor);

    // Binary search of the keyword table for exactly that spelling; a row found
    // is offered to keywordNotInLanguage, and when that says so the spelling
    // counts as not found.
    static bool findCKeyword(const char* spelling, unsigned length, unsigned& kind);

    // Whether a keyword of the table is a plain identifier in the current
    // language: outside C++ the C++-only words are.
    static bool keywordNotInLanguage(unsigned kind, const char* spelling, unsigned length);

private:
    // A copy of `from` in the arena in which every complete universal character
    // name is replaced by its UTF-8 bytes.
    const char* rewriteUniversalCharacterNames(const char* from);

    void scanNumber(EE_Token& token, SaveSpelling& cursor);
    void endOfNumber(SaveSpelling& cursor);
    bool fortranExponent(EE_Token& token, SaveSpelling& cursor);
    void scanFraction(EE_Token& token, SaveSpelling& cursor);
    void scanExponent(EE_Token& token, SaveSpelling& cursor);
    void scanHexadecimal(EE_Token& token, SaveSpelling& cursor);
    void integerSuffix(EE_Token& token, SaveSpelling& cursor);
    EE_TypeDescriptor* integerLiteralType(const char* first, const char* digitsEnd, const char* end, bool isUnsigned,
                                          unsigned longs);
    void floatingSuffix(EE_Token& token, SaveSpelling& cursor);
    bool decimalFloatingSuffix(EE_Token& token, SaveSpelling& cursor);
    unsigned scanQuoted(SaveSpelling& cursor, char quote, bool wide);
    void scanEscape(SaveSpelling& cursor);
    void scanIdentifier(EE_Token& token, SaveSpelling& cursor);

    EE_DebuggerServices& services;
    const char* text;
    unsigned bound;
};

#endif
