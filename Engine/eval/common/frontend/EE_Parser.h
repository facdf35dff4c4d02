#ifndef EE_PARSER_H
#define EE_PARSER_H

#include "frontend/EE_bool.h"

class EE_DebuggerServices;
class EE_Expression;
struct EE_Token;

// The parser driver: turns the text of one expression into the root of a
// syntax tree. It scans the whole text first into an array of tokens (the C
// and C++ scanner, or the COBOL scanner), then runs the language's
// recursive-descent grammar over it. The language is chosen once per parse by
// the services (`isCobol`). Every token, name and node lives in the services'
// storage arena and stays valid until that arena is emptied.
//
// A root is returned or an exception is thrown: EE_ParseException (code and
// text position) or EE_Exception (code and node). Nothing is caught here.
class EE_Parser {
public:
    // The state that the lexers read: the trace flag and the template-closing
    // flag (while it is set the lexer turns ">" into a template close). Kept in
    // the arena; a trial parse of template arguments installs a copy.
    struct ParseState {
        EE_bool trace;
        EE_bool templateClosing;
    };

    // What a grammar's parse entry leaves behind.
    struct GrammarOutcome {
        bool accepted;             // the entry accepted the input
        EE_Expression* expression; // the universe's expression, possibly null
        const char* syntaxError;   // the universe's syntax-error position
        bool tooDeep;              // a rule was refused for nesting too deeply
    };

    EE_Parser(EE_DebuggerServices& services, EE_bool trace);

    // Scans the text into the token array.
    void preprocess(const char* text);

    // The root of the parsed text.
    EE_Expression* parseTheExpression(const char* text, EE_bool trace);

    // Turns a grammar's outcome into the root or the failure: an accepted parse
    // with an expression gives it; a failed one that nevertheless holds an
    // expression is an internal failure (EE_Exception code 2); without an
    // expression the parse is a syntax error at the registered position
    // (EE_ParseException code 5).
    EE_Expression* conclude(const GrammarOutcome& outcome) const;

    EE_DebuggerServices& services() const { return dbgServices; }
    ParseState* parseState() const { return state; }
    void setParseState(ParseState* s) { state = s; }
    EE_Token* tokens() const { return tokenArray; }
    unsigned count() const { return tokenCount; }

private:
    // The grammar of each language over the scanned tokens.
    GrammarOutcome parseC();
    GrammarOutcome parseCobol();
    // The COBOL scanner over the text.
    void scanCobol(const char* text);

    EE_DebuggerServices& dbgServices;
    ParseState* state;
    EE_Token* tokenArray;
    unsigned tokenCount;
};

#endif
