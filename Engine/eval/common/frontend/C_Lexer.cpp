#include "frontend/C_Lexer.h"

#include <cstring>

#include "frontend/C_Parser.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_String.h"
#include "frontend/EE_Token.h"
#include "frontend/TemporaryTemplateArgumentParser.h"

C_Lexer::C_Lexer(EE_Token* tokens, EE_DebuggerServices* services, EE_Parser* parser, unsigned count)
    : dbgServices(services),
      driver(parser),
      cursor(nullptr),
      lexed(nullptr),
      slotsEnd(nullptr),
      inputEnd(tokens + count),
      current(nullptr),
      lastLexed(nullptr),
      classNameFollows(0)
{
    EE_StorageArena& arena = services->storageArena();
    cursor = new (arena) InputCursor{tokens, tokens};
    lexed = new (arena) EE_Token[count + 1];
    for (unsigned i = 0; i <= count; ++i)
        lexed[i].preset();
    slotsEnd = lexed + count + 1;
    current = lexed;
    lastLexed = lexed;
}

EE_Token* C_Lexer::firstToken()
{
    if (cursor->input >= inputEnd)
        throw EE_Exception(EE_Exception::InternalFailure);
    lexToken();
    return current;
}

EE_Token* C_Lexer::nextInput()
{
    if (cursor->input + 1 >= inputEnd)
        throw EE_Exception(EE_Exception::InternalFailure);
    return ++cursor->input;
}

void C_Lexer::advance()
{
    EE_Token* next = current + 1;
    if (next >= slotsEnd)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (next <= lastLexed) {
        // Lexed before the grammar backed up: the slot keeps what it received.
        current = next;
        return;
    }
    if (current != lastLexed)
        throw EE_Exception(EE_Exception::InternalFailure);
    current = next;
    lastLexed = next;
    nextInput();
    lexToken();
    if (current->kind == EE_Token::Greater && driver->parseState()->templateClosing)
        current->kind = EE_Token::TemplateClose;
}

const char* C_Lexer::spellingCopy(const EE_Token& token)
{
    if (token.spelling == nullptr)
        return nullptr;
    char* copy = static_cast<char*>(dbgServices->storageArena().allocate(token.length + 1));
    std::memcpy(copy, token.spelling, token.length);
    copy[token.length] = '\0';
    return copy;
}

EE_Name* C_Lexer::lookUpTypeName(const char* text)
{
    // Outwards up to the global store, which has none around it.
    for (EE_DeclarationStore* store = dbgServices->currentStore(); store != nullptr;
         store = store->isGlobal ? nullptr : store->enclosingDeclarationStore())
        if (EE_Name* name = store->qualifiedScopeLookup(text, 1))
            return name;
    return nullptr;
}

void C_Lexer::lexToken()
{
    EE_Token* slot = current;
    *slot = *cursor->input;
    bool asType = classNameFollows != 0;
    classNameFollows = 0;

    EE_DeclarationStore* store = nullptr;
    if (slot->kind == EE_Token::ColonColon) {
        EE_Token* id = nextInput();
        *slot = *id;
        if (id->kind != EE_Token::Identifier)
            throw EE_ParseException(EE_ParseException::NoSuchSymbol, id->spelling);
        store = dbgServices->globalStore();
        asType = false;
    } else if (slot->kind != EE_Token::Identifier) {
        return;
    }

    // After "class", "struct" or "union" an unqualified identifier names a
    // class: look for a type of that name before anything else of that name.
    if (asType && cursor->input[1].kind != EE_Token::ColonColon) {
        if (EE_Name* type = lookUpTypeName(spellingCopy(*slot))) {
            slot->kind = EE_Token::TypeName;
            slot->value = type;
            lastLexed = slot;
            return;
        }
    }

    EE_Name* name = expectId(store);
    --cursor->input;
    slot->kind = name->declaration != nullptr && name->declaration->isType() ? EE_Token::TypeName : EE_Token::OtherName;
    slot->value = name;
    current = slot;
    lastLexed = slot;
}

EE_Name* C_Lexer::expectId(EE_DeclarationStore* store)
{
    EE_Token* token = cursor->input;
    // The text stays readable in the arena after an exception leaves the lexer.
    const char* text = spellingCopy(*token);
    if (token->kind != EE_Token::Identifier)
        throw EE_ParseException(EE_ParseException::NoSuchSymbol, text);

    EE_Token* after = nextInput();
    bool scoped = after->kind == EE_Token::ColonColon;
    EE_String spelled(text, &dbgServices->storageArena());
    EE_Name* name = dbgServices->lookup(spelled, store, scoped ? 1 : 0);
    if (name == nullptr)
        throw EE_ParseException(EE_ParseException::NoSuchSymbol, text);

    if (name->declaration != nullptr && name->declaration->isTemplate()) {
        if (after->kind != EE_Token::Less)
            throw EE_ParseException(EE_ParseException::NoSuchSymbol, text);
        name = handleTemplateId(name, store);
        // The trial parse must have stopped on the ">" that closes the list.
        if (name == nullptr || cursor->input->kind != EE_Token::Greater)
            throw EE_ParseException(EE_ParseException::NoSuchSymbol, text);
        after = nextInput();
        scoped = after->kind == EE_Token::ColonColon;
    }

    if (!scoped)
        return name;

    EE_DeclarationStore* innerStore = name->declaration != nullptr ? name->declaration->declarationStore() : nullptr;
    if (innerStore == nullptr)
        throw EE_ParseException(EE_ParseException::NoSuchSymbol, text);
    nextInput();
    const char* innerText = spellingCopy(*cursor->input);
    EE_Name* inner = expectId(innerStore);
    EE_BaseMemberName* member = inner->asBaseMemberName();
    if (member != nullptr && (member->declaration == nullptr || !member->declaration->isStaticMember())) {
        int ambiguous = 0;
        if (!dbgServices->prependBaseLookupChain(*member, *innerStore, ambiguous) || ambiguous)
            throw EE_ParseException(EE_ParseException::NoSuchSymbol, innerText);
    }
    inner->prependChainOnChain(*name);
    return inner;
}

EE_Name* C_Lexer::handleTemplateId(EE_Name* name, EE_DeclarationStore*)
{
    EE_TemplateArgument* arguments = listOfTemplateArguments();
    return dbgServices->resolveTemplate(*name, arguments);
}

namespace {
// Gives back the slots that a trial parse of template arguments filled: the
// template-id becomes one token in the slot where its name began, and the
// next token is lexed into the slot after it.
struct TrialSlots {
    EE_Token* home;
    EE_Token*& current;
    EE_Token*& lastLexed;
    ~TrialSlots()
    {
        for (EE_Token* slot = home + 1; slot <= lastLexed; ++slot)
            slot->preset();
        current = home;
        lastLexed = home;
    }
};
} // namespace

EE_TemplateArgument* C_Lexer::listOfTemplateArguments()
{
    TrialSlots slots{current, current, lastLexed};
    TemporaryTemplateArgumentParser trial(*driver, *this);
    trial.setTemplateArguments(nullptr);
    advance();
    // Every ">" lexed from now on at this level closes the list.
    trial.installed()->templateClosing = 1;
    bool accepted = C_Parser_LL_parse_TemplateArguments(trial);
    // A list that the trial parse did not accept is no list.
    return accepted ? trial.templateArgumentAnswer() : nullptr;
}
