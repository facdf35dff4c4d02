#include "frontend/Cobol_Preprocessor.h"

#include <array>
#include <cstring>

#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_ParseException.h"

namespace {

constexpr std::array<std::uint32_t, 256> makeCharClasses()
{
    std::array<std::uint32_t, 256> t{};
    t[' '] = Cobol_Preprocessor::Blank;
    t['\t'] = Cobol_Preprocessor::Blank;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] |= Cobol_Preprocessor::NameChar;
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] |= Cobol_Preprocessor::NameChar;
    for (int c = 0x80; c <= 0xFD; ++c)
        t[c] |= Cobol_Preprocessor::NameChar;
    for (int c = '0'; c <= '9'; ++c)
        t[c] |= Cobol_Preprocessor::HexDigit | Cobol_Preprocessor::Digit;
    for (int c = '0'; c <= '7'; ++c)
        t[c] |= Cobol_Preprocessor::OctalDigit;
    for (int c = 'A'; c <= 'F'; ++c)
        t[c] |= Cobol_Preprocessor::HexDigit;
    for (int c = 'a'; c <= 'f'; ++c)
        t[c] |= Cobol_Preprocessor::HexDigit;
    for (int c : {int('-'), int('_'), 0x0E, 0x0F})
        t[c] |= Cobol_Preprocessor::NameContinue;
    return t;
}

// Filled at build time: shared by every scanner on every thread and never
// changed.
constexpr std::array<std::uint32_t, 256> charClasses = makeCharClasses();

constexpr std::array<unsigned char, 256> makeLowerTable()
{
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return t;
}

constexpr std::array<unsigned char, 256> lowerTable = makeLowerTable();

bool isClass(char c, std::uint32_t bits)
{
    return (charClasses[static_cast<unsigned char>(c)] & bits) != 0;
}

bool isBlank(char c)
{
    return isClass(c, Cobol_Preprocessor::Blank);
}
bool isDigit(char c)
{
    return isClass(c, Cobol_Preprocessor::Digit);
}
bool isHex(char c)
{
    return isClass(c, Cobol_Preprocessor::HexDigit);
}
bool isLetter(char c)
{
    return isClass(c, Cobol_Preprocessor::NameChar);
}
bool isNamePart(char c)
{
    return isClass(c, Cobol_Preprocessor::NameChar | Cobol_Preprocessor::Digit | Cobol_Preprocessor::NameContinue);
}
bool isDelimiter(char c)
{
    return c == '\'' || c == '"';
}
// A byte that may start a name after a shift-out.
bool startsAfterShiftOut(char c)
{
    return isLetter(c) || isDigit(c);
}

// Sorted by name (checked by the tests). Kind 134 marks the reserved words
// of forms the grammar does not take (class and sign conditions, relations
// written in words, ROUNDED): the grammar refuses them as not supported.
const Cobol_Preprocessor::ReservedWord reserved[] = {{"address", 7, 0, 127},
                                                     {"all", 3, 0, 101},
                                                     {"alphabetic", 10, 0, 134},
                                                     {"alphabetic-lower", 16, 0, 134},
                                                     {"alphabetic-upper", 16, 0, 134},
                                                     {"and", 3, 0, 37},
                                                     {"by", 2, 0, 130},
                                                     {"call", 4, 0, 128},
                                                     {"compute", 7, 0, 113},
                                                     {"content", 7, 0, 132},
                                                     {"equal", 5, 0, 134},
                                                     {"false", 5, 0, 12},
                                                     {"greater", 7, 0, 134},
                                                     {"high-value", 10, 0, 120},
                                                     {"high-values", 11, 0, 103},
                                                     {"in", 2, 0, 104},
                                                     {"is", 2, 0, 134},
                                                     {"length", 6, 0, 133},
                                                     {"less", 4, 0, 134},
                                                     {"low-value", 9, 0, 121},
                                                     {"low-values", 10, 0, 105},
                                                     {"move", 4, 0, 111},
                                                     {"negative", 8, 0, 134},
                                                     {"not", 3, 0, 40},
                                                     {"null", 4, 0, 122},
                                                     {"nulls", 5, 0, 106},
                                                     {"numeric", 7, 0, 134},
                                                     {"of", 2, 0, 107},
                                                     {"or", 2, 0, 38},
                                                     {"positive", 8, 0, 134},
                                                     {"quote", 5, 0, 123},
                                                     {"quotes", 6, 0, 108},
                                                     {"reference", 9, 0, 131},
                                                     {"rounded", 7, 0, 134},
                                                     {"set", 3, 0, 119},
                                                     {"space", 5, 0, 124},
                                                     {"spaces", 6, 0, 109},
                                                     {"than", 4, 0, 134},
                                                     {"to", 2, 0, 112},
                                                     {"true", 4, 0, 25},
                                                     {"using", 5, 0, 129},
                                                     {"zero", 4, 0, 125},
                                                     {"zeroes", 6, 0, 110},
                                                     {"zeros", 5, 0, 110}};

