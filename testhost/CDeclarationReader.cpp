#include "testhost/CDeclarationReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "testhost/DebuggeeLayout.h"
#include "testhost/DecimalImages.h"
#include "testhost/FloatImages.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

// The reader's view of a C type: its host index and how its values are
// stored.
struct CDeclarationReader::Type {
    enum Kind { Integer, Character, Boolean, Floating, Struct, Pointer, Array } kind = Integer;
    TYPE_INDEX index{};
    std::uint64_t size = 0;
    unsigned align = 1;
    bool isSigned = true;
    std::shared_ptr<Type> target{};   // pointer target, array element
    std::uint64_t count = 0;          // array elements
    struct Member {
        std::string name;
        std::shared_ptr<Type> type;
        std::uint64_t offset;
    };
    std::vector<Member> members{};    // struct
    std::string tag{};
    bool complete = true;             // a struct whose members are known
};

struct CDeclarationReader::Token {
    enum Kind { End, Word, Number, Char, String, Punct } kind = End;
    std::string text{};               // characters and strings: the contents, escapes undone
    int line = 0;
    bool rawByte = false;             // a character given by a numeric escape
};

// An initial value as written.
struct CDeclarationReader::Init {
    enum Kind { Number, Char, Bool, Null, String, AddressOf, List } kind = Number;
    std::string text{};               // number text (with sign), character, string, name
    bool rawByte = false;
    bool indexed = false;             // &name[index]
    long long index = 0;
    std::vector<std::unique_ptr<Init>> items{};
    int line = 0;
};

struct CDeclarationReader::Declared {
    TypeP type;
    std::uint64_t address;
};

namespace {

constexpr std::uint64_t programSizeLimit = ProgramFile::sizeLimit;

std::string tooLarge(const std::string& what)
{
    return what + " would make the program larger than " + std::to_string(programSizeLimit >> 20) + " MiB";
}

// How deep initialiser lists may nest.
constexpr unsigned initialiserDepthLimit = 256;

const char* const punctuation[] = {"{", "}", "[", "]", "(", ")", ";", ",", "=", "*", "&", "-", "+"};

// Undoes one escape at text[i] (after the backslash); returns the character
// and whether it was given by number.
std::pair<std::string, bool> unescape(const std::string& text, size_t& i, int line)
{
    const char c = text[i++];
    switch (c) {
    case 'n': return {"\n", false};
    case 't': return {"\t", false};
    case 'r': return {"\r", false};
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': {
        unsigned v = static_cast<unsigned>(c - '0');
        for (int k = 0; k < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++k)
            v = v * 8 + static_cast<unsigned>(text[i++] - '0');
        if (v > 255)
            throw ProgramFileError(line, "octal escape out of range");
        return {std::string(1, static_cast<char>(v)), true};
    }
    case 'x': {
        unsigned v = 0;
        int n = 0;
        while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])) && n < 2) {
            const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
            v = v * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : h - 'a' + 10);
            ++n;
        }
        if (n == 0)
            throw ProgramFileError(line, "\\x without hexadecimal digits");
        return {std::string(1, static_cast<char>(v)), true};
    }
    case '\\': case '\'': case '"': case '?': return {std::string(1, c), false};
    default: throw ProgramFileError(line, std::string("unknown escape \\") + c);
    }
}

bool fitsInteger(long double v, unsigned size, bool isSigned)
{
    const long double bits = 8.0L * size;
    const long double span = std::pow(2.0L, bits);
    if (isSigned)
        return v >= -span / 2 && v < span / 2;
    // Negative values of an unsigned type wrap as C converts them.
    return v >= -span / 2 && v < span;
}

} // namespace

CDeclarationReader::CDeclarationReader(DebuggeeLayout& layout, ProgramFile& program, LCC_Eval_Context_Info& context)
    : _layout(layout), _program(program), _context(context)
{
}

CDeclarationReader::~CDeclarationReader() = default;

void CDeclarationReader::fail(const std::string& what) const
{
    fail(_cursor.peek().line, what);
}

