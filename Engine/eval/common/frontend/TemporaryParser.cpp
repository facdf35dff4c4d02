#include "frontend/TemporaryParser.h"

#include "frontend/C_Lexer.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_StorageArena.h"

TemporaryParser::TemporaryParser(EE_Parser& parser, C_Lexer& lexer) : saved(parser.parseState()), lexer(&lexer)
{
    EE_Parser::ParseState* copy = new (parser.services().storageArena()) EE_Parser::ParseState(*saved);
    copy->templateClosing = 0;
    parser.setParseState(copy);
}

TemporaryParser::~TemporaryParser()
{
    lexer->parser().setParseState(saved);
}

EE_Parser::ParseState* TemporaryParser::installed() const
{
    return lexer->parser().parseState();
}
