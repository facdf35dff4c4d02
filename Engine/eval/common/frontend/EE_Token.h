#ifndef EE_TOKEN_H
#define EE_TOKEN_H

class EE_Name;
class EE_TypeDescriptor;

// One scanned token of expression text, an element of the token array that a
// scanner fills and a lexer hands to the grammar. Every element is preset to
// kind NoToken with the other fields zero before the scanner fills it.
struct EE_Token {
    // One numbering for the C family and COBOL. Numbers missing here (52, 53,
    // 84, 85, 87 to 100) are not used.
    enum Kind : unsigned {
        Literal = 0,

        // C and C++ keywords, in the order of the scanner's keyword table.
        KwBool = 1,
        KwUBool = 2, // _Bool
        KwChar = 3,
        KwCimag = 4,
        KwClass = 5,
        KwUComplex = 6, // _Complex
        KwConst = 7,
        KwConstCast = 8,
        KwCreal = 9,
        KwDouble = 10,
        KwEnum = 11,
        KwFalse = 12, // also COBOL FALSE
        KwFloat = 13,
        KwUImaginary = 14,    // _Imaginary
        KwImaginaryUnit = 15, // __I
        KwInt = 16,
        KwLong = 17,
        KwReinterpretCast = 18,
        KwShort = 19,
        KwSigned = 20,
        KwSizeof = 21,
        KwStaticCast = 22,
        KwStruct = 23,
        KwThis = 24,
        KwTrue = 25, // also COBOL TRUE
        KwTypeid = 26,
        KwUnion = 27,
        KwUnsigned = 28,
        KwVoid = 29,
        KwWcharT = 30,

        Plus = 31,
        Minus = 32,
        Star = 33,
        Slash = 34,
        Percent = 35,
        Caret = 36,
        Ampersand = 37, // COBOL AND
        Bar = 38,       // COBOL OR
        Tilde = 39,
        Exclaim = 40, // COBOL NOT
        Less = 41,
        Greater = 42,
        Comma = 43,
        ShiftLeft = 44,
        ShiftRight = 45,
        EqualEqual = 46,
        NotEqual = 47,
        LessEqual = 48,
        GreaterEqual = 49,
        AndAnd = 50,
        BarBar = 51,
        Arrow = 54,
        Dot = 55,
        LeftParen = 56,
        RightParen = 57,
        LeftBracket = 58,
        RightBracket = 59,
        Question = 60,
        Colon = 61,
        PlusPlus = 62,
        MinusMinus = 63,
        Assign = 64,
        StarAssign = 65,
        SlashAssign = 66,
        PercentAssign = 67,
        PlusAssign = 68,
        MinusAssign = 69,
        ShiftRightAssign = 70,
        ShiftLeftAssign = 71,
        AndAssign = 72,
        CaretAssign = 73,
        BarAssign = 74,

        EndOfText = 75,
        TypeName = 76,       // a name that resolved to a type (after lexing)
        OtherName = 77,      // any other resolved name (after lexing)
        ReservedName78 = 78, // accepted as a name, never produced
        Identifier = 79,     // as scanned, before the lexer resolves it
        ColonColon = 80,
        TemplateClose = 81,  // ">" closing a template argument list
        ReservedName82 = 82, // accepted as a name, never produced
        ReservedName83 = 83, // accepted as a name, never produced
        CobolPower = 86,     // COBOL "**"

        CobolFirst = 101, // COBOL keywords, figurative constants and
        CobolLast = 133,  // literal forms lie in 101 to 133
        CobolSemicolon = 126,

        NoToken = 134 // the preset; also an unsupported reserved word
    };

    // Whether a kind counts as a name wherever the grammar asks for one.
    static bool isNameKind(unsigned kind)
    {
        return kind == TypeName || kind == OtherName || kind == ReservedName78 || kind == Identifier ||
               kind == ReservedName82 || kind == ReservedName83;
    }

    unsigned kind;           // token kind
    EE_Name* value;          // the resolved name of kinds 76 and 77, else null
    const char* spelling;    // first character in the scanned text
    unsigned length;         // number of characters of the spelling
    EE_TypeDescriptor* type; // type of a literal and of true/false, else null

    // The preset state of an element before a scanner fills it.
    void preset()
    {
        kind = NoToken;
        value = nullptr;
        spelling = nullptr;
        length = 0;
        type = nullptr;
    }
};

#endif