void CDeclarationReader::fail(int line, const std::string& what) const
{
    throw ProgramFileError(line, what);
}

std::vector<std::uint8_t> CDeclarationReader::ebcdic(const std::string& text, int line) const
{
    try {
        return _layout.ebcdic(text);
    } catch (const std::invalid_argument& x) {
        fail(line, x.what());
    }
}

void CDeclarationReader::read(const std::vector<std::pair<int, std::string>>& lines)
{
    _cursor.tokens().clear();
    int lastLine = 0;
    for (const auto& [line, text] : lines) {
        lastLine = line;
        size_t i = 0;
        while (i < text.size()) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (std::isspace(c)) {
                ++i;
                continue;
            }
            if (text.compare(i, 2, "//") == 0)
                break;
            Token t;
            t.line = line;
            if (std::isalpha(c) || c == '_') {
                const size_t b = i;
                while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_'))
                    ++i;
                t.kind = Token::Word;
                t.text = text.substr(b, i - b);
            } else if (std::isdigit(c) || (c == '.' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
                const size_t b = i;
                while (i < text.size()
                       && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '.'
                           || ((text[i] == '+' || text[i] == '-') && (text[i - 1] == 'e' || text[i - 1] == 'E')
                               && text.compare(b, 2, "0x") != 0 && text.compare(b, 2, "0X") != 0)))
                    ++i;
                t.kind = Token::Number;
                t.text = text.substr(b, i - b);
            } else if (c == '\'' || c == '"') {
                const char quote = static_cast<char>(c);
                ++i;
                std::string contents;
                bool closed = false;
                while (i < text.size()) {
                    if (text[i] == quote) {
                        closed = true;
                        ++i;
                        break;
                    }
                    if (text[i] == '\\') {
                        ++i;
                        if (i >= text.size())
                            break;
                        auto [s, raw] = unescape(text, i, line);
                        contents += s;
                        t.rawByte = raw;
                    } else {
                        contents += text[i++];
                    }
                }
                if (!closed)
                    fail(line, std::string("unterminated ") + (quote == '\'' ? "character" : "string") + " literal");
                t.kind = quote == '\'' ? Token::Char : Token::String;
                if (t.kind == Token::Char) {
                    // One character: one byte, or one UTF-8 sequence.
                    const unsigned char lead = contents.empty() ? 0 : static_cast<unsigned char>(contents[0]);
                    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
                    if (contents.empty() || contents.size() != (t.rawByte ? 1 : length))
                        fail(line, "a character literal holds one character");
                }
                t.text = contents;
            } else {
                bool found = false;
                for (const char* p : punctuation)
                    if (text[i] == p[0]) {
                        t.kind = Token::Punct;
                        t.text = p;
                        ++i;
                        found = true;
                        break;
                    }
                if (!found)
                    fail(line, std::string("unexpected character '") + text[i] + "'");
            }
            _cursor.tokens().push_back(t);
        }
    }
    Token end;
    end.line = lastLine;
    _cursor.tokens().push_back(end);
    while (_cursor.peek().kind != Token::End)
        declaration();
    // A struct's tag names its type in expressions (sizeof(struct S), casts),
    // unless a variable has the same name: the host's search would find the
    // type first and hide the variable.
    TestHost& host = _layout.host();
    for (const auto& [tag, type] : _tags)
        if (_declared.count(tag) == 0)
            host.declare(_context, host.records().typeName(tag, type->index));
}

bool CDeclarationReader::accept(const std::string& text)
{
    if ((_cursor.peek().kind == Token::Punct || _cursor.peek().kind == Token::Word) && _cursor.peek().text == text) {
        _cursor.next();
        return true;
    }
    return false;
}

void CDeclarationReader::expect(const std::string& text)
{
    if (!accept(text))
        fail(_cursor.peek().kind == Token::End ? "\"" + text + "\" expected at the end of the file"
                                       : "\"" + text + "\" expected before \"" + _cursor.peek().text + "\"");
}

