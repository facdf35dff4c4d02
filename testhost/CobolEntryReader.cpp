#include "testhost/CobolEntryReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

#include "testhost/DebuggeeLayout.h"
#include "testhost/DecimalImages.h"
#include "testhost/FloatImages.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

struct CobolEntryReader::Token {
    enum Kind {
        End,
        Word,
        Quoted,
        Period
    } kind = End;
    std::string text{}; // words in upper case; quoted: the contents
    char prefix = 0;    // quoted: 'X', 'N' or 0
    int line = 0;
};

struct CobolEntryReader::Literal {
    enum Kind {
        Number,
        Text,
        Hex,
        Zero,
        Space,
        High,
        Low
    } kind = Number;
    std::string text{}; // number text, or the characters
    bool national = false;
    int line = 0;
};

struct CobolEntryReader::Entry {
    int line = 0;
    int level = 0;
    std::string name{}; // empty: FILLER
    std::string picture{};
    enum Usage {
        Display,
        Binary,
        Packed,
        Comp1,
        Comp2,
        National,
        Index
    } usage = Display;
    bool usageGiven = false;
    bool signGiven = false;
    bool signLeading = false;
    bool signSeparate = false;
    unsigned occurs = 0;
    std::optional<Literal> value{};
    std::vector<std::pair<Literal, std::optional<Literal>>> conditions{}; // level 88
    std::vector<std::unique_ptr<Entry>> children{};
    Entry* parent = nullptr;

    // What analyse makes of it.
    enum Category {
        Group,
        Alphanumeric,
        AlphanumericEdited,
        Numeric,
        NumericEdited,
        ExternalFloat,
        NationalText,
        Float,
        IndexItem
    } category = Group;
    unsigned digits = 0;
    int scale = 0;
    bool isSigned = false;
    TN_DecimalSign sign = TN_SignNone;
    std::uint32_t length = 0; // one occurrence
    TYPE_INDEX dataType{};    // one occurrence, without condition names
    TYPE_INDEX type{};        // as declared: with condition names, tables
    std::uint64_t offset = 0; // in its parent's occurrence
    _SYMBOL_ENTRY* symbol = nullptr;

    std::uint64_t size() const { return std::uint64_t(length) * (occurs ? occurs : 1); }
    bool isCondition() const { return level == 88; }
};

namespace {

std::string upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool isNumber(const std::string& s)
{
    size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    bool digit = false, point = false;
    for (; i < s.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(s[i])))
            digit = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

// UTF-8 to UTF-16 big-endian.
std::vector<std::uint8_t> utf16(const std::string& text, int line)
{
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (n == 0 || i + n > text.size())
            throw ProgramFileError(line, "bad UTF-8 text");
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (unsigned k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += n;
        auto unit = [&out](std::uint32_t u) {
            out.push_back(static_cast<std::uint8_t>(u >> 8));
            out.push_back(static_cast<std::uint8_t>(u));
        };
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

std::vector<std::uint8_t> hexBytes(const std::string& hex, int line)
{
    if (hex.size() % 2 != 0)
        throw ProgramFileError(line, "X'" + hex + "' has an odd number of hexadecimal digits");
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const std::string pair = hex.substr(i, 2);
        if (!std::isxdigit(static_cast<unsigned char>(pair[0])) || !std::isxdigit(static_cast<unsigned char>(pair[1])))
            throw ProgramFileError(line, "X'" + hex + "' holds a character that is no hexadecimal digit");
        out.push_back(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), nullptr, 16)));
    }
    return out;
}

// Expands repetitions: "S9(3)V9(2)" is "S999V99".
std::string expandPicture(const std::string& picture, int line)
{
    std::string out;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] == '(') {
            const size_t close = picture.find(')', i);
            if (out.empty() || close == std::string::npos)
                throw ProgramFileError(line, "bad repetition in PIC " + picture);
            const std::string count = picture.substr(i + 1, close - i - 1);
            if (count.empty() || count.find_first_not_of("0123456789") != std::string::npos || count.size() > 4)
                throw ProgramFileError(line, "bad repetition in PIC " + picture);
            const unsigned n = static_cast<unsigned>(std::stoul(count));
            if (n == 0)
                throw ProgramFileError(line, "bad repetition in PIC " + picture);
            out.append(n - 1, out.back());
            i = close;
        } else {
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(picture[i])));
        }
    }
    return out;
}

} // namespace

CobolEntryReader::CobolEntryReader(DebuggeeLayout& layout, ProgramFile& program, LCC_Eval_Context_Info& context)
    : _layout(layout), _program(program), _context(context)
{}

CobolEntryReader::~CobolEntryReader() = default;

void CobolEntryReader::fail(const std::string& what) const
{
    throw ProgramFileError(_cursor.peek().line, what);
}