constexpr unsigned reservedRows = sizeof reserved / sizeof reserved[0];

// The token kinds of the literal forms.
constexpr unsigned HexAlphanumericLiteral = 102;
constexpr unsigned DbcsLiteral = 114;
constexpr unsigned AddressLiteral = 115;
constexpr unsigned NationalLiteral = 116;
constexpr unsigned HexNationalLiteral = 117;
constexpr unsigned NullTerminatedLiteral = 118;

// The most digits a fixed-point literal may have.
constexpr unsigned MaxFixedPointDigits = 255;

// Sets the token's spelling from its first character to the cursor when the
// scan of one token ends, normally or by an exception.
struct SpellingGuard {
    SpellingGuard(EE_Token& token, const char* first, const char*& cursor) : token(token), first(first), cursor(cursor)
    {}
    ~SpellingGuard()
    {
        token.spelling = first;
        token.length = static_cast<unsigned>(cursor - first);
    }
    SpellingGuard(const SpellingGuard&) = delete;
    SpellingGuard& operator=(const SpellingGuard&) = delete;

    EE_Token& token;
    const char* first;
    const char*& cursor;
};

} // namespace

std::uint32_t Cobol_Preprocessor::charClass(unsigned char c)
{
    return charClasses[c];
}

const Cobol_Preprocessor::ReservedWord* Cobol_Preprocessor::reservedWords(unsigned& rows)
{
    rows = reservedRows;
    return reserved;
}

const unsigned char* Cobol_Preprocessor::CharTable()
{
    return lowerTable.data();
}

int Cobol_Preprocessor::strnicmp(const char* a, const char* b, unsigned int n)
{
    for (unsigned i = 0; i < n; ++i) {
        int ca = lowerTable[static_cast<unsigned char>(a[i])];
        int cb = lowerTable[static_cast<unsigned char>(b[i])];
        if (ca != cb)
            return ca - cb;
        if (ca == 0)
            return 0;
    }
    return 0;
}

