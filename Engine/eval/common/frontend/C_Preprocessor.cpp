#include "frontend/C_Preprocessor.h"

#include <array>
#include <cstring>
#include <string>

#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_StorageArena.h"

#include <plomkit/ThreadOwned.h>

namespace {

constexpr std::array<std::uint32_t, 256> makeCharClasses()
{
    std::array<std::uint32_t, 256> t{};
    t['\t'] = C_Preprocessor::Blank;
    t[' '] = C_Preprocessor::Blank;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] |= C_Preprocessor::Letter;
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] |= C_Preprocessor::Letter;
    for (int c = 0x80; c <= 0xFD; ++c)
        t[c] |= C_Preprocessor::Letter;
    for (int c = '0'; c <= '9'; ++c)
        t[c] |= C_Preprocessor::HexDigit | C_Preprocessor::Digit;
    for (int c = '0'; c <= '7'; ++c)
        t[c] |= C_Preprocessor::OctalDigit;
    for (int c = 'A'; c <= 'F'; ++c)
        t[c] |= C_Preprocessor::HexDigit;
    for (int c = 'a'; c <= 'f'; ++c)
        t[c] |= C_Preprocessor::HexDigit;
    for (int c : {'#', '$', '@', '_'})
        t[c] |= C_Preprocessor::ExtraIdent;
    return t;
}

// Filled once, at build time: the table is shared by every scanner on every
// thread and never changes.
constexpr std::array<std::uint32_t, 256> charClasses = makeCharClasses();

bool isClass(char c, std::uint32_t bits)
{
    return (charClasses[static_cast<unsigned char>(c)] & bits) != 0;
}

bool isDigit(char c)
{
    return isClass(c, C_Preprocessor::Digit);
}
bool isHex(char c)
{
    return isClass(c, C_Preprocessor::HexDigit);
}
bool isOctal(char c)
{
    return isClass(c, C_Preprocessor::OctalDigit);
}
bool isBlank(char c)
{
    return isClass(c, C_Preprocessor::Blank);
}

unsigned hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}

