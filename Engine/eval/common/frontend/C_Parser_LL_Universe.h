#ifndef C_PARSER_LL_UNIVERSE_H
#define C_PARSER_LL_UNIVERSE_H

#include "frontend/C_Lexer.h"
#include "frontend/Parser_LL_Universe.h"

class EE_TemplateArgument;

// The universe of the C and C++ grammar: the common universe over the C
// lexer, with the answer of a template-argument parse besides the expression.
class C_Parser_LL_Universe : public Parser_LL_Universe<C_Lexer> {
public:
    C_Parser_LL_Universe(EE_DebuggerServices* services, C_Lexer* lexer)
        : Parser_LL_Universe<C_Lexer>(services, lexer), templateArguments(nullptr)
    {}

    void setTemplateArguments(EE_TemplateArgument* list) { templateArguments = list; }
    EE_TemplateArgument* templateArgumentAnswer() const { return templateArguments; }

private:
    EE_TemplateArgument* templateArguments;
};

#endif