bool Cobol_Preprocessor::findReservedWord(const char* word, unsigned length, unsigned& kind)
{
    unsigned low = 0;
    unsigned high = reservedRows;
    while (low < high) {
        unsigned middle = (low + high) / 2;
        const ReservedWord& row = reserved[middle];
        unsigned common = length < row.length ? length : row.length;
        int order = strnicmp(word, row.name, common);
        if (order == 0 && length == row.length) {
            kind = row.kind;
            return true;
        }
        if (order == 0)
            order = length < row.length ? -1 : 1;
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return false;
}

Cobol_Preprocessor::Cobol_Preprocessor(const char* text, EE_DebuggerServices& services)
    : services(services), text(text != nullptr ? text : ""), length(0)
{
    length = static_cast<unsigned>(std::strlen(this->text)) + 1;
}

void Cobol_Preprocessor::preprocess(EE_Token* tokens, unsigned& count)
{
    const char* p = text;
    while (isBlank(*p))
        ++p;
    if (*p == '\0')
        throw EE_ParseException(EE_ParseException::SyntaxError, ""); // nothing to evaluate: incomplete

    unsigned n = 0;
    while (*p != '\0') {
        // Every token takes at least one character, so the bound is never
        // reached; the check guards the array all the same.
        if (n + 1 >= length)
            throw EE_Exception(EE_Exception::InternalFailure);
        get(tokens[n++], p);
        while (isBlank(*p))
            ++p;
    }
    EE_Token& end = tokens[n++];
    end.preset();
    end.kind = EE_Token::EndOfText;
    count = n;
}

void Cobol_Preprocessor::get(EE_Token& token, const char*& position)
{
    token.kind = EE_Token::NoToken;
    const char* start = position;
    const char*& p = position;
    SpellingGuard guard(token, start, p);
    char c = *p;

    if (c == '\0')
        return;

    if (isDelimiter(c)) {
        const char* body = p + 1;
        unsigned n = scanSequence(p, c);
        token.kind = EE_Token::Literal;
        token.type = services.findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, n, c == '"',
                                                                   false, false, body);
        checkLiteralKind(token);
        return;
    }

    // A token of one character.
    auto single = [&](unsigned kind) {
        ++p;
        token.kind = kind;
    };
    switch (c) {
    case '(': return single(EE_Token::LeftParen);
    case ')': return single(EE_Token::RightParen);
    case ',': return single(EE_Token::Comma);
    case ':': return single(EE_Token::Colon);
    case ';': return single(EE_Token::CobolSemicolon);
    case '/': return single(EE_Token::Slash);
    case '=': return single(EE_Token::Assign);
    case '*':
        ++p;
        if (*p == '*') {
            ++p;
            token.kind = EE_Token::CobolPower;
        } else {
            token.kind = EE_Token::Star;
        }
        return;
    case '<':
    case '>':
        ++p;
        if (*p == '=') {
            ++p;
            token.kind = c == '<' ? EE_Token::LessEqual : EE_Token::GreaterEqual;
        } else {
            token.kind = c == '<' ? EE_Token::Less : EE_Token::Greater;
        }
        return;
    case '+':
    case '-':
        if (isDigit(p[1]) || p[1] == '.') {
            Number number;
            number.start = start;
            number.signWritten = true;
            ++p;
            numberTail(token, p, number);
            return;
        }
        ++p;
        token.kind = c == '+' ? EE_Token::Plus : EE_Token::Minus;
        return;
    case '.':
        if (isDigit(p[1])) {
            Number number;
            number.start = start;
            numberTail(token, p, number);
            return;
        }
        ++p;
        token.kind = EE_Token::Dot;
        return;
    case '@': {
        const char* after = p + 1;
        if (!(startsAfterShiftOut(*after) || (*after == ShiftOut && startsAfterShiftOut(after[1])))) {
            p = after;
            throw EE_ParseException(EE_ParseException::SyntaxError, after);
        }
        ++p;
        scanName(p);
        token.kind = EE_Token::Identifier;
        return;
    }
    default: break;
    }

    // The letters that open a literal form when a delimiter follows.
    char upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    char next = p[1];
    if (upper == 'G' && isDelimiter(next) && p[2] == ShiftOut) {
        char delimiter = next;
        p += 2;
        const char* body = p;
        // The bytes from the shift-out through the next shift-in.
        scanSequence(p, ShiftIn);
        unsigned n = static_cast<unsigned>(p - body);
        if (*p != delimiter)
            throw EE_ParseException(EE_ParseException::SyntaxError, p);
        ++p;
        token.kind = DbcsLiteral;
        token.type = services.findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::DbcsString, n, delimiter == '"',
                                                                   false, false, body);
        checkLiteralKind(token);
        return;
    }
    if (upper == 'H' && isDelimiter(next)) {
        ++p;
        scanHexDigits(p, next, start);
        token.kind = AddressLiteral;
        token.type = services.pointerToVoidTypeDescriptor();
        checkLiteralKind(token);
        return;
    }
    if (upper == 'N' && isDelimiter(next)) {
        ++p;
        const char* body = p + 1;
        unsigned n = scanSequence(p, next);
        token.kind = NationalLiteral;
        token.type = services.findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::NationalString, n,
                                                                       next == '"', false, false, body);
        checkLiteralKind(token);
        return;
    }
    if (upper == 'N' && (next == 'X' || next == 'x') && isDelimiter(p[2])) {
        char delimiter = p[2];
        p += 2;
        unsigned digits = scanHexDigits(p, delimiter, start);
        token.kind = HexNationalLiteral;
        token.type = services.findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::NationalString, digits / 2,
                                                                       delimiter == '"', true, false, nullptr);
        checkLiteralKind(token);
        return;
    }
    if (upper == 'X' && isDelimiter(next)) {
        ++p;
        unsigned digits = scanHexDigits(p, next, start);
        token.kind = HexAlphanumericLiteral;
        token.type = services.findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, digits / 2,
                                                                   next == '"', true, false, nullptr);
        checkLiteralKind(token);
        return;
    }
    if (upper == 'Z' && isDelimiter(next)) {
        ++p;
        const char* body = p + 1;
        unsigned n = scanSequence(p, next);
        token.kind = NullTerminatedLiteral;
        token.type = services.findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, n + 1,
                                                                   next == '"', false, true, body);
        checkLiteralKind(token);
        return;
    }

    if (isDigit(c)) {
        const char* digits = p;
        while (isDigit(*p))
            ++p;
        if (*p == '.' || !isNamePart(*p)) {
            Number number;
            number.start = start;
            p = digits;
            numberTail(token, p, number);
            return;
        }
        // A data name that begins with digits: it needs a letter somewhere.
        scanName(p);
        bool letter = false;
        for (const char* q = start; q < p; ++q)
            if (isLetter(*q))
                letter = true;
        if (!letter)
            throw EE_ParseException(EE_ParseException::NoSuchSymbol, start);
        token.kind = EE_Token::Identifier;
        return;
    }

    if (isLetter(c) || (c == ShiftOut && startsAfterShiftOut(next))) {
        scanName(p);
        unsigned kind = EE_Token::Identifier;
        findReservedWord(start, static_cast<unsigned>(p - start), kind);
        token.kind = kind;
        return;
    }

    throw EE_ParseException(EE_ParseException::SyntaxError, p);
}

void Cobol_Preprocessor::scanName(const char*& p)
{
    while (isNamePart(*p))
        ++p;
}