// Sorted in byte order of the spelling (checked by the tests).
const C_Preprocessor::Keyword keywords[] = {
    {"_Bool", 5, 1, 2},
    {"_Builtin", 8, 0, 134},
    {"_Cdecl", 6, 0, 134},
    {"_Complex", 8, 1, 6},
    {"_Export", 7, 0, 134},
    {"_Far16", 6, 0, 134},
    {"_Far32", 6, 0, 134},
    {"_Fastcall", 9, 0, 134},
    {"_Imaginary", 10, 1, 14},
    {"_Import", 7, 0, 134},
    {"_Optlink", 8, 0, 134},
    {"_Packed", 7, 0, 134},
    {"_Pascal", 7, 0, 134},
    {"_Seg16", 6, 0, 134},
    {"_System", 7, 0, 134},
    {"_Thread", 7, 0, 134},
    {"__FUNCTION__", 12, 0, 134},
    {"__I", 3, 1, 15},
    {"__LINE__", 8, 0, 134},
    {"__align", 7, 0, 134},
    {"__alignof", 9, 0, 134},
    {"__asm", 5, 0, 134},
    {"__builtin", 9, 0, 134},
    {"__callback", 10, 0, 134},
    {"__cdecl", 7, 0, 134},
    {"__declspec", 10, 0, 134},
    {"__export", 8, 0, 134},
    {"__far", 5, 0, 134},
    {"__far16", 7, 0, 134},
    {"__far32", 7, 0, 134},
    {"__fastcall", 10, 0, 134},
    {"__fence", 7, 0, 134},
    {"__import", 8, 0, 134},
    {"__int128", 8, 0, 134},
    {"__int16", 7, 0, 134},
    {"__int32", 7, 0, 134},
    {"__int64", 7, 0, 134},
    {"__int8", 6, 0, 134},
    {"__java", 6, 0, 134},
    {"__offsetof", 10, 0, 134},
    {"__optlink", 9, 0, 134},
    {"__pascal", 8, 0, 134},
    {"__seg16", 7, 0, 134},
    {"__stdcall", 9, 0, 134},
    {"__system", 8, 0, 134},
    {"__thread", 8, 0, 134},
    {"__vastart", 9, 0, 134},
    {"__wsizeof", 9, 0, 134},
    {"_asm", 4, 0, 134},
    {"_cdecl", 6, 0, 134},
    {"_declspec", 9, 0, 134},
    {"_fastcall", 9, 0, 134},
    {"_int128", 7, 0, 134},
    {"_int16", 6, 0, 134},
    {"_int32", 6, 0, 134},
    {"_int64", 6, 0, 134},
    {"_int8", 5, 0, 134},
    {"_pascal", 7, 0, 134},
    {"_stdcall", 8, 0, 134},
    {"asm", 3, 0, 134},
    {"auto", 4, 0, 134},
    {"bool", 4, 1, 1},
    {"break", 5, 0, 134},
    {"case", 4, 0, 134},
    {"catch", 5, 0, 134},
    {"char", 4, 1, 3},
    {"cimag", 5, 1, 4},
    {"class", 5, 1, 5},
    {"const", 5, 1, 7},
    {"const_cast", 10, 1, 8},
    {"continue", 8, 0, 134},
    {"creal", 5, 1, 9},
    {"default", 7, 0, 134},
    {"delete", 6, 0, 134},
    {"do", 2, 0, 134},
    {"double", 6, 1, 10},
    {"dynamic_cast", 12, 0, 134},
    {"else", 4, 0, 134},
    {"enum", 4, 1, 11},
    {"explicit", 8, 0, 134},
    {"export", 6, 0, 134},
    {"extern", 6, 0, 134},
    {"false", 5, 1, 12},
    {"float", 5, 1, 13},
    {"for", 3, 0, 134},
    {"friend", 6, 0, 134},
    {"goto", 4, 0, 134},
    {"if", 2, 0, 134},
    {"inline", 6, 0, 134},
    {"int", 3, 1, 16},
    {"long", 4, 1, 17},
    {"mutable", 7, 0, 134},
    {"namespace", 9, 0, 134},
    {"new", 3, 0, 134},
    {"operator", 8, 0, 134},
    {"private", 7, 0, 134},
    {"protected", 9, 0, 134},
    {"public", 6, 0, 134},
    {"register", 8, 0, 134},
    {"reinterpret_cast", 16, 1, 18},
    {"restrict", 8, 0, 134},
    {"return", 6, 0, 134},
    {"short", 5, 1, 19},
    {"signed", 6, 1, 20},
    {"sizeof", 6, 1, 21},
    {"static", 6, 0, 134},
    {"static_cast", 11, 1, 22},
    {"struct", 6, 1, 23},
    {"switch", 6, 0, 134},
    {"template", 8, 0, 134},
    {"this", 4, 1, 24},
    {"throw", 5, 0, 134},
    {"true", 4, 1, 25},
    {"try", 3, 0, 134},
    {"typedef", 7, 0, 134},
    {"typeid", 6, 1, 26},
    {"typename", 8, 0, 134},
    {"union", 5, 1, 27},
    {"unsigned", 8, 1, 28},
    {"using", 5, 0, 134},
    {"virtual", 7, 0, 134},
    {"void", 4, 1, 29},
    {"volatile", 8, 0, 134},
    {"wchar_t", 7, 1, 30},
    {"while", 5, 0, 134},
    {"wsizeof", 7, 0, 134},
};

