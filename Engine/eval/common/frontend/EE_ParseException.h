#ifndef EE_PARSEEXCEPTION_H
#define EE_PARSEEXCEPTION_H

// A failure to read the expression text, thrown by value. The position is the
// place in the scanned text where the problem was found, a name, a message
// text, or null.
class EE_ParseException {
public:
    enum Code : unsigned {
        NotAPointer = 0,
        NotAClass = 1,
        NoReturnType = 2,
        NoSuchSymbol = 3,
        BadLiteral = 4,
        SyntaxError = 5,
        AmbiguousSymbol = 6,
        NotReady = 7,
        NotAllocated = 8,
        TooDeep = 9 // the syntax tree nests deeper than a tree may
    };

    EE_ParseException(unsigned c, const char* p) : code(c), position(p) {}

    unsigned code;
    const char* position;
};

#endif
