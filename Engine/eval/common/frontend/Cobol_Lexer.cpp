#include "frontend/Cobol_Lexer.h"

#include <string>

#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_MemberAccessList.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_String.h"

namespace {

constexpr unsigned OfKind = 107;
constexpr unsigned InKind = 104;

// The upper-case form of a data name's spelling: full-width a-z (UTF-8
// EF BD 81..9A) become full-width A-Z (EF BC A1..BA), a-z become A-Z.
EE_String upperName(const char* spelling, unsigned length, EE_StorageArena& arena, bool fullWidth)
{
    const Cobol_Lexer::UCharTable& tables = Cobol_Lexer::caseTables();
    std::string text(spelling, length);
    for (unsigned i = 0; i < length; ++i) {
        unsigned char byte = static_cast<unsigned char>(spelling[i]);
        if (fullWidth && i >= 2 && static_cast<unsigned char>(spelling[i - 2]) == 0xEF &&
            static_cast<unsigned char>(spelling[i - 1]) == 0xBD) {
            unsigned char mapped = tables.dbcsUpper[byte];
            if (mapped != byte) {
                text[i - 1] = static_cast<char>(0xBC);
                text[i] = static_cast<char>(mapped);
                continue;
            }
        }
        text[i] = static_cast<char>(tables.upper[byte]);
    }
    EE_String out(text.data(), text.size(), &arena);
    return out;
}

} // namespace

Cobol_Lexer::UCharTable::UCharTable()
{
    for (unsigned c = 0; c < 256; ++c) {
        upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        dbcsUpper[c] = static_cast<unsigned char>(c >= 0x81 && c <= 0x9A ? c + 0x20 : c);
    }
}

const Cobol_Lexer::UCharTable& Cobol_Lexer::caseTables()
{
    // Made once, under the runtime's guard for statics, and never changed.
    static const UCharTable tables;
    return tables;
}

Cobol_Lexer::Cobol_Lexer(EE_Token* tokens, EE_DebuggerServices& services, EE_Parser& parser, unsigned int count)
    : dbgServices(&services),
      driver(&parser),
      cursor(nullptr),
      lexed(nullptr),
      slots(count + 1),
      count(count),
      current(nullptr),
      last(nullptr)
{
    EE_StorageArena& arena = services.storageArena();
    cursor = new (arena) Cursor{tokens, tokens};
    lexed = new (arena) EE_Token[slots];
    for (unsigned i = 0; i < slots; ++i)
        lexed[i].preset();
    current = lexed;
    last = lexed;
}

EE_Token* Cobol_Lexer::firstToken()
{
    current = lexed;
    last = lexed;
    cursor->current = cursor->first;
    lexToken();
    return current;
}

void Cobol_Lexer::advance()
{
    if (current + 1 >= lexed + slots)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (current + 1 <= last) {
        ++current;
        return;
    }
    if (current != last)
        throw EE_Exception(EE_Exception::InternalFailure);
    ++current;
    last = current;
    // Past the end token the input stays on it: the grammar sees the end again
    // and nothing is read beyond the scanned tokens.
    if (cursor->current->kind != EE_Token::EndOfText && cursor->current + 1 < cursor->first + count)
        ++cursor->current;
    lexToken();
}

void Cobol_Lexer::lexToken()
{
    *current = *cursor->current;
    if (current->kind == EE_Token::Identifier) {
        EE_Name* name = expectId(nullptr);
        --cursor->current;
        current->kind = EE_Token::OtherName;
        current->value = name;
    }
    last = current;
}

EE_Name* Cobol_Lexer::expectId(EE_DeclarationStore* scope)
{
    EE_StorageArena& arena = dbgServices->storageArena();
    EE_Token* input = cursor->current;
    // Kept in the arena: it is the position text of a failed lookup.
    EE_String* name = new (arena) EE_String(upperName(input->spelling, input->length, arena, true), &arena);

    EE_Token* end = cursor->first + count;
    ++cursor->current;
    EE_MemberAccessList* qualifiers = new (arena) EE_MemberAccessList(arena);
    while (cursor->current < end && (cursor->current->kind == OfKind || cursor->current->kind == InKind)) {
        ++cursor->current;
        if (cursor->current >= end || cursor->current->kind != EE_Token::Identifier)
            throw EE_ParseException(EE_ParseException::NoSuchSymbol, name->data());
        EE_Token* qualifier = cursor->current;
        qualifiers->append(upperName(qualifier->spelling, qualifier->length, arena, false));
        ++cursor->current;
    }

    EE_Name* found = dbgServices->lookup(*name, *qualifiers, scope);
    if (found == nullptr)
        throw EE_ParseException(EE_ParseException::NoSuchSymbol, name->data());
    return found;
}