// Words of the table that are plain identifiers outside C++ (besides the
// C++-only keyword kinds), sorted in byte order.
const char* const cppOnlyWords[] = {
    "_Builtin",  "_Cdecl",     "_Export",   "_Far16",    "_Far32",   "_Fastcall",    "_Import",    "_Optlink",
    "_Packed",   "_Pascal",    "_Seg16",    "_System",   "_Thread",  "__asm",        "__builtin",  "__callback",
    "__cdecl",   "__declspec", "__export",  "__far",     "__far16",  "__far32",      "__fastcall", "__fence",
    "__import",  "__int128",   "__int16",   "__int32",   "__int64",  "__int8",       "__java",     "__offsetof",
    "__optlink", "__pascal",   "__seg16",   "__stdcall", "__system", "__vastart",    "__wsizeof",  "_asm",
    "_cdecl",    "_declspec",  "_fastcall", "_int128",   "_int16",   "_int32",       "_int64",     "_int8",
    "_pascal",   "_stdcall",   "catch",     "class",     "delete",   "dynamic_cast", "explicit",   "export",
    "friend",    "mutable",    "namespace", "operator",  "private",  "protected",    "public",     "restrict",
    "template",  "throw",      "true",      "typename",  "using",    "virtual",      "wsizeof",
};

// Byte-order comparison of a counted spelling with a row's spelling; a prefix
// orders first.
int compareSpelling(const char* spelling, unsigned length, const char* row, unsigned rowLength)
{
    unsigned common = length < rowLength ? length : rowLength;
    int c = std::memcmp(spelling, row, common);
    if (c != 0)
        return c;
    if (length == rowLength)
        return 0;
    return length < rowLength ? -1 : 1;
}

// The keyword kinds that are C++ only: bool, cimag, creal, false,
// _Imaginary, reinterpret_cast, static_cast, this, true, typeid, wchar_t.
constexpr std::uint32_t cppOnlyKinds = 0x47445212u;

} // namespace

std::uint32_t C_Preprocessor::charClass(unsigned char c)
{
    return charClasses[c];
}

const C_Preprocessor::Keyword* C_Preprocessor::keywordTable(unsigned& rows)
{
    rows = sizeof keywords / sizeof keywords[0];
    return keywords;
}

bool C_Preprocessor::keywordNotInLanguage(unsigned kind, const char* spelling, unsigned length)
{
    if (EE_currentLanguage() == EE_LanguageCPP)
        return false;
    if (kind <= 30 && ((cppOnlyKinds >> kind) & 1u) != 0)
        return true;
    unsigned low = 0;
    unsigned high = sizeof cppOnlyWords / sizeof cppOnlyWords[0];
    while (low < high) {
        unsigned mid = low + (high - low) / 2;
        const char* word = cppOnlyWords[mid];
        int c = compareSpelling(spelling, length, word, static_cast<unsigned>(std::strlen(word)));
        if (c == 0)
            return true;
        if (c < 0)
            high = mid;
        else
            low = mid + 1;
    }
    return false;
}

bool C_Preprocessor::findCKeyword(const char* spelling, unsigned length, unsigned& kind)
{
    unsigned low = 0;
    unsigned high = sizeof keywords / sizeof keywords[0];
    while (low < high) {
        unsigned mid = low + (high - low) / 2;
        const Keyword& row = keywords[mid];
        int c = compareSpelling(spelling, length, row.spelling, row.length);
        if (c == 0) {
            if (keywordNotInLanguage(row.kind, spelling, length))
                return false;
            kind = row.kind;
            return true;
        }
        if (c < 0)
            high = mid;
        else
            low = mid + 1;
    }
    return false;
}

C_Preprocessor::C_Preprocessor(const char* text, EE_DebuggerServices& services)
    : services(services), text(text ? text : ""), bound(static_cast<unsigned>(std::strlen(this->text)) + 1)
{}