std::string CDeclarationReader::identifier(const char* what)
{
    if (_cursor.peek().kind != Token::Word)
        fail(std::string(what) + " expected" + (_cursor.peek().kind == Token::End ? "" : " before \"" + _cursor.peek().text + "\""));
    return _cursor.next().text;
}

void CDeclarationReader::declaration()
{
    if (accept("typedef")) {
        // A name for a type, found by expressions too (sizeof, casts).
        const TypeP base = typeSpecifier();
        for (;;) {
            TypeP t = base;
            while (accept("*"))
                t = pointerTo(t);
            const int line = _cursor.peek().line;
            const std::string name = identifier("a type name");
            if (accept("[")) {
                if (_cursor.peek().kind != Token::Number)
                    fail(line, "a typedef of an array needs its size");
                const long long n = std::strtoll(_cursor.next().text.c_str(), nullptr, 0);
                if (n <= 0 || static_cast<std::uint64_t>(n) > programSizeLimit)
                    fail(line, "bad array size");
                expect("]");
                t = arrayOf(t, static_cast<std::uint64_t>(n), line);
            }
            if (_typedefs.count(name) || _declared.count(name))
                fail(line, name + " declared twice");
            _typedefs[name] = t;
            TestHost& host = _layout.host();
            host.declare(_context, host.records().typeName(name, t->index));
            if (accept(";"))
                return;
            expect(",");
        }
    }
    const TypeP base = typeSpecifier();
    if (accept(";")) {
        if (base->kind != Type::Struct)
            fail("a declaration without a name");
        return;
    }
    for (;;) {
        variable(base);
        if (accept(";"))
            return;
        if (!accept(","))
            expect(";");
    }
}

CDeclarationReader::TypeP CDeclarationReader::typeSpecifier()
{
    const int line = _cursor.peek().line;
    while (accept("const") || accept("volatile") || accept("static")) {
    }
    if (accept("struct"))
        return structSpecifier();
    if (_cursor.peek().kind == Token::Word) {
        auto named = _typedefs.find(_cursor.peek().text);
        if (named != _typedefs.end()) {
            _cursor.next();
            return named->second;
        }
    }
    std::string words;
    static const char* const typeWords[] = {"signed", "unsigned", "char", "short", "int", "long",
                                            "bool", "_Bool", "float", "double"};
    while (_cursor.peek().kind == Token::Word) {
        bool isTypeWord = false;
        for (const char* w : typeWords)
            if (_cursor.peek().text == w)
                isTypeWord = true;
        if (!isTypeWord) {
            if (_cursor.peek().text == "const" || _cursor.peek().text == "volatile") {
                _cursor.next();
                continue;
            }
            break;
        }
        words += (words.empty() ? "" : " ") + _cursor.next().text;
    }
    if (words.empty())
        fail(_cursor.peek().kind == Token::End ? "a type expected" : "unknown type \"" + _cursor.peek().text + "\"");
    return primitive(words, line);
}

