#include <gtest/gtest.h>

#include <string>

#include "TestServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_Token.h"
#include "frontend/Parser_LL_Universe.h"
#include "testhost/TestHost.h"

namespace {

// A lexer over the scanned token array that hands tokens out one slot at a
// time and keeps every slot it filled, as the language lexers do; it counts
// how often it read an input token.
class SlotLexer {
public:
    explicit SlotLexer(EE_Parser& parser) : driver(parser), input(parser.tokens())
    {
        slots = new (parser.services().storageArena()) EE_Token[parser.count() + 1];
        for (unsigned i = 0; i <= parser.count(); ++i)
            slots[i].preset();
        current = last = slots;
        *current = input[0];
        reads = 1;
    }

    EE_Token* currentSlot() { return current; }
    EE_Token* lastLexedSlot() { return last; }
    void setCurrentSlot(EE_Token* slot) { current = slot; }
    EE_Parser& parser() { return driver; }

    void advance()
    {
        if (current->kind == EE_Token::EndOfText)
            return;
        ++current;
        if (current <= last)
            return;
        last = current;
        *current = input[current - slots];
        ++reads;
    }

    unsigned reads;

private:
    EE_Parser& driver;
    EE_Token* input;
    EE_Token* slots;
    EE_Token* current;
    EE_Token* last;
};

using Universe = Parser_LL_Universe<SlotLexer>;

std::string text(const char* position)
{
    return position ? std::string(position) : std::string("(null)");
}

// A small grammar in the generated style: List := Name (',' Name)*, where a
// name may also be written "( Name )"; the first alternative of an item is
// tried with a backup record, as the generated rules do.
bool nonterminalSymbol_Item(Universe& u, unsigned& kind)
{
    if (kind == EE_Token::Identifier) {
        u.getToken(kind);
        return true;
    }
    if (kind == EE_Token::LeftParen) {
        Parser_LL_BackupInfo<SlotLexer>* backup = u.backupInformation();
        u.getToken(kind);
        if (kind == EE_Token::Identifier) {
            u.getToken(kind);
            if (kind == EE_Token::RightParen) {
                u.getToken(kind);
                return true;
            }
        }
        kind = u.backup(*backup);
    }
    u.registerSyntaxError();
    return false;
}

bool nonterminalSymbol_List(Universe& u, unsigned& kind)
{
    if (!nonterminalSymbol_Item(u, kind))
        return false;
    for (;;) {
        if (kind == EE_Token::EndOfText)
            return true;
        if (kind == EE_Token::Comma) {
            u.getToken(kind);
            if (!nonterminalSymbol_Item(u, kind))
                return false;
            continue;
        }
        if (u.appropriateEndToken(kind)) {
            kind = EE_Token::EndOfText;
            return true;
        }
        u.registerSyntaxError();
        return false;
    }
}

// Parses with the small grammar and hands the outcome to the driver.
EE_Expression* parseList(TestServices& services, EE_Parser& parser, const char* source)
{
    parser.preprocess(source);
    SlotLexer lexer(parser);
    Universe universe(&services, &lexer);
    unsigned kind = universe.currentKind();
    bool accepted = nonterminalSymbol_List(universe, kind) && kind == EE_Token::EndOfText;
    if (accepted)
        universe.setExpression(services.createImaginaryExpression());
    else
        universe.parseFailure();
    return parser.conclude({accepted, universe.expression(), universe.getSyntaxError(), universe.nestsTooDeeply()});
}

} // namespace

TEST(ParserDriver, OneIdentifierGivesTwoTokens)
{
    TestServices services;
    EE_Parser parser(services, 0);
    EXPECT_EQ(parser.tokens(), nullptr);
    EXPECT_EQ(parser.count(), 0u);
    parser.preprocess("alpha");
    ASSERT_EQ(parser.count(), 2u);
    EXPECT_EQ(parser.tokens()[0].kind, unsigned(EE_Token::Identifier));
    EXPECT_EQ(parser.tokens()[1].kind, unsigned(EE_Token::EndOfText));
    // The element after the scanned ones keeps its preset.
    EXPECT_EQ(parser.tokens()[2].kind, unsigned(EE_Token::NoToken));
    EXPECT_EQ(parser.parseState()->trace, 0);
    EXPECT_EQ(parser.parseState()->templateClosing, 0);
}