const char* C_Preprocessor::rewriteUniversalCharacterNames(const char* from)
{
    std::size_t length = std::strlen(from);
    std::size_t size = (length + 1 + 7) & ~static_cast<std::size_t>(7);
    char* out = static_cast<char*>(services.storageArena().allocate(size));
    std::size_t i = 0;
    std::size_t o = 0;
    while (i < length) {
        if (from[i] == '\\') {
            char next = from[i + 1];
            if (next == '\\') {
                // An escaped backslash inside a literal: the character after it does
                // not start a universal character name.
                out[o++] = from[i++];
                out[o++] = from[i++];
                continue;
            }
            if (next == 'u' || next == 'U') {
                std::size_t digits = next == 'u' ? 4 : 8;
                if (length - (i + 2) < digits)
                    throw EE_Exception(EE_Exception::InternalFailure);
                bool complete = true;
                unsigned code = 0;
                for (std::size_t k = 0; k < digits; ++k) {
                    char d = from[i + 2 + k];
                    if (!isHex(d)) {
                        complete = false;
                        break;
                    }
                    code = code << 4 | hexValue(d);
                }
                if (complete) {
                    char encoded[16] = {};
                    int n = services.utf8encode(code, encoded);
                    // The replacement never makes the text longer, so the token bound
                    // taken from the original length still holds.
                    if (n <= 0 || static_cast<std::size_t>(n) > digits + 2)
                        throw EE_Exception(EE_Exception::InternalFailure);
                    if (std::memchr(encoded, 0, static_cast<std::size_t>(n)) != nullptr) {
                        // A NUL would silently cut the text short: refuse the name.
                        std::memcpy(out + o, from + i, length - i + 1);
                        throw EE_ParseException(EE_ParseException::SyntaxError, out + o);
                    }
                    std::memcpy(out + o, encoded, static_cast<std::size_t>(n));
                    o += static_cast<std::size_t>(n);
                    i += 2 + digits;
                    continue;
                }
            }
        }
        out[o++] = from[i++];
    }
    out[o] = '\0';
    return out;
}

void C_Preprocessor::preprocess(EE_Token* tokens, unsigned& count)
{
    const char* p = text;
    while (isBlank(*p))
        ++p;
    if (*p == '\0')
        throw EE_ParseException(EE_ParseException::SyntaxError, ""); // nothing to evaluate: incomplete

    p = rewriteUniversalCharacterNames(p);
    unsigned n = 0;
    while (*p != '\0') {
        // Every token consumes at least one character, so the bound is never
        // reached; the check guards the array all the same.
        if (n + 1 >= bound)
            throw EE_Exception(EE_Exception::InternalFailure);
        EE_Token& token = tokens[n++];
        {
            SaveSpelling cursor(token, p);
            get(token, cursor);
            p = cursor.position;
        }
        while (isBlank(*p))
            ++p;
    }
    EE_Token& end = tokens[n++];
    end.kind = EE_Token::EndOfText;
    end.value = nullptr;
    end.spelling = nullptr;
    end.length = 0;
    end.type = nullptr;
    count = n;
}