CDeclarationReader::TypeP CDeclarationReader::primitive(const std::string& words, int line)
{
    // Count the words, whatever their order.
    int nSigned = 0, nUnsigned = 0, nChar = 0, nShort = 0, nInt = 0, nLong = 0, nBool = 0, nFloat = 0, nDouble = 0;
    size_t b = 0;
    while (b < words.size()) {
        size_t e = words.find(' ', b);
        if (e == std::string::npos)
            e = words.size();
        const std::string w = words.substr(b, e - b);
        b = e + 1;
        if (w == "signed") ++nSigned;
        else if (w == "unsigned") ++nUnsigned;
        else if (w == "char") ++nChar;
        else if (w == "short") ++nShort;
        else if (w == "int") ++nInt;
        else if (w == "long") ++nLong;
        else if (w == "bool" || w == "_Bool") ++nBool;
        else if (w == "float") ++nFloat;
        else if (w == "double") ++nDouble;
    }
    auto make = [](Type::Kind kind, unsigned code, unsigned size, bool isSigned) {
        auto t = std::make_shared<Type>();
        t->kind = kind;
        t->index = TYPE_INDEX{0, code};
        t->size = t->align = size;
        t->isSigned = isSigned;
        return t;
    };
    const bool wide = _layout.bits() == 64;
    const int sign = nSigned + nUnsigned;
    if (sign > 1 || nShort > 1 || nInt > 1 || nChar > 1 || nLong > 2)
        fail(line, "bad type \"" + words + "\"");
    const int others = nChar + nShort + nLong + nBool + nFloat + nDouble;
    if (nBool == 1 && others == 1 && sign == 0 && nInt == 0)
        return make(Type::Boolean, 144, 1, false);
    if (nFloat == 1 && others == 1 && sign == 0 && nInt == 0)
        return make(Type::Floating, 136, 4, true);
    if (nDouble == 1 && others == 1 && sign == 0 && nInt == 0)
        return make(Type::Floating, 137, 8, true);
    if (nChar == 1 && others == 1 && nInt == 0) {
        if (nSigned)
            return make(Type::Character, 128, 1, true);
        // Plain char is unsigned on the target: the host describes it as unsigned
        // char, as the evaluator takes no kind of the bare "char" primitive.
        return make(Type::Character, 132, 1, false);
    }
    if (nBool + nFloat + nDouble + nChar == 0) {
        if (nShort == 1 && nLong == 0)
            return nUnsigned ? make(Type::Integer, 133, 2, false) : make(Type::Integer, 129, 2, true);
        if (nShort == 0 && nLong == 0)
            return nUnsigned ? make(Type::Integer, 134, 4, false) : make(Type::Integer, 130, 4, true);
        if (nShort == 0 && (nLong == 2 || wide))
            return nUnsigned ? make(Type::Integer, 156, 8, false) : make(Type::Integer, 155, 8, true);
        if (nShort == 0 && nLong == 1)
            return nUnsigned ? make(Type::Integer, 134, 4, false) : make(Type::Integer, 130, 4, true);
    }
    fail(line, "bad type \"" + words + "\"");
}

CDeclarationReader::TypeP CDeclarationReader::structSpecifier()
{
    const int line = _cursor.peek().line;
    std::string tag;
    if (_cursor.peek().kind == Token::Word)
        tag = _cursor.next().text;
    if (!accept("{")) {
        if (tag.empty())
            fail("a struct needs a tag or members");
        auto known = _tags.find(tag);
        if (known == _tags.end())
            fail(line, "unknown struct " + tag);
        return known->second;
    }
    if (!tag.empty() && _tags.count(tag))
        fail(line, "struct " + tag + " defined twice");
    auto type = std::make_shared<Type>();
    type->kind = Type::Struct;
    type->tag = tag;
    std::uint64_t offset = 0;
    while (!accept("}")) {
        const TypeP memberBase = typeSpecifier();
        for (;;) {
            TypeP t = memberBase;
            while (accept("*"))
                t = pointerTo(t);
            const int memberLine = _cursor.peek().line;
            const std::string name = identifier("a member name");
            if (accept("[")) {
                if (_cursor.peek().kind != Token::Number)
                    fail("a member array needs its size");
                const long long n = std::strtoll(_cursor.next().text.c_str(), nullptr, 0);
                if (n <= 0 || static_cast<std::uint64_t>(n) > programSizeLimit)
                    fail(memberLine, "bad array size");
                expect("]");
                t = arrayOf(t, static_cast<std::uint64_t>(n), memberLine);
            }
            if (t->kind == Type::Struct && !t->complete)
                fail(memberLine, "member " + name + " of an incomplete struct");
            for (const Type::Member& m : type->members)
                if (m.name == name)
                    fail(memberLine, "member " + name + " declared twice");
            offset = (offset + t->align - 1) / t->align * t->align;
            type->members.push_back({name, t, offset});
            if (t->size > programSizeLimit - offset)
                fail(memberLine, tooLarge("struct " + (tag.empty() ? std::string("without tag") : tag)));
            offset += t->size;
            type->align = std::max(type->align, t->align);
            if (accept(";"))
                break;
            expect(",");
        }
    }
    if (type->members.empty())
        fail(line, "a struct without members");
    type->size = (offset + type->align - 1) / type->align * type->align;

    HostRecordStore::ClassSpec spec;
    spec.name = tag;
    spec.byteSize = static_cast<UBYTE4>(type->size);
    spec.isStruct = true;
    for (const Type::Member& m : type->members)
        spec.members.push_back(HostRecordStore::Member{m.name, m.type->index, static_cast<UBYTE4>(m.offset)});
    type->index = _layout.host().records().classType(spec);
    if (!tag.empty())
        _tags[tag] = type;
    return type;
}

