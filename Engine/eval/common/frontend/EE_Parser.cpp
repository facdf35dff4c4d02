#include "frontend/EE_Parser.h"

#include "frontend/C_Lexer.h"
#include "frontend/C_Parser.h"
#include "frontend/C_Preprocessor.h"
#include "frontend/Cobol_GrammarBinding.h"
#include "frontend/Cobol_Lexer.h"
#include "frontend/Cobol_Parser_LL_Universe.h"
#include "frontend/Cobol_Preprocessor.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_Token.h"
#include "services/SVC.h"

namespace {

// Has the scanner fill a fresh token array in the arena, each slot preset;
// the array and its count are the parser's as soon as scanning starts.
template <class Scanner>
void scanInto(Scanner& scanner, EE_StorageArena& arena, EE_Token*& tokenArray, unsigned& tokenCount)
{
    unsigned bound = scanner.tokenBound();
    EE_Token* tokens = new (arena) EE_Token[bound];
    for (unsigned i = 0; i < bound; ++i)
        tokens[i].preset();
    tokenArray = tokens;
    tokenCount = 0;
    scanner.preprocess(tokens, tokenCount);
}

} // namespace

EE_Parser::EE_Parser(EE_DebuggerServices& services, EE_bool trace)
    : dbgServices(services), state(nullptr), tokenArray(nullptr), tokenCount(0)
{
    state = new (services.storageArena()) ParseState{trace, 0};
}

void EE_Parser::preprocess(const char* text)
{
    if (dbgServices.isCobol()) {
        scanCobol(text);
        return;
    }
    C_Preprocessor scanner(text, dbgServices);
    scanInto(scanner, dbgServices.storageArena(), tokenArray, tokenCount);
}

EE_Expression* EE_Parser::parseTheExpression(const char* text, EE_bool trace)
{
    preprocess(text);
    state->trace = trace;
    return conclude(dbgServices.isCobol() ? parseCobol() : parseC());
}

EE_Expression* EE_Parser::conclude(const GrammarOutcome& outcome) const
{
    if (!outcome.accepted && outcome.tooDeep)
        throw EE_ParseException(EE_ParseException::TooDeep, nullptr);
    if (outcome.expression != nullptr) {
        if (outcome.accepted)
            return outcome.expression;
        throw EE_Exception(EE_Exception::InternalFailure);
    }
    if (*SVC::traceEnabled())
        SVC::fTrace("EE_Parser::parseTheExpression", __LINE__, "%s",
                    outcome.accepted ? "throw exception: e == 0." : "throw exception: no success.");
    throw EE_ParseException(EE_ParseException::SyntaxError, outcome.syntaxError);
}

// The C and C++ grammar (also for Fortran and UPC text) over the C lexer.
//
// Each grammar run makes its lexer in the arena over (tokens, services, this
// parser, count), reads the first token, makes the language's parse universe
// over (services, lexer), calls the grammar's parse entry and reports whether
// the entry accepted, the universe's expression and its syntax-error
// position; `conclude` decides between the root and the failure.
EE_Parser::GrammarOutcome EE_Parser::parseC()
{
    C_Lexer* lexer = new (dbgServices.storageArena()) C_Lexer(tokenArray, &dbgServices, this, tokenCount);
    lexer->firstToken();
    C_Parser_LL_Universe universe(&dbgServices, lexer);
    universe.setTemplateArguments(nullptr);
    bool accepted = C_Parser_LL_parse_Interface_Expression(universe);
    return GrammarOutcome{accepted, universe.expression(), universe.getSyntaxError(), universe.nestsTooDeeply()};
}

// The COBOL grammar, bound from its companion library on first use, over the
// scanned tokens.
EE_Parser::GrammarOutcome EE_Parser::parseCobol()
{
    // The grammar lives in a companion library; without it COBOL text cannot
    // be parsed, which is said before any name is looked up.
    Cobol_Parser_LL_ParseEntry parse = Cobol_GrammarBinding::require();
    Cobol_Lexer* lexer = new (dbgServices.storageArena()) Cobol_Lexer(tokenArray, dbgServices, *this, tokenCount);
    lexer->firstToken();
    Cobol_Parser_LL_Universe universe(&dbgServices, lexer);
    bool accepted = parse(universe);
    return {accepted, universe.expression(), universe.getSyntaxError(), universe.nestsTooDeeply()};
}

void EE_Parser::scanCobol(const char* text)
{
    Cobol_Preprocessor scanner(text, dbgServices);
    scanInto(scanner, dbgServices.storageArena(), tokenArray, tokenCount);
}
