#ifndef COBOL_PARSER_LL_UNIVERSE_H
#define COBOL_PARSER_LL_UNIVERSE_H

#include "frontend/Cobol_Lexer.h"
#include "frontend/Parser_LL_Universe.h"

// The world of the COBOL grammar: the LL framework over the COBOL lexer. A
// token that no rule expects may end the parse only when it is the end token.
class Cobol_Parser_LL_Universe : public Parser_LL_Universe<Cobol_Lexer> {
public:
  Cobol_Parser_LL_Universe(EE_DebuggerServices* services, Cobol_Lexer* lexer)
      : Parser_LL_Universe<Cobol_Lexer>(services, lexer) {}
};

// The COBOL grammar's parse entry: true when the whole token stream is one
// statement or expression, its tree stored with setExpression; false after a
// syntax error, whose position the universe holds. On Linux the grammar is a
// companion library bound by this name.
extern "C" {
typedef bool (*Cobol_Parser_LL_ParseEntry)(Cobol_Parser_LL_Universe& universe);
}

#endif