CDeclarationReader::TypeP CDeclarationReader::pointerTo(const TypeP& target)
{
    auto t = std::make_shared<Type>();
    t->kind = Type::Pointer;
    t->size = t->align = _layout.pointerBytes();
    t->isSigned = false;
    t->target = target;
    t->index = _layout.host().records().pointerType(target->index, _layout.pointerBytes());
    return t;
}

CDeclarationReader::TypeP CDeclarationReader::arrayOf(const TypeP& element, std::uint64_t count, int line)
{
    if (element->size != 0 && count > programSizeLimit / element->size)
        fail(line, tooLarge("an array of " + std::to_string(count) + " elements"));
    auto t = std::make_shared<Type>();
    t->kind = Type::Array;
    t->size = element->size * count;
    t->align = element->align;
    t->target = element;
    t->count = count;
    t->index = _layout.host().records().arrayType(element->index, static_cast<UBYTE4>(t->size));
    return t;
}

void CDeclarationReader::variable(const TypeP& base)
{
    TypeP type = base;
    while (accept("*"))
        type = pointerTo(type);
    const int line = _cursor.peek().line;
    const std::string name = identifier("a variable name");
    if (_declared.count(name) || _typedefs.count(name))
        fail(line, name + " declared twice");
    bool isArray = false;
    long long count = -1;
    if (accept("[")) {
        isArray = true;
        if (_cursor.peek().kind == Token::Number) {
            count = std::strtoll(_cursor.next().text.c_str(), nullptr, 0);
            if (count <= 0 || static_cast<std::uint64_t>(count) > programSizeLimit)
                fail(line, "bad array size");
        }
        expect("]");
    }
    std::unique_ptr<Init> init;
    if (accept("="))
        init = initialiser();
    if (isArray) {
        if (count < 0) {
            if (!init)
                fail(line, "the array " + name + " needs a size or an initialiser");
            if (init->kind == Init::List)
                count = static_cast<long long>(init->items.size());
            else if (init->kind == Init::String && type->kind == Type::Character)
                count = static_cast<long long>(ebcdic(init->text, line).size() + 1);
            else
                fail(line, "an array is initialised by a list");
            if (count == 0)
                fail(line, "an array without elements");
        }
        type = arrayOf(type, static_cast<std::uint64_t>(count), line);
    }
    if (type->size > programSizeLimit - _layout.used())
        fail(line, tooLarge(name));
    const std::vector<std::uint8_t> bytes = image(*type, init.get(), line);
    const std::uint64_t offset = _layout.place(bytes, type->align);
    TestHost& host = _layout.host();
    _SYMBOL_ENTRY& entry = host.records().staticVariable(name, type->index, _layout.sectionNumber(), offset);
    host.declare(_context, entry);
    _declared[name] = std::make_shared<Declared>(Declared{type, _layout.address(offset)});
    ProgramFile::Variable v;
    v.name = name;
    v.address = _layout.address(offset);
    v.size = type->size;
    v.type = type->index;
    v.symbol = &entry;
    _program.addVariable(v);
}