void CobolEntryReader::read(const std::vector<std::pair<int, std::string>>& lines)
{
    int lastLine = 0;
    for (const auto& [line, text] : lines) {
        lastLine = line;
        size_t i = 0;
        while (i < text.size()) {
            if (std::isspace(static_cast<unsigned char>(text[i]))) {
                ++i;
                continue;
            }
            if (text.compare(i, 2, "*>") == 0)
                break;
            Token t;
            t.line = line;
            char prefix = 0;
            if ((text[i] == 'X' || text[i] == 'x' || text[i] == 'N' || text[i] == 'n') && i + 1 < text.size() &&
                (text[i + 1] == '\'' || text[i + 1] == '"')) {
                prefix = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
                ++i;
            }
            if (text[i] == '\'' || text[i] == '"') {
                const char quote = text[i++];
                std::string contents;
                bool closed = false;
                while (i < text.size()) {
                    if (text[i] == quote) {
                        if (i + 1 < text.size() && text[i + 1] == quote) { // a doubled quote stands for one
                            contents += quote;
                            i += 2;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    contents += text[i++];
                }
                if (!closed)
                    throw ProgramFileError(line, "unterminated literal");
                t.kind = Token::Quoted;
                t.text = contents;
                t.prefix = prefix;
                _cursor.tokens().push_back(t);
                continue;
            }
            const size_t b = i;
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '\'' &&
                   text[i] != '"')
                ++i;
            std::string word = text.substr(b, i - b);
            bool period = false;
            if (word.size() > 1 && word.back() == '.') {
                word.pop_back();
                period = true;
            } else if (word == ".") {
                word.clear();
                period = true;
            }
            if (!word.empty() && (word.back() == ',' || word.back() == ';')) // separators
                word.pop_back();
            if (!word.empty()) {
                t.kind = Token::Word;
                t.text = word;
                _cursor.tokens().push_back(t);
            }
            if (period) {
                Token p;
                p.kind = Token::Period;
                p.line = line;
                _cursor.tokens().push_back(p);
            }
        }
    }
    Token end;
    end.line = lastLine;
    _cursor.tokens().push_back(end);

    while (_cursor.peek().kind != Token::End)
        entry();
    for (const std::unique_ptr<Entry>& record : _records) {
        analyse(*record);
        build(*record);
    }
}

bool CobolEntryReader::acceptWord(const char* word)
{
    if (_cursor.peek().kind == Token::Word && upper(_cursor.peek().text) == word) {
        _cursor.next();
        return true;
    }
    return false;
}

bool CobolEntryReader::atPeriod() const
{
    return _cursor.peek().kind == Token::Period || _cursor.peek().kind == Token::End;
}

void CobolEntryReader::entry()
{
    const Token& first = _cursor.peek();
    if (first.kind != Token::Word)
        fail(first.kind == Token::Period ? "a period without an entry" : "a level number expected");
    const std::string head = upper(first.text);
    if (head == "SQL") {
        sqlLine();
        return;
    }
    if (_cursor.peek(1).kind == Token::Word &&
        (upper(_cursor.peek(1).text) == "DIVISION" || upper(_cursor.peek(1).text) == "SECTION")) {
        while (!atPeriod())
            _cursor.next();
        _cursor.next();
        return;
    }
    if (head.empty() || head.size() > 2 || head.find_first_not_of("0123456789") != std::string::npos)
        fail("a level number expected before \"" + first.text + "\"");
    auto e = std::make_unique<Entry>();
    e->line = first.line;
    e->level = std::stoi(head);
    _cursor.next();
    if (!(e->level >= 1 && e->level <= 49) && e->level != 77 && e->level != 88)
        fail("level " + head + " is not 01 to 49, 77 or 88");
    if (_cursor.peek().kind == Token::Word) {
        static const char* const clauseWords[] = {"PIC", "PICTURE", "USAGE", "VALUE", "VALUES", "OCCURS", "SIGN"};
        const std::string word = upper(_cursor.peek().text);
        bool isClause = false;
        for (const char* c : clauseWords)
            isClause = isClause || word == c;
        if (!isClause) {
            e->name = word == "FILLER" ? "" : word;
            _cursor.next();
        }
    }
    if (e->name.empty() && (e->level == 77 || e->level == 88))
        throw ProgramFileError(e->line, "a level-" + std::to_string(e->level) + " entry needs a name");
    clauses(*e);
    if (_cursor.peek().kind != Token::Period)
        fail("a period expected at the end of the entry");
    _cursor.next();

    Entry* raw = e.get();
    if (e->level == 1 || e->level == 77) {
        _records.push_back(std::move(e));
        _open.assign(1, raw);
        return;
    }
    if (e->level == 88) {
        if (_open.empty())
            throw ProgramFileError(e->line, "a condition name without a data item");
        if (e->conditions.empty())
            throw ProgramFileError(e->line, "a condition name needs VALUE");
        Entry* item = _open.back();
        e->parent = item;
        item->children.push_back(std::move(e));
        return;
    }
    // Levels 02 to 49 nest in the nearest open entry of a lower level.
    while (!_open.empty() && (_open.back()->level >= e->level || _open.back()->level == 77))
        _open.pop_back();
    if (_open.empty())
        throw ProgramFileError(e->line, "level " + std::to_string(e->level) + " outside a record (start one with 01)");
    e->parent = _open.back();
    _open.back()->children.push_back(std::move(e));
    _open.push_back(raw);
}

void CobolEntryReader::clauses(Entry& e)
{
    while (!atPeriod()) {
        const Token& t = _cursor.peek();
        if (t.kind != Token::Word)
            fail("unexpected literal");
        const std::string word = upper(t.text);
        if (e.level == 88) {
            if (word != "VALUE" && word != "VALUES")
                fail("a condition name takes VALUE only, not \"" + t.text + "\"");
            _cursor.next();
            acceptWord("IS") || acceptWord("ARE");
            do {
                Literal low = literal("a condition value");
                std::optional<Literal> high;
                if (acceptWord("THRU") || acceptWord("THROUGH"))
                    high = literal("the high end of a range");
                e.conditions.emplace_back(low, high);
            } while (!atPeriod());
            continue;
        }
        _cursor.next();
        if (word == "PIC" || word == "PICTURE") {
            acceptWord("IS");
            if (_cursor.peek().kind != Token::Word)
                fail("a picture string expected");
            if (!e.picture.empty())
                fail("PIC given twice");
            e.picture = expandPicture(_cursor.next().text, t.line);
            continue;
        }
        std::string usage = word;
        if (word == "USAGE") {
            acceptWord("IS");
            if (_cursor.peek().kind != Token::Word)
                fail("a usage expected");
            usage = upper(_cursor.next().text);
        }
        static const std::pair<const char*, Entry::Usage> usages[] = {{"DISPLAY", Entry::Display},
                                                                      {"COMP", Entry::Binary},
                                                                      {"COMPUTATIONAL", Entry::Binary},
                                                                      {"COMP-4", Entry::Binary},
                                                                      {"COMPUTATIONAL-4", Entry::Binary},
                                                                      {"BINARY", Entry::Binary},
                                                                      {"COMP-3", Entry::Packed},
                                                                      {"COMPUTATIONAL-3", Entry::Packed},
                                                                      {"PACKED-DECIMAL", Entry::Packed},
                                                                      {"COMP-1", Entry::Comp1},
                                                                      {"COMPUTATIONAL-1", Entry::Comp1},
                                                                      {"COMP-2", Entry::Comp2},
                                                                      {"COMPUTATIONAL-2", Entry::Comp2},
                                                                      {"NATIONAL", Entry::National},
                                                                      {"INDEX", Entry::Index}};
        bool isUsage = false;
        for (const auto& [name, u] : usages)
            if (usage == name) {
                if (e.usageGiven)
                    throw ProgramFileError(t.line, "USAGE given twice");
                e.usage = u;
                e.usageGiven = isUsage = true;
            }
        if (isUsage)
            continue;
        // A native binary keeps every value its bytes hold, not only those of
        // its picture; the host's binary record cannot say so, and read as
        // COMP its values would be cut to the picture's digits.
        if (usage == "COMP-5" || usage == "COMPUTATIONAL-5")
            throw ProgramFileError(t.line, usage + " (native binary) is not supported: the host's binary records "
                                                   "describe COMP items only");
        if (word == "USAGE")
            throw ProgramFileError(t.line, "unknown usage " + usage);
        if (word == "SIGN" || word == "LEADING" || word == "TRAILING") {
            std::string where = word;
            if (word == "SIGN") {
                acceptWord("IS");
                if (_cursor.peek().kind != Token::Word)
                    fail("LEADING or TRAILING expected");
                where = upper(_cursor.next().text);
            }
            if (where != "LEADING" && where != "TRAILING")
                throw ProgramFileError(t.line, "LEADING or TRAILING expected");
            e.signGiven = true;
            e.signLeading = where == "LEADING";
            if (acceptWord("SEPARATE")) {
                e.signSeparate = true;
                acceptWord("CHARACTER");
            }
            continue;
        }
        if (word == "OCCURS") {
            if (_cursor.peek().kind != Token::Word ||
                _cursor.peek().text.find_first_not_of("0123456789") != std::string::npos ||
                _cursor.peek().text.size() > 5)
                fail("OCCURS needs a count");
            const unsigned n = static_cast<unsigned>(std::stoul(_cursor.next().text));
            if (n == 0)
                throw ProgramFileError(t.line, "OCCURS 0");
            e.occurs = n;
            acceptWord("TIMES");
            continue;
        }
        if (word == "VALUE") {
            acceptWord("IS");
            e.value = literal("a value");
            continue;
        }
        throw ProgramFileError(t.line, "unknown clause \"" + t.text + "\"");
    }
}

CobolEntryReader::Literal CobolEntryReader::literal(const char* what)
{
    const Token& t = _cursor.peek();
    Literal l;
    l.line = t.line;
    if (t.kind == Token::Quoted) {
        l.kind = t.prefix == 'X' ? Literal::Hex : Literal::Text;
        l.national = t.prefix == 'N';
        l.text = t.text;
        _cursor.next();
        return l;
    }
    if (t.kind != Token::Word)
        fail(std::string(what) + " expected");
    const std::string word = upper(t.text);
    if (isNumber(word)) {
        l.kind = Literal::Number;
        l.text = word;
    } else if (word == "ZERO" || word == "ZEROS" || word == "ZEROES") {
        l.kind = Literal::Zero;
    } else if (word == "SPACE" || word == "SPACES") {
        l.kind = Literal::Space;
    } else if (word == "HIGH-VALUE" || word == "HIGH-VALUES") {
        l.kind = Literal::High;
    } else if (word == "LOW-VALUE" || word == "LOW-VALUES") {
        l.kind = Literal::Low;
    } else {
        fail(std::string(what) + " expected before \"" + t.text + "\"");
    }
    _cursor.next();
    return l;
}

namespace {

// The bytes an SQL host variable of that code and declared length occupies
// (for the decimal codes the length holds precision and scale).
std::uint64_t sqlStorageSize(std::uint32_t code, std::uint32_t length)
{
    const std::uint64_t l = length;
    const std::uint64_t precision = (length >> 8) & 0xFF;
    switch (code & ~1u) {
    case 404:
    case 408:
    case 904: return l + 4;
    case 412: return 2 * l + 4;
    case 448:
    case 456:
    case 908:
    case 65984: return l + 2;
    case 464:
    case 472: return 2 * l + 2;
    case 468: return 2 * l;
    case 484: return precision / 2 + 1;
    case 504: return precision + 1;
    default: return l;
    }
}

bool isDecimalSqlType(std::uint32_t code)
{
    return (code & ~1u) == 484 || (code & ~1u) == 504;
}

} // namespace

void CobolEntryReader::sqlLine()
{
    const int line = _cursor.peek().line;
    _cursor.next();
    auto onLine = [&] {
        return _cursor.peek().kind != Token::End && _cursor.peek().line == line && _cursor.peek().kind != Token::Period;
    };
    auto number = [&](const char* what) -> std::uint32_t {
        if (!onLine() || _cursor.peek().kind != Token::Word ||
            _cursor.peek().text.find_first_not_of("0123456789") != std::string::npos || _cursor.peek().text.size() > 9)
            throw ProgramFileError(line, std::string(what) + " expected");
        return static_cast<std::uint32_t>(std::stoul(_cursor.next().text));
    };
    ProgramFile::SqlVariable v;
    if (!onLine() || _cursor.peek().kind != Token::Word)
        throw ProgramFileError(line, "SQL: a host variable name expected");
    v.name = upper(_cursor.next().text);
    if (!acceptWord("TYPE"))
        throw ProgramFileError(line, "SQL " + v.name + ": TYPE expected");
    v.sqlType = number("an SQL type code");
    if (!acceptWord("LENGTH"))
        throw ProgramFileError(line, "SQL " + v.name + ": LENGTH expected");
    const bool decimal = isDecimalSqlType(v.sqlType);
    v.length = number(decimal ? "a precision" : "a length");
    std::optional<std::uint32_t> second;
    if (onLine() && _cursor.peek().kind == Token::Word &&
        _cursor.peek().text.find_first_not_of("0123456789") == std::string::npos)
        second = number(decimal ? "a scale" : "a maximum length");
    if (decimal) {
        // LENGTH precision [scale]
        const std::uint32_t scale = second.value_or(0);
        if (v.length == 0 || v.length > 31 || scale > v.length)
            throw ProgramFileError(line, "SQL " + v.name +
                                             ": a decimal's precision is 1 to 31 and its scale at most the precision");
        v.length = (v.length << 8) | scale;
        v.maximumLength = v.length;
    } else {
        v.maximumLength = second.value_or(v.length);
    }
    bool haveValue = false;
    while (onLine()) {
        if (acceptWord("COUNT")) {
            v.count = number("an element count");
            if (v.count == 0)
                throw ProgramFileError(line, "SQL " + v.name + ": COUNT 0");
        } else if (acceptWord("CCSID")) {
            const std::uint32_t ccsid = number("a CCSID");
            if (ccsid > 0xFFFF)
                throw ProgramFileError(line, "CCSID above 65535");
            v.ccsid = static_cast<std::uint16_t>(ccsid);
        } else if (acceptWord("VALUE")) {
            if (!onLine() || _cursor.peek().kind != Token::Quoted)
                throw ProgramFileError(line, "SQL " + v.name + ": VALUE X'..' or a quoted text expected");
            const Token& t = _cursor.next();
            v.bytes = t.prefix == 'X'   ? hexBytes(t.text, line)
                      : t.prefix == 'N' ? utf16(t.text, line)
                                        : _layout.ebcdic(t.text);
            haveValue = true;
        } else {
            throw ProgramFileError(line, "SQL " + v.name + ": unexpected \"" + _cursor.peek().text + "\"");
        }
    }
    if (_cursor.peek().kind == Token::Period && _cursor.peek().line == line)
        _cursor.next();
    if (!haveValue || v.bytes.empty())
        throw ProgramFileError(line, "SQL " + v.name + ": VALUE expected");
    if (_program.findSql(v.name) != nullptr)
        throw ProgramFileError(line, "SQL " + v.name + " declared twice");
    // The VALUE is the start of the storage; the rest holds zeros. A large
    // object of declared length 0 has room for its maximum length.
    const std::uint32_t room = decimal ? v.length : std::max(v.length, v.maximumLength);
    const std::uint64_t size = sqlStorageSize(v.sqlType, room) * (v.count ? v.count : 1);
    if (size > 0xFFFFFF)
        throw ProgramFileError(line, "SQL " + v.name + " is too long");
    if (v.bytes.size() > size)
        throw ProgramFileError(line, "SQL " + v.name + ": VALUE is longer than its " + std::to_string(size) + " bytes");
    v.bytes.resize(static_cast<size_t>(size), 0);
    v.address = _layout.address(_layout.place(v.bytes, 8));

    HostRecordStore::SqlVariable record;
    record.sqlType = v.sqlType;
    record.length = v.length;
    record.maxLength = v.maximumLength;
    record.address = v.address;
    record.addressWidth = _layout.bits();
    record.elementCount = v.count;
    record.ccsid = v.ccsid;
    _SYMBOL_ENTRY& symbol = _layout.host().records().sqlHostVariable(v.name, record);
    _layout.host().declare(_context, symbol);
    v.symbol = &symbol;
    _program.addSqlVariable(v);
}

namespace {

bool onlyOf(const std::string& s, const char* set)
{
    return s.find_first_not_of(set) == std::string::npos;
}

size_t count(const std::string& s, char c)
{
    return static_cast<size_t>(std::count(s.begin(), s.end(), c));
}

} // namespace

void CobolEntryReader::analyse(Entry& e)
{
    HostRecordStore& records = _layout.host().records();
    auto bad = [&e](const std::string& what) { throw ProgramFileError(e.line, what); };
    const std::string what = e.name.empty() ? std::string("FILLER") : e.name;
    std::vector<Entry*> data;
    std::vector<HostRecordStore::Condition> conditions;
    for (const std::unique_ptr<Entry>& c : e.children)
        if (!c->isCondition())
            data.push_back(c.get());
    if ((e.level == 1 || e.level == 77) && e.occurs != 0)
        bad("OCCURS on a level-" + std::to_string(e.level) + " item");

    if (!data.empty()) {
        if (e.level == 77)
            bad("a level-77 item has no subordinate items");
        if (!e.picture.empty() || e.usageGiven || e.signGiven)
            bad("the group " + what + " takes no PIC, USAGE or SIGN");
        if (e.value)
            bad("VALUE on the group " + what + " (give the values to its items)");
        if (data.size() != e.children.size())
            bad("condition names of the group " + what + " (give them to an elementary item)");
        e.category = Entry::Group;
        std::uint64_t offset = 0;
        HostRecordStore::ClassSpec spec;
        spec.name = e.name;
        spec.leaf = TE_GROUP;
        for (Entry* c : data) {
            analyse(*c);
            c->offset = offset;
            offset += c->size();
            if (!c->name.empty())
                spec.members.push_back(HostRecordStore::Member{.name = c->name,
                                                               .type = c->type,
                                                               .offset = static_cast<UBYTE4>(c->offset),
                                                               .levelNumber = static_cast<UBYTE1>(c->level)});
        }
        if (offset > 0xFFFFFFu)
            bad("the group " + what + " is too long");
        e.length = static_cast<std::uint32_t>(offset);
        spec.byteSize = e.length;
        e.dataType = records.classType(spec);
        if (e.size() > ProgramFile::sizeLimit)
            bad("the group " + what + " with its OCCURS is too long");
        e.type = e.occurs ? records.arrayType(e.dataType, static_cast<UBYTE4>(e.size())) : e.dataType;
        return;
    }

    const std::string& p = e.picture;
    const bool national = e.usage == Entry::National;
    if (e.usage == Entry::Comp1 || e.usage == Entry::Comp2 || e.usage == Entry::Index) {
        if (!p.empty())
            bad(what + ": COMP-1, COMP-2 and INDEX items take no PIC");
        if (e.signGiven)
            bad(what + ": SIGN on an item without PIC");
        if (e.usage == Entry::Index) {
            e.category = Entry::IndexItem;
            e.length = 4;
            e.dataType = records.indexDataItemType(4);
        } else {
            e.category = Entry::Float;
            e.length = e.usage == Entry::Comp1 ? 4 : 8;
            e.dataType = TYPE_INDEX{0, e.usage == Entry::Comp1 ? 196u : 197u};
        }
    } else if (p.empty()) {
        bad(what + ": an elementary item needs PIC");
    } else if (onlyOf(p, "S9VP") && count(p, '9') > 0) {
        e.category = Entry::Numeric;
        e.isSigned = p[0] == 'S';
        if (count(p, 'S') > (e.isSigned ? 1u : 0u) || count(p, 'V') > 1)
            bad(what + ": bad PIC " + p);
        e.digits = static_cast<unsigned>(count(p, '9'));
        const size_t firstNine = p.find('9'), lastNine = p.rfind('9');
        const size_t ps = count(p, 'P');
        const size_t v = p.find('V');
        if (ps != 0) {
            const size_t firstP = p.find('P'), lastP = p.rfind('P');
            if (lastP < firstNine && (v == std::string::npos || v < firstP))
                e.scale = -static_cast<int>(ps + e.digits);
            else if (firstP > lastNine && (v == std::string::npos || v > lastP))
                e.scale = static_cast<int>(ps);
            else
                bad(what + ": bad P positions in PIC " + p);
        } else {
            e.scale = v == std::string::npos ? 0 : -static_cast<int>(count(p.substr(v), '9'));
        }
        if (e.digits > 31 || (e.usage == Entry::Binary && e.digits > 18))
            bad(what + ": too many digits in PIC " + p);
        if (e.signGiven && (!e.isSigned || (e.usage != Entry::Display && !national)))
            bad(what + ": SIGN needs a signed DISPLAY or NATIONAL item");
        e.sign = !e.isSigned     ? TN_SignNone
                 : !e.signGiven  ? TN_SignTrailingEmbedded
                 : e.signLeading ? (e.signSeparate ? TN_SignLeadingSeparate : TN_SignLeadingEmbedded)
                                 : (e.signSeparate ? TN_SignTrailingSeparate : TN_SignTrailingEmbedded);
        const UBYTE1 digits = static_cast<UBYTE1>(e.digits);
        const signed char scale = static_cast<signed char>(e.scale);
        const char* picture = records.text(p);
        switch (e.usage) {
        case Entry::Binary:
            e.length = e.digits <= 4 ? 2 : e.digits <= 9 ? 4 : 8;
            e.dataType = records.binaryType(static_cast<UBYTE1>(e.length), digits, scale, e.isSigned);
            break;
        case Entry::Packed:
            e.length = e.digits / 2 + 1;
            e.dataType = records.packedDecimalType(digits, scale, e.isSigned, picture);
            break;
        case Entry::National:
            if (e.isSigned && !e.signSeparate)
                bad(what + ": a signed NATIONAL item needs SIGN ... SEPARATE");
            e.length = 2 * (e.digits + (e.signSeparate ? 1 : 0));
            e.dataType = records.nationalDecimalType(digits, scale, e.isSigned, e.sign, picture);
            break;
        default:
            e.length = e.digits + (e.signSeparate ? 1 : 0);
            e.dataType = records.zonedDecimalType(digits, scale, e.isSigned, e.sign, picture);
            break;
        }
    } else if (e.signGiven) {
        bad(what + ": SIGN needs a signed numeric PIC");
    } else if (e.usage != Entry::Display && !national) {
        bad(what + ": PIC " + p + " is DISPLAY or NATIONAL");
    } else if (onlyOf(p, "N")) {
        e.category = Entry::NationalText;
        e.length = static_cast<std::uint32_t>(2 * p.size());
        e.dataType = records.charstringType(e.length, TE_NATIONAL_STRING);
    } else if (onlyOf(p, "AX9") && !national) {
        e.category = Entry::Alphanumeric;
        e.length = static_cast<std::uint32_t>(p.size());
        e.dataType = records.charstringType(e.length);
    } else if (onlyOf(p, "AX9B0/") && p.find_first_of("AX") != std::string::npos && !national) {
        e.category = Entry::AlphanumericEdited;
        e.length = static_cast<std::uint32_t>(p.size());
        _TYPE_ENTRY& t = records.newType(TE_ALPHA_NUMERIC_EDITED, &e.dataType);
        t.alphaNumericEdited.length = e.length;
        t.alphaNumericEdited.picture = records.text(p);
    } else if (p.find('E') != std::string::npos && (p[0] == '+' || p[0] == '-') && onlyOf(p, "+-9.VE")) {
        e.category = Entry::ExternalFloat;
        e.length = static_cast<std::uint32_t>((p.size() - count(p, 'V')) * (national ? 2 : 1));
        _TYPE_ENTRY& t = records.newType(national ? TE_NATIONAL_EXTERNAL_FLOAT : TE_EXTERNAL_FLOAT, &e.dataType);
        t.externalFloat.length = e.length;
        t.externalFloat.picture = records.text(p);
    } else if (onlyOf(p, "9ZB0/,.+-*$CRDVP") && p.find_first_of("9Z*+-$") != std::string::npos) {
        e.category = Entry::NumericEdited;
        // Digit positions: 9, Z and *, and every floating insertion symbol
        // after the first of its string. CR or DB may only end the picture.
        const std::string tail = p.size() >= 2 ? p.substr(p.size() - 2) : "";
        const std::string body = tail == "CR" || tail == "DB" ? p.substr(0, p.size() - 2) : p;
        if (body.find_first_of("CRD") != std::string::npos)
            bad(what + ": bad PIC " + p);
        unsigned digits = 0, fraction = 0;
        bool afterPoint = false;
        char lastFloating = 0;
        for (const char c : body) {
            if (c == '.' || c == 'V') {
                afterPoint = true;
                continue;
            }
            bool digit = c == '9' || c == 'Z' || c == '*';
            if (c == '+' || c == '-' || c == '$') {
                digit = lastFloating == c;
                lastFloating = c;
            }
            if (digit) {
                ++digits;
                if (afterPoint)
                    ++fraction;
            }
        }
        if (digits == 0 || digits > 31)
            bad(what + ": bad PIC " + p);
        e.digits = digits;
        e.scale = -static_cast<int>(fraction);
        e.length = static_cast<std::uint32_t>((p.size() - count(p, 'V') - count(p, 'P')) * (national ? 2 : 1));
        _TYPE_ENTRY& t = records.newType(national ? TE_NATIONAL_NUMERIC_EDITED : TE_NUMERIC_EDITED, &e.dataType);
        t.numericEdited.length = e.length;
        t.numericEdited.precision = static_cast<UBYTE1>(digits);
        t.numericEdited.scale = static_cast<signed char>(e.scale);
        t.numericEdited.picture = records.text(p);
    } else {
        bad(what + ": bad PIC " + p);
    }

    for (const std::unique_ptr<Entry>& c : e.children) {
        HostRecordStore::Condition condition;
        condition.name = c->name;
        for (const auto& [low, high] : c->conditions) {
            HostRecordStore::ConditionValue lowValue{e.dataType, encode(e, &low)};
            if (high)
                condition.ranges.emplace_back(lowValue, HostRecordStore::ConditionValue{e.dataType, encode(e, &*high)});
            else
                condition.values.push_back(lowValue);
        }
        // SET condition TO TRUE stores the first value of the clause, which
        // the evaluator takes from the single values first and from the
        // ranges only when there is none. The record keeps no order between
        // the two lists, so a clause that opens with a range (VALUES 0 THRU
        // 4, 11) also lists that range's low bound as its first single
        // value; the test of the condition is the same, as the bound lies in
        // the range.
        if (!c->conditions.empty() && c->conditions.front().second && !condition.values.empty())
            condition.values.insert(condition.values.begin(), condition.ranges.front().first);
        conditions.push_back(condition);
    }
    const TYPE_INDEX declared = conditions.empty() ? e.dataType : records.conditionQualifier(e.dataType, conditions);
    if (e.size() > ProgramFile::sizeLimit)
        bad(what + " with its OCCURS is too long");
    e.type = e.occurs ? records.arrayType(declared, static_cast<UBYTE4>(e.size())) : declared;
    // The initial value must fit the item.
    (void)encode(e, e.value ? &*e.value : nullptr);
}

namespace {

// The scaled integer of a numeric literal for digits digits at scale.
std::string scaledInteger(const std::string& literal, unsigned digits, int scale, bool isSigned, int line,
                          const std::string& item)
{
    std::string text = literal;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.erase(0, 1);
    const size_t point = text.find('.');
    std::string whole = point == std::string::npos ? text : text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string result;
    if (scale <= 0) {
        const size_t places = static_cast<size_t>(-scale);
        if (fraction.size() > places)
            throw ProgramFileError(line, "VALUE " + literal + " has more decimal places than " + item);
        result = whole + fraction + std::string(places - fraction.size(), '0');
    } else if (fraction.empty() && whole.find_first_not_of('0') == std::string::npos) {
        result = "0"; // zero is a multiple of every scale
    } else {
        const size_t zeros = static_cast<size_t>(scale);
        if (!fraction.empty() || whole.size() < zeros ||
            whole.find_first_not_of('0', whole.size() - zeros) != std::string::npos)
            throw ProgramFileError(line, "VALUE " + literal + " is no multiple of the scale of " + item);
        result = whole.substr(0, whole.size() - zeros);
    }
    const size_t first = result.find_first_not_of('0');
    result = first == std::string::npos ? "0" : result.substr(first);
    if (result.size() > digits)
        throw ProgramFileError(line, "VALUE " + literal + " does not fit " + item);
    if (negative && result != "0") {
        if (!isSigned)
            throw ProgramFileError(line, "a negative VALUE for the unsigned " + item);
        result.insert(0, "-");
    }
    return result;
}

} // namespace

std::vector<std::uint8_t> CobolEntryReader::encode(const Entry& e, const Literal* value) const
{
    const int line = value ? value->line : e.line;
    const std::string what = e.name.empty() ? std::string("FILLER") : e.name;
    auto bad = [line](const std::string& text) -> std::vector<std::uint8_t> { throw ProgramFileError(line, text); };
    const Literal::Kind kind =
        value ? value->kind
              : (e.category == Entry::Numeric || e.category == Entry::Float || e.category == Entry::IndexItem
                     ? Literal::Zero
                     : Literal::Space);
    switch (e.category) {
    case Entry::Numeric: {
        if (kind != Literal::Number && kind != Literal::Zero)
            return bad("the numeric item " + what + " takes a numeric VALUE");
        const std::string scaled = kind == Literal::Zero ? "0"
                                                         : scaledInteger(value->text, e.digits, e.scale, e.isSigned,
                                                                         line, what + " (PIC " + e.picture + ")");
        switch (e.usage) {
        case Entry::Binary: return decimalimage::binary(std::stoll(scaled), e.length);
        case Entry::Packed: return decimalimage::packed(scaled, e.digits, e.isSigned);
        case Entry::National: return decimalimage::national(scaled, e.digits, e.isSigned, e.sign);
        default: return decimalimage::zoned(scaled, e.digits, e.isSigned, e.sign);
        }
    }
    case Entry::Float:
        if (kind == Literal::Zero)
            return std::vector<std::uint8_t>(e.length, 0);
        if (kind != Literal::Number)
            return bad("the floating-point item " + what + " takes a numeric VALUE");
        try {
            return floatimage::hexadecimal(std::stod(value->text), e.length);
        } catch (const std::exception&) {
            return bad("VALUE " + value->text + " is out of the range of " + what);
        }
    case Entry::IndexItem:
        if (kind == Literal::Zero)
            return std::vector<std::uint8_t>(4, 0);
        if (kind != Literal::Number || value->text.find('.') != std::string::npos || value->text.size() > 10)
            return bad("the index item " + what + " takes an integer VALUE");
        return decimalimage::binary(std::stoll(value->text), 4);
    default: break;
    }
    // Text items: display ones in the code page, national ones in UTF-16.
    const bool national = e.category == Entry::NationalText || e.usage == Entry::National;
    const unsigned unit = national ? 2 : 1;
    std::vector<std::uint8_t> blank =
        national ? std::vector<std::uint8_t>{0x00, 0x20} : std::vector<std::uint8_t>{_layout.blank()};
    std::vector<std::uint8_t> fill;
    std::vector<std::uint8_t> text;
    switch (kind) {
    case Literal::Number: return bad(what + " takes a quoted VALUE, not a number");
    case Literal::Space: fill = blank; break;
    case Literal::Zero: fill = national ? std::vector<std::uint8_t>{0x00, 0x30} : _layout.ebcdic("0"); break;
    case Literal::High: fill = std::vector<std::uint8_t>(unit, 0xFF); break;
    case Literal::Low: fill = std::vector<std::uint8_t>(unit, 0x00); break;
    case Literal::Hex: text = hexBytes(value->text, line); break;
    case Literal::Text:
        if (value->national && !national)
            return bad("a national literal for the alphanumeric item " + what);
        try {
            text = national ? utf16(value->text, line) : _layout.ebcdic(value->text);
        } catch (const std::invalid_argument& x) {
            return bad(x.what());
        }
        break;
    }
    std::vector<std::uint8_t> out;
    if (!fill.empty()) {
        while (out.size() < e.length)
            out.insert(out.end(), fill.begin(), fill.end());
        out.resize(e.length);
        return out;
    }
    if (text.size() > e.length)
        return bad("VALUE is longer than " + what + " (" + std::to_string(e.length) + " bytes)");
    out = text;
    while (out.size() < e.length)
        out.insert(out.end(), blank.begin(), blank.end());
    out.resize(e.length);
    return out;
}

void CobolEntryReader::fillImage(const Entry& e, std::vector<std::uint8_t>& image, std::uint64_t offset) const
{
    if (e.category == Entry::Group) {
        for (const std::unique_ptr<Entry>& c : e.children)
            for (unsigned k = 0; k < (c->occurs ? c->occurs : 1); ++k)
                fillImage(*c, image, offset + c->offset + static_cast<std::uint64_t>(k) * c->length);
        return;
    }
    const std::vector<std::uint8_t> bytes = encode(e, e.value ? &*e.value : nullptr);
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(offset));
}

