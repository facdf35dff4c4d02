#ifndef COBOL_LEXER_H
#define COBOL_LEXER_H

#include "frontend/EE_Token.h"

class EE_DebuggerServices;
class EE_DeclarationStore;
class EE_Name;
class EE_Parser;

// Sits between the scanned COBOL token array and the COBOL grammar. It hands
// the grammar one token at a time and keeps every token it has handed out, so
// that the grammar can back up and replay. A data name is resolved as it is
// met: the name with its OF and IN qualifiers is looked up through the
// services, and the grammar receives one token of kind 77 whose value is the
// name found. Names are compared in upper case, full-width letters included.
//
// The grammar runs in a companion library that reaches the lexer only
// through the parse universe; `advance` is virtual so that the companion
// calls it through the object and needs no symbol of this library.
class Cobol_Lexer {
public:
    // The input cursor: the first scanned token and the one being read.
    struct Cursor {
        EE_Token* first;
        EE_Token* current;
    };

    // The case tables: `upper` maps a-z to A-Z; `dbcsUpper` maps the last
    // byte of the UTF-8 forms of the full-width letters a-z (0x81-0x9A) to
    // that of A-Z (0xA1-0xBA). Every other byte maps to itself.
    struct UCharTable {
        UCharTable();
        unsigned char upper[256];
        unsigned char dbcsUpper[256];
    };
    static const UCharTable& caseTables();

    // Over `count` scanned tokens (end token included); everything it makes
    // lives in the services' arena.
    Cobol_Lexer(EE_Token* tokens, EE_DebuggerServices& services, EE_Parser& parser, unsigned int count);
    virtual ~Cobol_Lexer() = default;

    // Lexes the first input token into the first slot and returns it.
    EE_Token* firstToken();

    // Moves to the next slot: one lexed before (after a backup) is reused as it
    // is; a new one is lexed from the next input token. Advancing from a slot
    // that is not the last lexed one onto an unlexed one, or beyond the slots,
    // throws EE_Exception code 2.
    virtual void advance();

    // Fills the current slot from the input token at the cursor.
    void lexToken();

    // Resolves the data name at the cursor with its OF and IN qualifiers; the
    // cursor is left one token past the qualified name. A name that does not
    // resolve, or a qualifier that is not a data name, throws
    // EE_ParseException code 3 with the upper-case name as its position.
    EE_Name* expectId(EE_DeclarationStore* scope);

    // What the parse universe uses.
    EE_Token* currentSlot() const { return current; }
    EE_Token* lastLexedSlot() const { return last; }
    void setCurrentSlot(EE_Token* slot) { current = slot; }
    EE_Parser& parser() const { return *driver; }
    EE_DebuggerServices& services() const { return *dbgServices; }

private:
    EE_DebuggerServices* dbgServices;
    EE_Parser* driver;
    Cursor* cursor;
    EE_Token* lexed;
    unsigned slots; // count + 1
    unsigned count; // scanned tokens, end token included
    EE_Token* current;
    EE_Token* last;
};

#endif