std::unique_ptr<CDeclarationReader::Init> CDeclarationReader::initialiser()
{
    auto init = std::make_unique<Init>();
    init->line = _cursor.peek().line;
    if (accept("{")) {
        if (_initialiserDepth >= initialiserDepthLimit)
            fail(init->line, "initialiser lists nest deeper than " + std::to_string(initialiserDepthLimit));
        struct Nested {
            unsigned& depth;
            explicit Nested(unsigned& d) : depth(d) { ++depth; }
            ~Nested() { --depth; }
        } nested(_initialiserDepth);
        init->kind = Init::List;
        if (accept("}"))
            return init;
        for (;;) {
            init->items.push_back(initialiser());
            if (accept("}"))
                return init;
            expect(",");
            if (accept("}"))
                return init;
        }
    }
    if (accept("&")) {
        init->kind = Init::AddressOf;
        init->text = identifier("a variable name after &");
        if (accept("[")) {
            const bool negative = accept("-");
            if (_cursor.peek().kind != Token::Number)
                fail("an index expected");
            init->indexed = true;
            init->index = std::strtoll(_cursor.next().text.c_str(), nullptr, 0) * (negative ? -1 : 1);
            expect("]");
        }
        return init;
    }
    const Token& t = _cursor.peek();
    if (t.kind == Token::Word && (t.text == "true" || t.text == "false")) {
        init->kind = Init::Bool;
        init->text = _cursor.next().text;
        return init;
    }
    if (t.kind == Token::Word && (t.text == "NULL" || t.text == "nullptr")) {
        _cursor.next();
        init->kind = Init::Null;
        return init;
    }
    if (t.kind == Token::Word) {
        // An array's name stands for the address of its first element.
        init->kind = Init::AddressOf;
        init->text = _cursor.next().text;
        init->indexed = true;
        return init;
    }
    if (t.kind == Token::Char) {
        init->kind = Init::Char;
        init->rawByte = t.rawByte;
        init->text = _cursor.next().text;
        return init;
    }
    if (t.kind == Token::String) {
        init->kind = Init::String;
        init->text = _cursor.next().text;
        while (_cursor.peek().kind == Token::String)  // adjacent strings join
            init->text += _cursor.next().text;
        return init;
    }
    std::string sign;
    if (accept("-"))
        sign = "-";
    else
        accept("+");
    if (_cursor.peek().kind == Token::Char && !sign.empty()) {
        fail("a sign before a character literal");
    }
    if (_cursor.peek().kind != Token::Number)
        fail(_cursor.peek().kind == Token::End ? "a value expected" : "a value expected before \"" + _cursor.peek().text + "\"");
    init->kind = Init::Number;
    init->text = sign + _cursor.next().text;
    return init;
}

std::vector<std::uint8_t> CDeclarationReader::image(const Type& type, const Init* init, int line)
{
    std::vector<std::uint8_t> bytes(type.size, 0);
    if (init == nullptr)
        return bytes;
    switch (type.kind) {
    case Type::Array: {
        const Type& element = *type.target;
        if (init->kind == Init::String && element.kind == Type::Character) {
            std::vector<std::uint8_t> text = ebcdic(init->text, init->line);
            if (text.size() > type.count)
                fail(init->line, "the string is longer than the array");
            std::copy(text.begin(), text.end(), bytes.begin());
            return bytes;
        }
        if (init->kind != Init::List)
            fail(init->line, "an array is initialised by a list");
        if (init->items.size() > type.count)
            fail(init->line, "more values than the array has elements");
        for (size_t i = 0; i < init->items.size(); ++i) {
            const std::vector<std::uint8_t> e = image(element, init->items[i].get(), line);
            std::copy(e.begin(), e.end(), bytes.begin() + static_cast<long>(i * element.size));
        }
        return bytes;
    }
    case Type::Struct: {
        if (init->kind != Init::List)
            fail(init->line, "a struct is initialised by a list");
        if (init->items.size() > type.members.size())
            fail(init->line, "more values than the struct has members");
        for (size_t i = 0; i < init->items.size(); ++i) {
            const Type::Member& m = type.members[i];
            const std::vector<std::uint8_t> e = image(*m.type, init->items[i].get(), line);
            std::copy(e.begin(), e.end(), bytes.begin() + m.offset);
        }
        return bytes;
    }
    case Type::Pointer:
        return pointerImage(type, *init, line);
    default:
        return scalarImage(type, *init, line);
    }
}

