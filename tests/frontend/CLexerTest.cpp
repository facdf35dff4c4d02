// The C lexer: name resolution as a token becomes current, "::"
// qualification, template-ids, the template-closing ">" and backing up over
// slots that keep what they received.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CParserTestSupport.h"
#include "frontend/C_Lexer.h"
#include "frontend/C_Parser.h"
#include "frontend/C_Parser_LL_Universe.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_Token.h"
#include "frontend/TemporaryParser.h"

using namespace cparser;

namespace {

// A lexer over the scanned text, with the universe the grammar would use.
struct Lexing {
    Lexing(Services& services, const char* text) : parser(services, 0)
    {
        parser.preprocess(text);
        lexer = new (services.storageArena()) C_Lexer(parser.tokens(), &services, &parser, parser.count());
        lexer->firstToken();
        universe = new (services.storageArena()) C_Parser_LL_Universe(&services, lexer);
    }

    // The kinds and names of the tokens handed out up to the end token.
    std::string walk()
    {
        std::string out;
        for (;;) {
            EE_Token* t = lexer->currentSlot();
            out += std::to_string(t->kind);
            if (t->value != nullptr)
                out += std::string(":") + t->value->signature().data();
            if (t->kind == EE_Token::EndOfText)
                return out;
            out += " ";
            lexer->advance();
        }
    }

    EE_Parser parser;
    C_Lexer* lexer;
    C_Parser_LL_Universe* universe;
};

std::string lexFailure(Services& services, const char* text)
{
    try {
        Lexing l(services, text);
        l.walk();
    } catch (const EE_ParseException& e) {
        return failure(e);
    } catch (const EE_Exception& e) {
        return "error " + std::to_string(e.code);
    }
    return "no failure";
}

} // namespace

TEST(CLexer, NamesResolveAsTheyBecomeCurrent)
{
    struct Row {
        int language;
        const char* text;
        const char* tokens;
    } rows[] = {
        {0, "a + T", "77:a 31 76:T 75"},
        {0, "x*(int)d", "77:x 33 56 16 57 77:d 75"},
        {EE_LanguageCPP, "::x", "77:x 75"},
        {EE_LanguageCPP, "N::B::c", "77:c 75"},
        {EE_LanguageCPP, "::N::B", "76:B 75"},
        {EE_LanguageCPP, "f2<int>(3)", "77:f2<int> 56 0 57 75"},
        {EE_LanguageCPP, "f2<int, 3> > a", "77:f2<int, 3> 42 77:a 75"},
        {EE_LanguageCPP, "Holder<int>::z", "77:z 75"},
        {EE_LanguageCPP, "Holder< Holder<int> > * p", "76:Holder<::Holder<int>> 33 77:p 75"},
        {EE_LanguageCPP, "a > b", "77:a 42 77:b 75"},
    };
    for (const Row& r : rows) {
        Language language(r.language);
        Services services;
        Lexing l(services, r.text);
        EXPECT_EQ(l.walk(), r.tokens) << r.text;
        // The parse state is back as it was after every template-id.
        EXPECT_EQ(l.parser.parseState()->templateClosing, 0) << r.text;
    }
}

TEST(CLexer, QualifiedNamesLookUpInTheirScopes)
{
    Language language(EE_LanguageCPP);
    Services services;
    Lexing l(services, "::x + N::B::c");
    l.walk();
    // ::x in the global store; N in the current scope ("::" follows), B in N's
    // store, c in B's store.
    EXPECT_EQ(services.lookups, (std::vector<std::string>{"x@global", "N", "B@scope", "c@scope"}));
}

TEST(CLexer, BaseMemberNamesCarryTheirChain)
{
    Language language(EE_LanguageCPP);
    {
        Services services;
        services.baseMembers = {"bm"};
        Lexing l(services, "N::B::bm");
        EXPECT_EQ(l.walk(), "77:::N::B::bm 75");
        // The chain is asked for once per qualification level: in B, then in N.
        EXPECT_EQ(services.baseChainCalls, 2);
        EE_BaseNameLookupChain* chain = l.lexer->currentSlot()[-1].value->baseLookupChain();
        ASSERT_NE(chain, nullptr);
        EXPECT_EQ(chain->store, services.member("N")->declarations.at("B")->declarationStore());
        EXPECT_EQ(chain->next, nullptr);
    }
    {
        Services services;
        services.baseMembers = {"bm"};
        services.baseFound = false;
        EXPECT_EQ(lexFailure(services, "N::B::bm"), "parse error 3 at 'bm'");
    }
    {
        Services services;
        services.baseMembers = {"bm"};
        services.ambiguousBase = 1;
        EXPECT_EQ(lexFailure(services, "N::B::bm"), "parse error 3 at 'bm'");
    }
}

TEST(CLexer, NameFailures)
{
    struct Row {
        const char* text;
        const char* failure;
    } rows[] = {
        {"nope", "parse error 3 at 'nope'"},    {"a + nope", "parse error 3 at 'nope'"},
        {"::5", "parse error 3 at '5'"},        {":: +", "parse error 3 at '+'"},
        {"::", "parse error 3 at end"},         {"N::", "parse error 3 at end"},
        {"N::5", "parse error 3 at '5'"},       {"x::y", "parse error 3 at 'x'"},
        {"N::nope", "parse error 3 at 'nope'"}, {"f2", "parse error 3 at 'f2'"},
        {"f2 + 1", "parse error 3 at 'f2'"},    {"f2<long>", "parse error 3 at 'f2'"},
        {"f2<int", "parse error 3 at 'f2'"},
    };
    Language language(EE_LanguageCPP);
    for (const Row& r : rows) {
        Services services;
        EXPECT_EQ(lexFailure(services, r.text), r.failure) << r.text;
    }
}