void C_Preprocessor::get(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    auto op = [&](unsigned kind, unsigned length) {
        token.kind = kind;
        cursor.position = p + length;
    };
    switch (*p) {
    case '!': return p[1] == '=' ? op(EE_Token::NotEqual, 2) : op(EE_Token::Exclaim, 1);
    case '"':
        cursor.position = p + 1;
        scanQuoted(cursor, '"', false);
        token.kind = EE_Token::Literal;
        token.type = services.pointerToCharTypeDescriptor();
        return;
    case '%': return p[1] == '=' ? op(EE_Token::PercentAssign, 2) : op(EE_Token::Percent, 1);
    case '&':
        if (p[1] == '&')
            return op(EE_Token::AndAnd, 2);
        return p[1] == '=' ? op(EE_Token::AndAssign, 2) : op(EE_Token::Ampersand, 1);
    case '\'': {
        cursor.position = p + 1;
        unsigned characters = scanQuoted(cursor, '\'', false);
        if (characters != 1)
            throw EE_ParseException(EE_ParseException::BadLiteral, p);
        token.kind = EE_Token::Literal;
        token.type = services.charTypeDescriptor();
        return;
    }
    case '(': return op(EE_Token::LeftParen, 1);
    case ')': return op(EE_Token::RightParen, 1);
    case '*': return p[1] == '=' ? op(EE_Token::StarAssign, 2) : op(EE_Token::Star, 1);
    case '+':
        if (p[1] == '+')
            return op(EE_Token::PlusPlus, 2);
        return p[1] == '=' ? op(EE_Token::PlusAssign, 2) : op(EE_Token::Plus, 1);
    case ',': return op(EE_Token::Comma, 1);
    case '-':
        if (p[1] == '>')
            return op(EE_Token::Arrow, 2);
        if (p[1] == '-')
            return op(EE_Token::MinusMinus, 2);
        return p[1] == '=' ? op(EE_Token::MinusAssign, 2) : op(EE_Token::Minus, 1);
    case '.':
        if (isDigit(p[1])) {
            cursor.position = p + 1;
            scanFraction(token, cursor);
            endOfNumber(cursor);
            return;
        }
        return op(EE_Token::Dot, 1);
    case '/':
        // In Fortran "/=" is not-equal; a store there is written with "=".
        if (p[1] == '=')
            return services.isFortran() ? op(EE_Token::NotEqual, 2) : op(EE_Token::SlashAssign, 2);
        return op(EE_Token::Slash, 1);
    case ':': return p[1] == ':' ? op(EE_Token::ColonColon, 2) : op(EE_Token::Colon, 1);
    case '<':
        if (p[1] == '<')
            return p[2] == '=' ? op(EE_Token::ShiftLeftAssign, 3) : op(EE_Token::ShiftLeft, 2);
        return p[1] == '=' ? op(EE_Token::LessEqual, 2) : op(EE_Token::Less, 1);
    case '=': return p[1] == '=' ? op(EE_Token::EqualEqual, 2) : op(EE_Token::Assign, 1);
    case '>':
        if (p[1] == '>')
            return p[2] == '=' ? op(EE_Token::ShiftRightAssign, 3) : op(EE_Token::ShiftRight, 2);
        return p[1] == '=' ? op(EE_Token::GreaterEqual, 2) : op(EE_Token::Greater, 1);
    case '?': return op(EE_Token::Question, 1);
    case 'L':
        if (p[1] == '\'') {
            cursor.position = p + 2;
            unsigned characters = scanQuoted(cursor, '\'', true);
            if (characters != 1)
                throw EE_ParseException(EE_ParseException::BadLiteral, p);
            token.kind = EE_Token::Literal;
            token.type = services.wchar_tTypeDescriptor();
            return;
        }
        if (p[1] == '"') {
            cursor.position = p + 2;
            scanQuoted(cursor, '"', true);
            token.kind = EE_Token::Literal;
            token.type = services.pointerToWchartTypeDescriptor();
            return;
        }
        scanIdentifier(token, cursor);
        return;
    case '[': return op(EE_Token::LeftBracket, 1);
    case ']': return op(EE_Token::RightBracket, 1);
    case '^': return p[1] == '=' ? op(EE_Token::CaretAssign, 2) : op(EE_Token::Caret, 1);
    case '|':
        if (p[1] == '|')
            return op(EE_Token::BarBar, 2);
        return p[1] == '=' ? op(EE_Token::BarAssign, 2) : op(EE_Token::Bar, 1);
    case '~': return op(EE_Token::Tilde, 1);
    default: break;
    }
    if (isClass(*p, Letter | ExtraIdent)) {
        scanIdentifier(token, cursor);
        return;
    }
    if (isDigit(*p)) {
        scanNumber(token, cursor);
        endOfNumber(cursor);
        return;
    }
    throw EE_ParseException(EE_ParseException::SyntaxError, p);
}

// A number runs on as a preprocessing number of C does (letters, digits,
// '_' and points): what its scan left of one makes the literal invalid
// (08, 1.5.3, 1lul, 0x1g), refused naming the whole of it rather than read
// as two operands side by side.
void C_Preprocessor::endOfNumber(SaveSpelling& cursor)
{
    const char* p = cursor.position;
    auto continues = [](char c) { return isClass(c, Letter | Digit | ExtraIdent) || c == '.'; };
    if (!continues(*p))
        return;
    while (continues(*p) ||
           ((*p == '+' || *p == '-') && (p[-1] == 'e' || p[-1] == 'E' || p[-1] == 'p' || p[-1] == 'P')))
        ++p;
    cursor.position = p;
    std::string& refused = threadOwned<std::string>([] {});
    refused.assign(cursor.first, static_cast<std::size_t>(p - cursor.first));
    throw EE_ParseException(EE_ParseException::BadLiteral, refused.c_str());
}

