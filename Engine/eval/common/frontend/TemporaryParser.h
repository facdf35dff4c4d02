#ifndef TEMPORARYPARSER_H
#define TEMPORARYPARSER_H

#include "frontend/EE_Parser.h"

class C_Lexer;

// Gives the parser driver a fresh copy of its parse state, with the
// template-closing flag cleared, for as long as the object lives; the saved
// state comes back when it goes, also when an exception leaves the scope.
class TemporaryParser {
public:
    TemporaryParser(EE_Parser& parser, C_Lexer& lexer);
    ~TemporaryParser();
    TemporaryParser(const TemporaryParser&) = delete;
    TemporaryParser& operator=(const TemporaryParser&) = delete;

    // The copy now installed.
    EE_Parser::ParseState* installed() const;

private:
    EE_Parser::ParseState* saved;
    C_Lexer* lexer;
};

#endif