TEST(ParserDriver, ScanFailuresPassThroughParseTheExpression)
{
    struct Case {
        const char* text;
        unsigned code;
        std::string position;
    } cases[] = {{"", 5, ""}, {"   ", 5, ""}, {"a\nb", 5, "\nb"}, {"'ab'", 4, "'ab'"}};
    for (const Case& c : cases) {
        TestServices services;
        EE_Parser parser(services, 0);
        try {
            parser.parseTheExpression(c.text, 0);
            ADD_FAILURE() << "no failure for " << c.text;
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(e.code, c.code) << c.text;
            EXPECT_EQ(text(e.position), c.position) << c.text;
        }
    }
}

TEST(ParserDriver, ConcludeTurnsOutcomesIntoARootOrAFailure)
{
    TestHost host(true);
    ASSERT_TRUE(host.install());
    TestServices services;
    EE_Parser parser(services, 1);
    EE_Expression* root = services.createImaginaryExpression();
    const char* where = "here";

    EXPECT_EQ(parser.conclude({true, root, nullptr, false}), root);

    try {
        parser.conclude({false, root, where, false});
        ADD_FAILURE() << "a failed parse with an expression was accepted";
    } catch (const EE_Exception& e) {
        EXPECT_EQ(e.code, 2u);
        EXPECT_EQ(e.node, nullptr);
    }

    // A parse refused for nesting too deeply says so, whatever else it left.
    for (EE_Expression* left : {root, static_cast<EE_Expression*>(nullptr)}) {
        try {
            parser.conclude({false, left, where, true});
            ADD_FAILURE() << "a parse nesting too deeply was accepted";
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(e.code, EE_ParseException::TooDeep);
        }
    }

    struct Case {
        bool accepted;
        const char* position;
        const char* trace;
    } cases[] = {{true, where, "throw exception: e == 0."},
                 {false, where, "throw exception: no success."},
                 {false, nullptr, "throw exception: no success."}};
    for (const Case& c : cases) {
        host.clearLines();
        try {
            parser.conclude({c.accepted, nullptr, c.position, false});
            ADD_FAILURE() << "no failure";
        } catch (const EE_ParseException& e) {
            EXPECT_EQ(e.code, 5u);
            EXPECT_EQ(e.position, c.position);
        }
        std::vector<std::string> lines = host.texts();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(c.trace), std::string::npos) << lines[0];
    }
}