std::vector<std::uint8_t> CDeclarationReader::scalarImage(const Type& type, const Init& init, int)
{
    const int line = init.line;
    long double value = 0;
    bool isFloat = false;
    switch (init.kind) {
    case Init::Bool:
        value = init.text == "true" ? 1 : 0;
        break;
    case Init::Char: {
        if (init.rawByte) {
            value = static_cast<unsigned char>(init.text[0]);
        } else {
            const std::vector<std::uint8_t> code = ebcdic(init.text, line);
            if (code.size() != 1)
                fail(line, "'" + init.text + "' is not one byte in the program's code page");
            value = code[0];
        }
        break;
    }
    case Init::Number: {
        const std::string& text = init.text;
        const bool hex = text.find("0x") != std::string::npos || text.find("0X") != std::string::npos;
        isFloat = !hex && text.find_first_of(".eE") != std::string::npos;
        char* end = nullptr;
        errno = 0;
        if (isFloat) {
            value = std::strtold(text.c_str(), &end);
            while (*end == 'f' || *end == 'F' || *end == 'l' || *end == 'L')
                ++end;
        } else {
            const bool negative = text[0] == '-';
            const unsigned long long magnitude = std::strtoull(text.c_str() + (negative ? 1 : 0), &end, 0);
            value = negative ? -static_cast<long double>(magnitude) : static_cast<long double>(magnitude);
            while (*end == 'u' || *end == 'U' || *end == 'l' || *end == 'L')
                ++end;
        }
        if (*end != '\0' || errno == ERANGE)
            fail(line, "bad number " + text);
        break;
    }
    default:
        fail(line, "a number expected for a value of this type");
    }
    switch (type.kind) {
    case Type::Floating:
        return floatimage::ieee(static_cast<double>(value), type.size);
    case Type::Boolean:
        if (isFloat || (value != 0 && value != 1))
            fail(line, "a bool is true, false, 0 or 1");
        return {static_cast<std::uint8_t>(value)};
    default: {
        if (isFloat)
            fail(line, init.text + " is not an integer");
        if (!fitsInteger(value, type.size, type.isSigned))
            fail(line, init.text + " does not fit in " + std::to_string(type.size) + " bytes");
        const long long v = static_cast<long long>(value >= 0x1p63L ? value - 0x1p64L : value);
        return decimalimage::binary(v, type.size);
    }
    }
}

namespace {

bool sameType(const CDeclarationReader::Type& a, const CDeclarationReader::Type& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind == CDeclarationReader::Type::Pointer)
        return sameType(*a.target, *b.target);
    if (a.kind == CDeclarationReader::Type::Array)
        return a.count == b.count && sameType(*a.target, *b.target);
    return a.index.module == b.index.module && a.index.index == b.index.index;
}

} // namespace

std::vector<std::uint8_t> CDeclarationReader::pointerImage(const Type& type, const Init& init, int)
{
    const int line = init.line;
    if (init.kind == Init::Null || (init.kind == Init::Number && init.text == "0"))
        return std::vector<std::uint8_t>(type.size, 0);
    if (init.kind != Init::AddressOf)
        fail(line, "a pointer is initialised by &variable, &array[index], an array or 0");
    auto found = _declared.find(init.text);
    if (found == _declared.end())
        fail(line, "unknown variable " + init.text);
    const Declared& target = *found->second;
    std::uint64_t address = target.address;
    const Type* pointee = target.type.get();
    if (init.indexed) {
        if (pointee->kind != Type::Array)
            fail(line, init.text + " is not an array");
        if (init.index < 0 || init.index > static_cast<long long>(pointee->count))
            fail(line, "index " + std::to_string(init.index) + " is outside " + init.text);
        address += static_cast<std::uint64_t>(init.index) * pointee->target->size;
        pointee = pointee->target.get();
    }
    if (!sameType(*pointee, *type.target))
        fail(line, "the pointer's type does not match that of " + init.text);
    return decimalimage::binary(static_cast<std::int64_t>(address), type.size);
}
