#ifndef PARSER_LL_BACKUPINFO_H
#define PARSER_LL_BACKUPINFO_H

struct EE_Token;

// A backtracking point of a generated grammar: the lexer's current token slot
// when the record was made. Taken from the services' storage arena and never
// freed on its own.
template <class Lexer>
class Parser_LL_BackupInfo {
public:
    explicit Parser_LL_BackupInfo(Lexer& lexer) : position(lexer.currentSlot()), lexer(lexer) {}

    Parser_LL_BackupInfo& lexPosition() { return *this; }

    EE_Token* position;
    Lexer& lexer;
};

#endif
