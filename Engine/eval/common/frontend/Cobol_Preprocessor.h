#ifndef COBOL_PREPROCESSOR_H
#define COBOL_PREPROCESSOR_H

#include <cstdint>

#include "frontend/EE_Token.h"

class EE_DebuggerServices;

// The scanner of COBOL expression text. It reads the whole text, before any
// parsing, into the token array: COBOL's literal forms (alphanumeric,
// hexadecimal, national, DBCS, null-terminated, address literals, fixed-point
// and floating-point numbers), punctuation and relational operators, data
// names (which may begin with digits and hold hyphens and DBCS shift
// characters) and the reserved words of the expression grammar. Literal
// tokens get their type at once through the services. Data names are not
// resolved here; the COBOL lexer does that.
//
// Token spellings point into the scanned text.
class Cobol_Preprocessor {
public:
    // Character classes, one bit each.
    enum CharClass : std::uint32_t {
        Blank = 1,    // blank and horizontal tab
        NameChar = 2, // A-Z, a-z and every byte 0x80 to 0xFD
        HexDigit = 4,
        Digit = 8,
        NameContinue = 16, // hyphen, underscore, shift-out, shift-in
        OctalDigit = 32
    };

    static constexpr char ShiftOut = 0x0E;
    static constexpr char ShiftIn = 0x0F;

    // The class bits of a byte (one process-wide table that never changes).
    static std::uint32_t charClass(unsigned char c);

    // One row of the reserved-word table.
    struct ReservedWord {
        const char* name;
        unsigned length;
        unsigned supported; // 0 in every row; not consulted
        unsigned kind;      // token kind
    };

    // The reserved-word table, sorted by name.
    static const ReservedWord* reservedWords(unsigned& rows);

    // The kind of a reserved word spelled (in any case) by the `length` bytes
    // at `word`; false when the word is not reserved.
    static bool findReservedWord(const char* word, unsigned length, unsigned& kind);

    // Compares at most n bytes after lower-casing each; 0 when equal, else the
    // difference of the first differing lower-cased bytes (a NUL counts as 0).
    static int strnicmp(const char* a, const char* b, unsigned int n);

    // The lower-casing table of strnicmp: A-Z to a-z, other bytes unchanged.
    static const unsigned char* CharTable();

    Cobol_Preprocessor(const char* text, EE_DebuggerServices& services);

    // An upper bound on the number of tokens the text can give, the end token
    // included: every token takes at least one character, so the text's length
    // plus one.
    unsigned tokenBound() const { return length; }

    // Scans the whole text into `tokens` (at least tokenBound() elements,
    // preset), ends it with one end token and sets `count` to the number of
    // tokens written, end token included. Text of blanks only throws
    // EE_ParseException code 5 at an empty position: the expression is
    // incomplete.
    void preprocess(EE_Token* tokens, unsigned& count);

    // Scans one token at `position` and advances it past the token. The
    // token's spelling runs from its first character to where scanning
    // stopped, also when scanning fails.
    void get(EE_Token& token, const char*& position);

private:
    // Numbers: the digits of an integer part, a fraction, a fixed-point end and
    // an exponent. Each works on the cursor and counts digits.
    struct Number {
        const char* start = nullptr; // the token's first character
        unsigned integerDigits = 0;
        unsigned fractionDigits = 0;
        bool signWritten = false;
        bool floating = false;
    };
    void numberTail(EE_Token& token, const char*& p, Number& number);
    void fractionTail(EE_Token& token, const char*& p, Number& number);
    void fixedPointTail(EE_Token& token, Number& number);
    void floatTail(const char*& p, Number& number);

public:
    // A quoted byte sequence at p (p on the opening delimiter; with the
    // shift-in as delimiter p is already inside): the number of bytes up to the
    // closing delimiter, a doubled delimiter counting once; p is left after the
    // closing delimiter. A text that ends first throws code 5 at the end.
    unsigned scanSequence(const char*& p, char delimiter);
    // Like scanSequence, but counts multibyte characters (their byte length
    // from the services) and reads backslash escapes.
    unsigned scanMBSequence(const char*& p, char delimiter);
    // A backslash escape at p (p on the backslash); p is left after it.
    void scanEscapeSequence(const char*& p);

private:
    // The number of hexadecimal digits at p up to the delimiter; p is left
    // after the delimiter. Digits not closed by it throw code 4 at `start`.
    unsigned scanHexDigits(const char*& p, char delimiter, const char* start);
    // A data name from p on (name characters, and a shift-out followed by a
    // name character or digit).
    void scanName(const char*& p);
    // Checks the kind of a literal once it is typed.
    static void checkLiteralKind(const EE_Token& token);

    EE_DebuggerServices& services;
    const char* text;
    unsigned length; // of the text, the terminating NUL included
};

#endif