TEST(ParseUniverse, StepsRegistersErrorsAndBacksUp)
{
    TestServices services;
    EE_Parser parser(services, 1);
    parser.preprocess("a , ( b ) x");
    SlotLexer lexer(parser);
    Universe u(&services, &lexer);

    EXPECT_EQ(u.lexer(), &lexer);
    EXPECT_EQ(u.dbgServices(), &services);
    EXPECT_EQ(&u.arena(), &services.storageArena());
    EXPECT_EQ(u.getSyntaxError(), nullptr);
    EXPECT_EQ(u.expression(), nullptr);
    EXPECT_EQ(u.acceptInput(), 1);
    EXPECT_EQ(u.trace(), 1);
    parser.parseState()->trace = 0;
    EXPECT_EQ(u.trace(), 0);

    EXPECT_EQ(u.currentKind(), unsigned(EE_Token::Identifier));
    Parser_LL_BackupInfo<SlotLexer>* start = u.backupInformation();
    EXPECT_EQ(&start->lexPosition(), start);
    unsigned kind = 0;
    u.getToken(kind);
    EXPECT_EQ(kind, unsigned(EE_Token::Comma));
    u.getToken(kind);
    u.getToken(kind);
    EXPECT_EQ(kind, unsigned(EE_Token::Identifier));
    u.registerSyntaxError();
    EXPECT_EQ(text(u.getSyntaxError()), "b ) x");
    EXPECT_EQ(lexer.reads, 4u);

    // Back to the start: the kind comes back, and going forward again reuses
    // the slots already filled.
    EXPECT_EQ(u.backup(*start), unsigned(EE_Token::Identifier));
    EXPECT_EQ(u.lex_current()->spelling[0], 'a');
    u.getToken(kind);
    u.getToken(kind);
    u.getToken(kind);
    EXPECT_EQ(lexer.reads, 4u);
    u.getToken(kind);
    EXPECT_EQ(kind, unsigned(EE_Token::RightParen));
    EXPECT_EQ(lexer.reads, 5u);
    u.getToken(kind);
    u.getToken(kind);
    EXPECT_EQ(kind, unsigned(EE_Token::EndOfText));
    u.registerSyntaxError();
    EXPECT_EQ(u.getSyntaxError(), nullptr);
    u.deleteBackupInfo(start);

    EXPECT_TRUE(u.appropriateEndToken(EE_Token::EndOfText));
    EXPECT_FALSE(u.appropriateEndToken(EE_Token::RightParen));
    EXPECT_FALSE(u.appropriateEndToken(EE_Token::Identifier));

    EE_Expression* e = services.createImaginaryExpression();
    u.setExpression(e);
    EXPECT_EQ(u.expression(), e);
    u.parseFailure();
    EXPECT_EQ(u.expression(), nullptr);
}

TEST(ParseUniverse, BackupBeyondTheLastLexedSlotIsRefused)
{
    TestServices services;
    EE_Parser parser(services, 0);
    parser.preprocess("a + b");
    SlotLexer lexer(parser);
    Universe u(&services, &lexer);

    Parser_LL_BackupInfo<SlotLexer> beyond(lexer);
    beyond.position = lexer.lastLexedSlot() + 1;
    try {
        u.backup(beyond);
        ADD_FAILURE() << "backup beyond the last lexed slot was accepted";
    } catch (const EE_Exception& e) {
        EXPECT_EQ(e.code, 2u);
        EXPECT_EQ(e.node, nullptr);
    }
    EXPECT_EQ(lexer.currentSlot(), lexer.lastLexedSlot());

    // A record made by another lexer is refused as well.
    SlotLexer other(parser);
    Parser_LL_BackupInfo<SlotLexer> foreign(other);
    EXPECT_THROW(u.backup(foreign), EE_Exception);

    // The last lexed slot itself is a valid target.
    unsigned kind = 0;
    u.getToken(kind);
    Parser_LL_BackupInfo<SlotLexer>* here = u.backupInformation();
    EXPECT_EQ(u.backup(*here), unsigned(EE_Token::Plus));
}

TEST(ParseUniverse, SmallGrammarAcceptsOrReportsTheLastRegisteredPosition)
{
    struct Case {
        const char* text;
        bool accepted;
        std::string position;
    } cases[] = {
        {"a", true, ""},
        {"a, (b), c", true, ""},
        {"a b", false, "b"},        // the list meets a token it cannot take
        {"a,", false, "(null)"},    // an error at the end token has no position
        {"a, (b c", false, "(b c"}, // the backed-up alternative registers last
    };
    for (const Case& c : cases) {
        TestServices services;
        EE_Parser parser(services, 0);
        try {
            EE_Expression* root = parseList(services, parser, c.text);
            EXPECT_TRUE(c.accepted) << c.text;
            EXPECT_NE(root, nullptr);
        } catch (const EE_ParseException& e) {
            EXPECT_FALSE(c.accepted) << c.text;
            EXPECT_EQ(e.code, 5u) << c.text;
            EXPECT_EQ(text(e.position), c.position) << c.text;
        }
    }
}
