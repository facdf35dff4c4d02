#ifndef TEMPLATEARGUMENTPARSER_H
#define TEMPLATEARGUMENTPARSER_H

#include "frontend/C_Parser_LL_Universe.h"

// The universe of the trial parse of a template argument list.
class TemplateArgumentParser : public C_Parser_LL_Universe {
public:
    TemplateArgumentParser(EE_DebuggerServices* services, C_Lexer* lexer) : C_Parser_LL_Universe(services, lexer) {}
    ~TemplateArgumentParser() override = default;
};

#endif
