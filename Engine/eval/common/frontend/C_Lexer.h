#ifndef C_LEXER_H
#define C_LEXER_H

#include "frontend/EE_bool.h"

class EE_DebuggerServices;
class EE_DeclarationStore;
class EE_Name;
class EE_Parser;
class EE_TemplateArgument;
struct EE_Token;

// The lexer of the C and C++ grammar. It hands the scanned tokens out one at
// a time and resolves every identifier through the services at the moment it
// becomes current, so that the grammar sees type names (kind 76) apart from
// other names (kind 77). A qualified name (A::B::c) and a template-id
// (f<int>) become one name token. Every token handed out is kept in a slot,
// so that the grammar can back up and step forward again without lexing a
// token twice.
class C_Lexer {
public:
    // Where the lexer reads the scanned tokens: the start of the array and the
    // input token now being read.
    struct InputCursor {
        EE_Token* start;
        EE_Token* input;
    };

    C_Lexer(EE_Token* tokens, EE_DebuggerServices* services, EE_Parser* parser, unsigned count);

    // Lexes the first input token into the first slot.
    EE_Token* firstToken();
    // Moves to the next slot, lexing it when it is new.
    void advance();
    // Fills the current slot from the input token.
    void lexToken();

    // Resolves the identifier at the input cursor in `store` (null: the current
    // scope), with its template arguments and qualifiers. Leaves the cursor one
    // token past the name.
    EE_Name* expectId(EE_DeclarationStore* store);
    // The instance of the template `name` for the argument list that follows.
    EE_Name* handleTemplateId(EE_Name* name, EE_DeclarationStore* store);
    // The trial parse of a template argument list; null when no list could be
    // read.
    EE_TemplateArgument* listOfTemplateArguments();

    // Asks that the next identifier lexed be resolved as the name of a type
    // (after "class", "struct" or "union"); the mark holds for one token.
    void lookUpNextNameAsType() { classNameFollows = 1; }
    void clearNameAsType() { classNameFollows = 0; }

    EE_Token* currentSlot() const { return current; }
    EE_Token* lastLexedSlot() const { return lastLexed; }
    void setCurrentSlot(EE_Token* slot) { current = slot; }
    EE_Parser& parser() const { return *driver; }
    EE_DebuggerServices& services() const { return *dbgServices; }

private:
    // The input token after the cursor, the cursor moved onto it; stepping past
    // the end token is an internal failure.
    EE_Token* nextInput();
    // A copy of the token's spelling in the arena (null when it has none).
    const char* spellingCopy(const EE_Token& token);
    // The type of that spelling found in the current scope or around it, or
    // null.
    EE_Name* lookUpTypeName(const char* text);

    EE_DebuggerServices* dbgServices;
    EE_Parser* driver;
    InputCursor* cursor;
    EE_Token* lexed;    // count + 1 slots
    EE_Token* slotsEnd; // one past the last slot
    EE_Token* inputEnd; // one past the last input token
    EE_Token* current;
    EE_Token* lastLexed;
    EE_bool classNameFollows;
};

#endif
