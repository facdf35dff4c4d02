#include "testhost/CDeclarationReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "testhost/CDeclarationParts.h"
#include "testhost/DebuggeeLayout.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

using namespace cdeclaration;

namespace {

// How deep initialiser lists may nest.
constexpr unsigned initialiserDepthLimit = 256;

const char* const punctuation[] = {"{", "}", "[", "]", "(", ")", ";", ",", "=", "*", "&", "-", "+", ":"};

// Undoes one escape at text[i] (after the backslash); returns the character
// and whether it was given by number.
std::pair<std::string, bool> unescape(const std::string& text, size_t& i, int line)
{
    const char c = text[i++];
    switch (c) {
    case 'n': return {"\n", false};
    case 't': return {"\t", false};
    case 'r': return {"\r", false};
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7': {
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
    case '\\':
    case '\'':
    case '"':
    case '?': return {std::string(1, c), false};
    default: throw ProgramFileError(line, std::string("unknown escape \\") + c);
    }
}

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

CDeclarationReader::CDeclarationReader(DebuggeeLayout& layout, ProgramFile& program, LCC_Eval_Context_Info& context)
    : _layout(layout), _program(program), _context(context)
{}

CDeclarationReader::~CDeclarationReader()
{
    // An aggregate that points to itself holds itself through its members:
    // let go of them so that its type is freed.
    for (auto& [tag, type] : _tags)
        type->members.clear();
}

bool CDeclarationReader::isCpp() const
{
    return _program.language() == "c++";
}

bool CDeclarationReader::isFortran() const
{
    return _program.language() == "fortran";
}

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

void CDeclarationReader::tokenise(const std::vector<std::pair<int, std::string>>& lines)
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
            if (text.compare(i, 2, "//") == 0 || (c == '!' && isFortran()))
                break;
            Token t;
            t.line = line;
            if (c == '.' && isFortran()) {
                // Fortran's logical constants.
                const std::string rest = lowered(text.substr(i, 7));
                const char* word = rest.rfind(".true.", 0) == 0    ? "true"
                                   : rest.rfind(".false.", 0) == 0 ? "false"
                                                                   : nullptr;
                if (word == nullptr && !(i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))))
                    fail(line, "unexpected character '.'");
                if (word != nullptr) {
                    t.kind = Token::Word;
                    t.text = word;
                    i += t.text.size() + 2;
                    _cursor.tokens().push_back(t);
                    continue;
                }
            }
            if (std::isalpha(c) || c == '_') {
                const size_t b = i;
                while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_'))
                    ++i;
                t.kind = Token::Word;
                t.text = text.substr(b, i - b);
            } else if (std::isdigit(c) ||
                       (c == '.' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
                const size_t b = i;
                while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '.' ||
                                           ((text[i] == '+' || text[i] == '-') &&
                                            (text[i - 1] == 'e' || text[i - 1] == 'E' ||
                                             (isFortran() && (text[i - 1] == 'd' || text[i - 1] == 'D'))) &&
                                            text.compare(b, 2, "0x") != 0 && text.compare(b, 2, "0X") != 0)))
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
                // Fortran quotes its character constants either way.
                t.kind = quote == '\'' && !isFortran() ? Token::Char : Token::String;
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
}

void CDeclarationReader::read(const std::vector<std::pair<int, std::string>>& lines)
{
    tokenise(lines);
    while (_cursor.peek().kind != Token::End)
        declaration();
    // A tag names its type in expressions (sizeof(struct S), casts), unless
    // a variable has the same name: the host's search would find the type
    // first and hide the variable.
    TestHost& host = _layout.host();
    for (const auto& [tag, type] : _tags)
        if (_declared.count(tag) == 0 && _typedefs.count(tag) == 0)
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
        fail(std::string(what) + " expected" +
             (_cursor.peek().kind == Token::End ? "" : " before \"" + _cursor.peek().text + "\""));
    return _cursor.next().text;
}