TEST(CLexer, NameTextsOutliveTheFailure)
{
    Language language(EE_LanguageCPP);
    Services services;
    const char* position = nullptr;
    {
        EE_Parser parser(services, 0);
        try {
            parser.parseTheExpression("a + nope", 0);
        } catch (const EE_ParseException& e) {
            position = e.position;
        }
    }
    // The position is the name alone, kept in the arena, not the rest of the
    // text.
    ASSERT_NE(position, nullptr);
    EXPECT_STREQ(position, "nope");
}

TEST(CLexer, TemplateArgumentTrialParse)
{
    Language language(EE_LanguageCPP);
    struct Row {
        const char* text;
        std::vector<std::string> resolved;
    } rows[] = {
        {"f2<int>(1)", {"f2<int>"}},
        {"f2<char * >(1)", {"f2<char *>"}},
        {"f2<int, 3>(1)", {"f2<int, 3>"}},
        {"f2<3, int>(1)", {"f2<3, int>"}},
        {"f2<a + 1>(1)", {"f2<a+1>"}},
        // Inside the list the ">" ends it: "a > b" cannot be written there.
        {"f2<a > b>(1)", {"f2<a>"}},
        // A list that the trial parse does not accept is no list.
        {"f2<a b>(1)", {"(no list)"}},
        {"f2<static_cast<int>(x)>(1)", {"(no list)"}},
        {"Holder< Holder<int> >", {"Holder<int>", "Holder<::Holder<int>>"}},
    };
    for (const Row& r : rows) {
        Services services;
        parseShape(services, r.text);
        EXPECT_EQ(services.resolved, r.resolved) << r.text;
    }
}

TEST(CLexer, GreaterClosesTemplateListsOnlyWhileTheFlagIsSet)
{
    Services services;
    Lexing l(services, "a > b > c");
    EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::OtherName));
    {
        TemporaryParser trial(l.parser, *l.lexer);
        EXPECT_EQ(trial.installed()->templateClosing, 0);
        trial.installed()->templateClosing = 1;
        l.lexer->advance();
        EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::TemplateClose));
    }
    EXPECT_EQ(l.parser.parseState()->templateClosing, 0);
    l.lexer->advance();
    l.lexer->advance();
    EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::Greater));
}

TEST(CLexer, BackingUpReusesResolvedSlots)
{
    Services services;
    Lexing l(services, "a + b * c");
    Parser_LL_BackupInfo<C_Lexer>* start = l.universe->backupInformation();
    unsigned kind = 0;
    l.universe->getToken(kind);
    l.universe->getToken(kind);
    Parser_LL_BackupInfo<C_Lexer>* atB = l.universe->backupInformation();
    l.universe->getToken(kind);
    l.universe->getToken(kind);
    EXPECT_EQ(services.lookups.size(), 3u);

    EXPECT_EQ(l.universe->backup(*start), unsigned(EE_Token::OtherName));
    EXPECT_EQ(l.walk(), "77:a 31 77:b 33 77:c 75");
    // Nothing was looked up again.
    EXPECT_EQ(services.lookups.size(), 3u);
    EXPECT_EQ(l.universe->backup(*atB), unsigned(EE_Token::OtherName));
    EXPECT_EQ(l.lexer->currentSlot()->value->signature().data(), std::string("b"));

    // Stepping past the end token is an internal failure.
    l.walk();
    try {
        l.lexer->advance();
        ADD_FAILURE() << "advanced past the end";
    } catch (const EE_Exception& e) {
        EXPECT_EQ(e.code, 2u);
    }
}

TEST(CLexer, ClassKeyMarkResolvesTheNextNameAsAType)
{
    // "S2" names a variable, and a class that only a lookup for types finds.
    Services services;
    {
        Lexing l(services, "S2 + 1");
        EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::OtherName));
    }
    {
        Lexing l(services, "struct S2 x");
        l.lexer->lookUpNextNameAsType();
        l.lexer->advance();
        EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::TypeName));
        // The mark holds for one token only.
        l.lexer->lookUpNextNameAsType();
        l.lexer->advance();
        EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::OtherName));
    }
    // A name that is no type is resolved as usual.
    {
        Lexing l(services, "struct x");
        l.lexer->lookUpNextNameAsType();
        l.lexer->advance();
        EXPECT_EQ(l.lexer->currentSlot()->kind, unsigned(EE_Token::OtherName));
    }
}

TEST(CLexer, ParseStateComesBackWhenTheTrialParseThrows)
{
    Language language(EE_LanguageCPP);
    Services services;
    EE_Parser parser(services, 0);
    EE_Parser::ParseState* state = parser.parseState();
    try {
        parser.parseTheExpression("f2<nope>(1)", 0);
        ADD_FAILURE() << "no failure";
    } catch (const EE_ParseException& e) {
        EXPECT_EQ(failure(e), "parse error 3 at 'nope'");
    }
    EXPECT_EQ(parser.parseState(), state);
    EXPECT_EQ(state->templateClosing, 0);
}
