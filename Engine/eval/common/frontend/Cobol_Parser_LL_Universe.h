#ifndef COBOL_PARSER_LL_UNIVERSE_H
#define COBOL_PARSER_LL_UNIVERSE_H

#include "frontend/Cobol_Lexer.h"
#include "frontend/Parser_LL_Universe.h"

// The world of the COBOL grammar: the LL framework over the COBOL lexer. A
// token that no rule expects may end the parse only when it is the end token.
class Cobol_Parser_LL_Universe : public Parser_LL_Universe<Cobol_Lexer> {
public:
    Cobol_Parser_LL_Universe(EE_DebuggerServices* services, Cobol_Lexer* lexer)
        : Parser_LL_Universe<Cobol_Lexer>(services, lexer)
    {}
};

// The COBOL grammar's parse entry: true when the whole token stream is one
// statement or expression, its tree stored with setExpression; false after a
// syntax error, whose position the universe holds. On Linux the grammar is a
// companion library bound by this name.
//
// The seam is C++ although the name is looked up with C linkage (unmangled):
// the entry takes the universe by reference, calls its virtual operations,
// and the grammar's failures (EE_ParseException, EE_Exception) come back
// through it as C++ exceptions. That holds only because both sides are this
// system's own, built together by one compiler from these headers. The
// companion therefore also exports its interface version, and the binding
// refuses a companion of another version instead of calling it with objects
// whose layout it may not share. Raise the version whenever the universe,
// the classes the grammar reaches through it or the exceptions it throws
// change shape.
extern "C" {
typedef bool (*Cobol_Parser_LL_ParseEntry)(Cobol_Parser_LL_Universe& universe);
typedef int (*Cobol_Parser_LL_VersionEntry)();
}
constexpr int Cobol_Parser_LL_InterfaceVersion = 2;

#endif