void C_Preprocessor::scanIdentifier(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    while (isClass(*p, Letter | Digit | ExtraIdent))
        ++p;
    cursor.position = p;
    unsigned length = static_cast<unsigned>(p - cursor.first);
    unsigned kind = 0;
    if (!findCKeyword(cursor.first, length, kind)) {
        token.kind = EE_Token::Identifier;
        return;
    }
    if (kind == EE_Token::NoToken)
        throw EE_ParseException(EE_ParseException::NoSuchSymbol, cursor.first);
    token.kind = kind;
    if (kind == EE_Token::KwTrue || kind == EE_Token::KwFalse)
        token.type = services.boolTypeDescriptor();
}

unsigned C_Preprocessor::scanQuoted(SaveSpelling& cursor, char quote, bool wide)
{
    unsigned characters = 0;
    for (;;) {
        const char* p = cursor.position;
        if (*p == '\0')
            throw EE_ParseException(EE_ParseException::SyntaxError, p);
        if (*p == quote) {
            cursor.position = p + 1;
            return characters;
        }
        if (*p == '\\') {
            scanEscape(cursor);
        } else if (wide) {
            int n = services.mblen(p);
            if (n < 1)
                n = 1;
            // Never step over the end of the text, whatever the length says.
            while (n-- > 0 && *cursor.position != '\0')
                ++cursor.position;
        } else {
            cursor.position = p + 1;
        }
        ++characters;
    }
}

void C_Preprocessor::scanEscape(SaveSpelling& cursor)
{
    const char* backslash = cursor.position;
    const char* p = backslash + 1;
    switch (*p) {
    case '"':
    case '\'':
    case '?':
    case '\\':
    case 'a':
    case 'b':
    case 'f':
    case 'n':
    case 'r':
    case 't':
    case 'v': cursor.position = p + 1; return;
    case 'x':
        ++p;
        if (!isHex(*p)) {
            cursor.position = p;
            throw EE_ParseException(EE_ParseException::SyntaxError, backslash);
        }
        while (isHex(*p))
            ++p;
        cursor.position = p;
        return;
    case 'u':
    case 'U': {
        std::size_t digits = *p == 'u' ? 4 : 8;
        ++p;
        for (std::size_t k = 0; k < digits; ++k) {
            if (p[k] == '\0') {
                cursor.position = p + k;
                throw EE_Exception(EE_Exception::InternalFailure);
            }
        }
        for (std::size_t k = 0; k < digits; ++k) {
            if (!isHex(p[k])) {
                cursor.position = p + k;
                throw EE_ParseException(EE_ParseException::SyntaxError, backslash);
            }
        }
        cursor.position = p + digits;
        return;
    }
    case '\0':
        // The text ends inside the literal.
        cursor.position = p;
        throw EE_ParseException(EE_ParseException::SyntaxError, p);
    default:
        if (isOctal(*p)) {
            ++p;
            for (int k = 0; k < 2 && isOctal(*p); ++k)
                ++p;
            cursor.position = p;
            return;
        }
        cursor.position = p;
        throw EE_ParseException(EE_ParseException::SyntaxError, backslash);
    }
}

void C_Preprocessor::scanNumber(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    if (*p == '0' && (p[1] == 'x' || p[1] == 'X')) {
        cursor.position = p + 2;
        scanHexadecimal(token, cursor);
        return;
    }
    // Fortran has no octal form: its leading zeros are a decimal number's.
    if (*p == '0' && !services.isFortran()) {
        const char* q = p;
        while (*q == '0')
            ++q;
        const char* r = q;
        while (isDigit(*r))
            ++r;
        if (*r != '.' && *r != 'e' && *r != 'E') {
            // An octal integer: every octal digit after the zeros.
            while (isOctal(*q))
                ++q;
            cursor.position = q;
            integerSuffix(token, cursor);
            return;
        }
        p = r;
    } else {
        while (isDigit(*p))
            ++p;
    }
    cursor.position = p;
    if (*p == '.') {
        cursor.position = p + 1;
        scanFraction(token, cursor);
    } else if (*p == 'e' || *p == 'E') {
        scanExponent(token, cursor);
    } else if (!fortranExponent(token, cursor)) {
        integerSuffix(token, cursor);
    }
}

