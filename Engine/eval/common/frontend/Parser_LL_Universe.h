#ifndef PARSER_LL_UNIVERSE_H
#define PARSER_LL_UNIVERSE_H

#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_Token.h"
#include "frontend/Parser_LL_BackupInfo.h"
#include "frontend/ExpressionDepth.h"

class EE_Expression;

// The world in which a generated recursive-descent grammar runs: the
// services, the lexer, the position of the last registered syntax error and
// the resulting expression, with token stepping, backtracking and syntax-error
// registration.
//
// A lexer used here hands out tokens from an array of slots that it fills
// one after another and keeps, so that the grammar can back up. It offers:
//   EE_Token* currentSlot()       the slot the grammar now looks at;
//   EE_Token* lastLexedSlot()     the highest slot filled so far;
//   void setCurrentSlot(EE_Token*) makes a filled slot current again;
//   void advance()                moves to the next slot, lexing it if new;
//   EE_Parser& parser()           the parser driver (for its parse state).
template <class Lexer>
class Parser_LL_Universe {
public:
    Parser_LL_Universe(EE_DebuggerServices* services, Lexer* lexer)
        : services(services), lex(lexer), syntaxError(nullptr), result(nullptr)
    {}
    virtual ~Parser_LL_Universe() = default;

    Lexer* lexer() const { return lex; }
    EE_DebuggerServices* dbgServices() const { return services; }
    EE_StorageArena& arena() const { return services->storageArena(); }

    EE_Token* lex_current() const { return lex->currentSlot(); }
    unsigned currentKind() const { return lex->currentSlot()->kind; }

    // Advances the lexer by one token; `kind` receives the new current kind.
    void getToken(unsigned& kind)
    {
        lex->advance();
        kind = lex->currentSlot()->kind;
    }

    // Remembers the current token as the place of a syntax error; every
    // registration overwrites the previous one. The end token has no spelling,
    // so an error there has a null position.
    void registerSyntaxError() { syntaxError = lex->currentSlot()->spelling; }
    const char* getSyntaxError() const { return syntaxError; }

    // One level of the rules' recursion for as long as a rule runs. Every
    // level that may recurse again builds a node around what it reads, so the
    // rules never nest deeper than the tree they build: past the deepest tree
    // allowed the rule fails, and the parse is refused as nesting too deeply
    // before the host thread's stack is spent.
    class NestingLevel {
    public:
        explicit NestingLevel(Parser_LL_Universe& u) : u(u), entered(u.nesting < maxExpressionDepth)
        {
            if (entered)
                ++u.nesting;
            else
                u.tooDeep = true;
        }
        ~NestingLevel()
        {
            if (entered)
                --u.nesting;
        }
        NestingLevel(const NestingLevel&) = delete;
        NestingLevel& operator=(const NestingLevel&) = delete;

        // False when the text nests too deeply here.
        bool allowed() const { return entered; }

    private:
        Parser_LL_Universe& u;
        bool entered;
    };
    // Whether a rule was refused for nesting too deeply.
    bool nestsTooDeeply() const { return tooDeep; }

    // Registers a syntax error at the current token and answers false, so that
    // a rule fails with it.
    bool failSyntax()
    {
        registerSyntaxError();
        return false;
    }

    // Consumes a token of the wanted kind, or fails with a syntax error at the
    // current one.
    bool expect(unsigned& kind, unsigned wanted)
    {
        if (kind != wanted)
            return failSyntax();
        getToken(kind);
        return true;
    }

    void parseFailure() { result = nullptr; }
    void setExpression(EE_Expression* e) { result = e; }
    EE_Expression* expression() const { return result; }

    int acceptInput() const { return 1; }

    EE_bool trace() const { return lex->parser().parseState()->trace; }

    Parser_LL_BackupInfo<Lexer>* backupInformation() { return new (arena()) Parser_LL_BackupInfo<Lexer>(*lex); }

    // Makes the saved slot current again and returns its kind. A record of
    // another lexer, or one that points past the last slot lexed so far, is an
    // internal failure.
    unsigned backup(Parser_LL_BackupInfo<Lexer>& info)
    {
        if (&info.lexer != lex || info.position == nullptr || info.position > lex->lastLexedSlot())
            throw EE_Exception(EE_Exception::InternalFailure);
        lex->setCurrentSlot(info.position);
        return info.position->kind;
    }

    // Backup records live in the arena and go with it.
    void deleteBackupInfo(Parser_LL_BackupInfo<Lexer>*) {}

    // Whether a token that no rule expects may end the parse.
    virtual bool appropriateEndToken(unsigned kind) { return kind == EE_Token::EndOfText; }

private:
    EE_DebuggerServices* services;
    Lexer* lex;
    const char* syntaxError;
    EE_Expression* result;
    unsigned nesting = 0;
    bool tooDeep = false;
};

#endif
