#ifndef TEMPORARYTEMPLATEARGUMENTPARSER_H
#define TEMPORARYTEMPLATEARGUMENTPARSER_H

#include "frontend/TemplateArgumentParser.h"
#include "frontend/TemporaryParser.h"

// The trial parse of a template argument list in one object: the parse state
// is replaced first, then the universe is made; on leaving, the universe goes
// first and the saved parse state comes back last.
class TemporaryTemplateArgumentParser : public TemporaryParser, public TemplateArgumentParser {
public:
    TemporaryTemplateArgumentParser(EE_Parser& parser, C_Lexer& lexer)
        : TemporaryParser(parser, lexer), TemplateArgumentParser(&parser.services(), &lexer)
    {}
    ~TemporaryTemplateArgumentParser() override = default;
};

#endif