void Cobol_Preprocessor::numberTail(EE_Token& token, const char*& p, Number& number)
{
    while (isDigit(*p)) {
        ++p;
        ++number.integerDigits;
    }
    if (*p == '.') {
        ++p;
        fractionTail(token, p, number);
        return;
    }
    if (number.signWritten && (*p == 'E' || *p == 'e'))
        floatTail(p, number);
    fixedPointTail(token, number);
}

void Cobol_Preprocessor::fractionTail(EE_Token& token, const char*& p, Number& number)
{
    while (isDigit(*p)) {
        ++p;
        ++number.fractionDigits;
    }
    // A sign and a point alone are no number.
    if (number.integerDigits + number.fractionDigits == 0)
        throw EE_ParseException(EE_ParseException::SyntaxError, p);
    if (*p == 'E' || *p == 'e')
        floatTail(p, number);
    fixedPointTail(token, number);
}

void Cobol_Preprocessor::floatTail(const char*& p, Number& number)
{
    ++p;
    if (*p == '+' || *p == '-')
        ++p;
    if (!isDigit(*p))
        throw EE_ParseException(EE_ParseException::SyntaxError, p);
    while (isDigit(*p))
        ++p;
    number.floating = true;
}

void Cobol_Preprocessor::fixedPointTail(EE_Token& token, Number& number)
{
    token.kind = EE_Token::Literal;
    if (number.floating) {
        token.type = services.doubleTypeDescriptor();
        checkLiteralKind(token);
        return;
    }
    unsigned digits = number.integerDigits + number.fractionDigits;
    // The digit count of a fixed-point type is bounded; longer literals are
    // refused rather than typed with a count no item can hold.
    if (digits > MaxFixedPointDigits)
        throw EE_ParseException(EE_ParseException::BadLiteral, number.start);
    EE_TypeDescriptor::Kind kind = digits < 19 ? EE_TypeDescriptor::FixedPointBinary : EE_TypeDescriptor::PackedDecimal;
    token.type = services.findOrCreateFixedPointTypeDescriptor(kind, digits, -static_cast<int>(number.fractionDigits),
                                                               number.signWritten, EE_DecimalSignNone);
    checkLiteralKind(token);
}

unsigned Cobol_Preprocessor::scanSequence(const char*& p, char delimiter)
{
    // With the shift-in as delimiter the scan starts inside the sequence.
    if (delimiter != ShiftIn)
        ++p;
    unsigned n = 0;
    for (;;) {
        if (*p == '\0')
            throw EE_ParseException(EE_ParseException::SyntaxError, p);
        if (*p == delimiter) {
            if (delimiter != ShiftIn && p[1] == delimiter) {
                p += 2;
                ++n;
                continue;
            }
            ++p;
            if (delimiter == ShiftIn)
                ++n; // the shift-in belongs to the sequence
            return n;
        }
        ++p;
        ++n;
    }
}

unsigned Cobol_Preprocessor::scanMBSequence(const char*& p, char delimiter)
{
    ++p;
    unsigned n = 0;
    for (;;) {
        if (*p == '\0')
            throw EE_ParseException(EE_ParseException::SyntaxError, p);
        if (*p == delimiter) {
            if (p[1] == delimiter) {
                p += 2;
                ++n;
                continue;
            }
            ++p;
            return n;
        }
        if (*p == '\\') {
            scanEscapeSequence(p);
            ++n;
            continue;
        }
        int bytes = services.mblen(p);
        if (bytes < 1)
            bytes = 1;
        // Never step over the end of the text.
        for (int i = 0; i < bytes && *p != '\0'; ++i)
            ++p;
        ++n;
    }
}

void Cobol_Preprocessor::scanEscapeSequence(const char*& p)
{
    ++p;
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
    case 'v':
        ++p;
        if (*p == '\0')
            throw EE_ParseException(EE_ParseException::SyntaxError, p);
        return;
    default: throw EE_ParseException(EE_ParseException::SyntaxError, p);
    }
}

unsigned Cobol_Preprocessor::scanHexDigits(const char*& p, char delimiter, const char* start)
{
    ++p;
    unsigned digits = 0;
    while (isHex(*p)) {
        ++p;
        ++digits;
    }
    if (*p != delimiter)
        throw EE_ParseException(EE_ParseException::BadLiteral, start);
    ++p;
    return digits;
}

void Cobol_Preprocessor::checkLiteralKind(const EE_Token& token)
{
    switch (token.kind) {
    case EE_Token::Literal:
    case HexAlphanumericLiteral:
    case DbcsLiteral:
    case AddressLiteral:
    case NationalLiteral:
    case HexNationalLiteral:
    case NullTerminatedLiteral:
    case EE_Token::KwFalse:
    case EE_Token::KwTrue: return;
    default: throw EE_Exception(EE_Exception::InternalFailure);
    }
}