// Fortran's exponent letters d (double precision) and q (quad precision, a
// long double here): 1.5d0, 1d-3, 2.5q0.
bool C_Preprocessor::fortranExponent(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    if (!services.isFortran() || *p == '\0' || std::strchr("dDqQ", *p) == nullptr)
        return false;
    const char* q = p + 1;
    if (*q == '+' || *q == '-')
        ++q;
    if (!isDigit(*q))
        return false;
    while (isDigit(*q))
        ++q;
    cursor.position = q;
    token.kind = EE_Token::Literal;
    token.type = (*p | 0x20) == 'd' ? services.doubleTypeDescriptor() : services.longDoubleTypeDescriptor();
    return true;
}

void C_Preprocessor::scanFraction(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    while (isDigit(*p))
        ++p;
    cursor.position = p;
    if (*p == 'e' || *p == 'E') {
        scanExponent(token, cursor);
    } else if (fortranExponent(token, cursor)) {
        return;
    } else if (*p == 'd' || *p == 'D') {
        if (!decimalFloatingSuffix(token, cursor)) {
            cursor.position = p + 1;
            token.kind = EE_Token::Literal;
            token.type = services.packedDecimalTypeDescriptor();
        }
    } else {
        floatingSuffix(token, cursor);
    }
}

void C_Preprocessor::scanExponent(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position + 1; // past e, E, p or P
    if (*p == '+' || *p == '-')
        ++p;
    if (!isDigit(*p)) {
        cursor.position = p;
        throw EE_ParseException(EE_ParseException::SyntaxError, p);
    }
    while (isDigit(*p))
        ++p;
    cursor.position = p;
    floatingSuffix(token, cursor);
}

void C_Preprocessor::scanHexadecimal(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    unsigned whole = 0;
    while (isHex(*p)) {
        ++p;
        ++whole;
    }
    bool point = false;
    if (*p == '.') {
        point = true;
        ++p;
        unsigned fraction = 0;
        while (isHex(*p)) {
            ++p;
            ++fraction;
        }
        if (whole == 0 && fraction == 0) {
            cursor.position = p;
            throw EE_ParseException(EE_ParseException::SyntaxError, p);
        }
    } else if (whole == 0) {
        cursor.position = p;
        throw EE_ParseException(EE_ParseException::SyntaxError, p);
    }
    cursor.position = p;
    if (*p == 'p' || *p == 'P') {
        scanExponent(token, cursor);
        return;
    }
    if (point)
        throw EE_ParseException(EE_ParseException::SyntaxError, p);
    integerSuffix(token, cursor);
}

void C_Preprocessor::integerSuffix(EE_Token& token, SaveSpelling& cursor)
{
    const char* const digitsEnd = cursor.position;
    const char* p = cursor.position;
    bool isUnsigned = false;
    unsigned longs = 0;
    auto isL = [](char c) { return c == 'l' || c == 'L'; };
    auto isU = [](char c) { return c == 'u' || c == 'U'; };
    if (isU(*p)) {
        isUnsigned = true;
        ++p;
        for (int k = 0; k < 2 && isL(*p); ++k, ++longs)
            ++p;
    } else if (isL(*p)) {
        ++p;
        ++longs;
        if (isL(*p)) {
            ++p;
            ++longs;
        }
        if (isU(*p)) {
            isUnsigned = true;
            ++p;
        }
    }
    cursor.position = p;
    token.kind = EE_Token::Literal;
    token.type = integerLiteralType(cursor.first, digitsEnd, p, isUnsigned, longs);
}