void CobolEntryReader::build(Entry& record)
{
    if (record.length > ProgramFile::sizeLimit - _layout.used())
        throw ProgramFileError(record.line, (record.name.empty() ? std::string("FILLER") : record.name) +
                                                " would make the program larger than " +
                                                std::to_string(ProgramFile::sizeLimit >> 20) + " MiB");
    std::vector<std::uint8_t> image(record.length, 0);
    fillImage(record, image, 0);
    const std::uint64_t offset = _layout.place(image, 8);
    const std::uint64_t address = _layout.address(offset);
    TestHost& host = _layout.host();
    if (!record.name.empty()) {
        record.symbol = &host.records().staticVariable(record.name, record.type, _layout.sectionNumber(), offset,
                                                       static_cast<UBYTE1>(record.level));
        record.symbol->statics.attributeD = 1; // allocated
        host.declare(_context, *record.symbol);
        ProgramFile::Variable v;
        v.name = record.name;
        v.address = address;
        v.size = record.size();
        v.type = record.type;
        v.symbol = record.symbol;
        _program.addVariable(v);
    }
    declare(record, record.symbol, address);
}

void CobolEntryReader::declare(Entry& e, const _SYMBOL_ENTRY* parent, std::uint64_t address)
{
    TestHost& host = _layout.host();
    for (const std::unique_ptr<Entry>& c : e.children) {
        if (c->isCondition()) {
            if (parent == nullptr)
                continue;
            host.declare(_context, host.records().qualifiedName(c->name, *parent, 88));
            continue;
        }
        const std::uint64_t at = address + c->offset;
        const _SYMBOL_ENTRY* own = parent;
        if (!c->name.empty() && parent != nullptr) {
            c->symbol = &host.records().qualifiedName(c->name, *parent, static_cast<UBYTE1>(c->level));
            host.declare(_context, *c->symbol);
            own = c->symbol;
            ProgramFile::Variable v;
            v.name = c->name;
            v.address = at;
            v.size = c->size();
            v.type = c->type;
            v.symbol = c->symbol;
            v.topLevel = false;
            _program.addVariable(v);
        }
        declare(*c, own, at);
    }
}