void CDeclarationReader::declaration()
{
    if (isFortran() && startsFortranDeclaration()) {
        fortranDeclaration();
        return;
    }
    if (accept("typedef")) {
        // A name for a type, found by expressions too (sizeof, casts).
        const TypeP base = typeSpecifier();
        for (;;) {
            TypeP t = base;
            while (accept("*"))
                t = pointerTo(t);
            const int line = _cursor.peek().line;
            const std::string name = identifier("a type name");
            const std::vector<std::uint64_t> counts = dimensions(false, line);
            if (!counts.empty())
                t = arrayOfDimensions(t, counts, line);
            if (_typedefs.count(name) || _declared.count(name) || _enumerators.count(name))
                fail(line, name + " declared twice");
            _typedefs[name] = t;
            TestHost& host = _layout.host();
            host.declare(_context, host.records().typeName(name, t->index));
            if (accept(";"))
                return;
            expect(",");
        }
    }
    const Token& first = _cursor.peek();
    const bool tagged = first.kind == Token::Word && (first.text == "struct" || first.text == "union" ||
                                                      first.text == "enum" || (first.text == "class" && isCpp()));
    const TypeP base = typeSpecifier();
    if (accept(";")) {
        if (!tagged)
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
        return aggregateSpecifier("struct");
    if (accept("union"))
        return aggregateSpecifier("union");
    if (isCpp() && accept("class"))
        return aggregateSpecifier("class");
    if (accept("enum"))
        return enumSpecifier();
    if (_cursor.peek().kind == Token::Word) {
        auto named = _typedefs.find(_cursor.peek().text);
        if (named != _typedefs.end()) {
            _cursor.next();
            return named->second;
        }
        // In C++ a class, struct, union or enum name is a type name.
        auto tagged = _tags.find(_cursor.peek().text);
        if (isCpp() && tagged != _tags.end()) {
            _cursor.next();
            return tagged->second;
        }
    }
    std::string words;
    static const char* const typeWords[] = {"signed", "unsigned", "char",  "short", "int",
                                            "long",   "bool",     "_Bool", "float", "double"};
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
        if (w == "signed")
            ++nSigned;
        else if (w == "unsigned")
            ++nUnsigned;
        else if (w == "char")
            ++nChar;
        else if (w == "short")
            ++nShort;
        else if (w == "int")
            ++nInt;
        else if (w == "long")
            ++nLong;
        else if (w == "bool" || w == "_Bool")
            ++nBool;
        else if (w == "float")
            ++nFloat;
        else if (w == "double")
            ++nDouble;
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
    if (nDouble == 1 && nLong == 1 && others == 2 && sign == 0 && nInt == 0) {
        // With 4-byte addresses the 12-byte slot of the second long double
        // (an 80-bit extended value and two pad bytes), as a 32-bit compiler
        // lays it out.
        if (!wide) {
            TypeP t = make(Type::Floating, 139, 12, true);
            t->align = 4;
            return t;
        }
        // IEEE binary128, aligned as a big-endian 64-bit target aligns it.
        TypeP t = make(Type::Floating, 138, 16, true);
        t->align = 8;
        return t;
    }
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

CDeclarationReader::TypeP CDeclarationReader::pointerTo(const TypeP& target)
{
    auto t = std::make_shared<Type>();
    t->kind = Type::Pointer;
    t->size = t->align = _layout.pointerBytes();
    t->isSigned = false;
    t->target = target;
    t->index = _layout.host().records().pointerType(target->index, _layout.pointerBytes());
    if (target->kind == Type::Struct && !target->complete)
        target->pointersWhileIncomplete.push_back(t->index);
    return t;
}

std::vector<std::uint64_t> CDeclarationReader::dimensions(bool firstMayBeOpen, int line)
{
    std::vector<std::uint64_t> counts;
    while (accept("[")) {
        if (_cursor.peek().kind == Token::Number) {
            const long long n = std::strtoll(_cursor.next().text.c_str(), nullptr, 0);
            if (n <= 0 || static_cast<std::uint64_t>(n) > programSizeLimit)
                fail(line, "bad array size");
            counts.push_back(static_cast<std::uint64_t>(n));
        } else if (counts.empty() && firstMayBeOpen) {
            counts.push_back(0);
        } else {
            fail(line, "an array needs its size");
        }
        expect("]");
    }
    return counts;
}

CDeclarationReader::TypeP CDeclarationReader::arrayOfDimensions(const TypeP& element,
                                                                const std::vector<std::uint64_t>& counts, int line)
{
    if (isFortran()) {
        std::vector<std::pair<std::int64_t, std::uint64_t>> bounds;
        for (std::uint64_t n : counts)
            bounds.emplace_back(1, n);
        return fortranArray(element, bounds, line);
    }
    TypeP t = element;
    for (size_t i = counts.size(); i-- > 0;)
        t = arrayOf(t, counts[i], line);
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
    std::vector<std::uint64_t> counts = dimensions(true, line);
    std::unique_ptr<Init> init;
    if (accept("="))
        init = initialiser();
    if (!counts.empty() && counts[0] == 0) {
        // The first dimension counted from the initialiser.
        if (!init)
            fail(line, "the array " + name + " needs a size or an initialiser");
        std::uint64_t inner = 1;
        for (size_t i = 1; i < counts.size(); ++i)
            inner *= counts[i];
        if (init->kind == Init::List) {
            const bool braced =
                init->items.empty() || init->items[0]->kind == Init::List || init->items[0]->kind == Init::String;
            counts[0] = braced ? init->items.size() : (init->items.size() + inner - 1) / inner;
        } else if (init->kind == Init::String && type->kind == Type::Character && counts.size() == 1) {
            counts[0] = ebcdic(init->text, line).size() + 1;
        } else {
            fail(line, "an array is initialised by a list");
        }
        if (counts[0] == 0)
            fail(line, "an array without elements");
    }
    if (!counts.empty())
        type = arrayOfDimensions(type, counts, line);
    define(name, type, init.get(), line);
}

void CDeclarationReader::define(const std::string& name, const TypeP& type, const Init* init, int line)
{
    if (_declared.count(name) || _typedefs.count(name) || _enumerators.count(name))
        fail(line, name + " declared twice");
    if (type->kind == Type::Struct && !type->complete)
        fail(line, name + " is of an incomplete type");
    if (type->size > programSizeLimit - _layout.used())
        fail(line, tooLarge(name));
    const std::vector<std::uint8_t> bytes = image(*type, init, line);
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
    const bool fortranList = isFortran() && _cursor.peek().kind == Token::Punct && _cursor.peek().text == "[";
    if (accept("{") || (fortranList && accept("["))) {
        const std::string close = fortranList ? "]" : "}";
        if (_initialiserDepth >= initialiserDepthLimit)
            fail(init->line, "initialiser lists nest deeper than " + std::to_string(initialiserDepthLimit));
        struct Nested {
            unsigned& depth;
            explicit Nested(unsigned& d) : depth(d) { ++depth; }
            ~Nested() { --depth; }
        } nested(_initialiserDepth);
        init->kind = Init::List;
        if (accept(close))
            return init;
        for (;;) {
            init->items.push_back(initialiser());
            if (accept(close))
                return init;
            expect(",");
            if (accept(close))
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
    if (t.kind == Token::Word && _enumerators.count(t.text)) {
        init->kind = Init::Number;
        init->text = std::to_string(_enumerators.at(_cursor.next().text));
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
        while (_cursor.peek().kind == Token::String) // adjacent strings join
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
    if (_cursor.peek().kind == Token::Word && _enumerators.count(_cursor.peek().text)) {
        const std::int64_t v = _enumerators.at(_cursor.next().text);
        init->kind = Init::Number;
        init->text = sign.empty() ? std::to_string(v) : std::to_string(-v);
        return init;
    }
    if (_cursor.peek().kind != Token::Number)
        fail(_cursor.peek().kind == Token::End ? "a value expected"
                                               : "a value expected before \"" + _cursor.peek().text + "\"");
    init->kind = Init::Number;
    init->text = sign + _cursor.next().text;
    return init;
}