// The first type of the literal's list that holds its value, as a C
// compiler chooses it: a decimal literal without u stays signed, an octal or
// hexadecimal one may become unsigned; the suffix's l or ll starts the list
// at long or long long. A value no type holds is refused, naming the
// literal.
EE_TypeDescriptor* C_Preprocessor::integerLiteralType(const char* first, const char* digitsEnd, const char* end,
                                                      bool isUnsigned, unsigned longs)
{
    const char* p = first;
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    } else if (p[0] == '0' && !services.isFortran()) {
        base = 8;
    }
    unsigned long long value = 0;
    bool tooLarge = false;
    for (; p < digitsEnd; ++p) {
        const unsigned digit =
            isDigit(*p) ? static_cast<unsigned>(*p - '0') : static_cast<unsigned>((*p | 0x20) - 'a' + 10);
        if (value > (~0ULL - digit) / base)
            tooLarge = true;
        value = value * base + digit;
    }
    const unsigned long long longMax = services.sizeOfLongInt() >= 8 ? 0x7FFFFFFFFFFFFFFFULL : 0x7FFFFFFFULL;
    const unsigned long long unsignedLongMax = services.sizeOfLongInt() >= 8 ? ~0ULL : 0xFFFFFFFFULL;
    struct Candidate {
        unsigned long long max;
        bool isUnsigned;
        unsigned longs;
        EE_TypeDescriptor* type;
    };
    const Candidate candidates[] = {
        {0x7FFFFFFFULL, false, 0, services.signedIntTypeDescriptor()},
        {0xFFFFFFFFULL, true, 0, services.unsignedIntTypeDescriptor()},
        {longMax, false, 1, services.signedLongIntTypeDescriptor()},
        {unsignedLongMax, true, 1, services.unsignedLongIntTypeDescriptor()},
        {0x7FFFFFFFFFFFFFFFULL, false, 2, services.signedLongLongIntTypeDescriptor()},
        {~0ULL, true, 2, services.unsignedLongLongIntTypeDescriptor()},
    };
    if (!tooLarge) {
        for (const Candidate& c : candidates) {
            if (c.longs < longs || (isUnsigned && !c.isUnsigned) || value > c.max)
                continue;
            // Decimal literals without u skip the unsigned types.
            if (c.isUnsigned && !isUnsigned && base == 10 && c.max != ~0ULL)
                continue;
            return c.type;
        }
    }
    std::string& refused = threadOwned<std::string>([] {});
    refused.assign(first, static_cast<std::size_t>(end - first));
    throw EE_ParseException(EE_ParseException::BadLiteral, refused.c_str());
}

bool C_Preprocessor::decimalFloatingSuffix(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    if (*p != 'D' || !services.supportsDecimalFloatingPoint())
        return false;
    EE_TypeDescriptor* type = nullptr;
    switch (p[1]) {
    case 'F': type = services.decimal32TypeDescriptor(); break;
    case 'D': type = services.decimal64TypeDescriptor(); break;
    case 'L': type = services.decimal128TypeDescriptor(); break;
    default: return false;
    }
    cursor.position = p + 2;
    token.kind = EE_Token::Literal;
    token.type = type;
    return true;
}

void C_Preprocessor::floatingSuffix(EE_Token& token, SaveSpelling& cursor)
{
    const char* p = cursor.position;
    token.kind = EE_Token::Literal;
    if (*p == 'f' || *p == 'F') {
        cursor.position = p + 1;
        token.type = services.floatTypeDescriptor();
        return;
    }
    if (*p == 'l' || *p == 'L') {
        cursor.position = p + 1;
        token.type = services.longDoubleTypeDescriptor();
        return;
    }
    if (*p == 'D') {
        if (decimalFloatingSuffix(token, cursor))
            return;
        cursor.position = p + 1;
        throw EE_ParseException(EE_ParseException::SyntaxError, p + 1);
    }
    token.type = services.doubleTypeDescriptor();
}
