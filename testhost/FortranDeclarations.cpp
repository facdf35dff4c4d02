// Fortran declarations of program files and Fortran arrays: bounds of their
// own (lower bound 1 unless given), stored column by column, each dimension
// a descriptor array record whose bounds and byte stride are constants.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "testhost/CDeclarationParts.h"
#include "testhost/CDeclarationReader.h"
#include "testhost/DebuggeeLayout.h"
#include "testhost/DwarfExpression.h"
#include "testhost/TestHost.h"

using namespace cdeclaration;

namespace {

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

bool CDeclarationReader::startsFortranDeclaration() const
{
    if (_cursor.peek().kind != Token::Word)
        return false;
    const std::string word = lowered(_cursor.peek().text);
    if (word == "integer" || word == "real" || word == "logical" || word == "character")
        return true;
    return word == "double" && _cursor.peek(1).kind == Token::Word && lowered(_cursor.peek(1).text) == "precision";
}

// integer, integer(kind=N), integer(N), integer*N; real and logical the
// same; double precision; character, character(len=N), character(N),
// character*N.
CDeclarationReader::TypeP CDeclarationReader::fortranType()
{
    const int line = _cursor.peek().line;
    const std::string word = lowered(_cursor.next().text);
    if (word == "double")
        _cursor.next(); // precision
    const bool isCharacter = word == "character";
    std::uint64_t kind = word == "double" ? 8 : isCharacter ? 1 : 4;
    auto number = [&](const char* what) {
        if (_cursor.peek().kind != Token::Number)
            fail(line, std::string(what) + " expected after " + word);
        const std::string text = _cursor.next().text;
        char* end = nullptr;
        errno = 0;
        const unsigned long long n = std::strtoull(text.c_str(), &end, 10);
        if (*end != '\0' || errno == ERANGE || n == 0 || n > programSizeLimit)
            fail(line, "bad " + std::string(what) + " " + text);
        return static_cast<std::uint64_t>(n);
    };
    const char* what = isCharacter ? "a length" : "a kind";
    if (word != "double") {
        if (accept("*")) {
            kind = number(what);
        } else if (accept("(")) {
            if (_cursor.peek(1).kind == Token::Punct && _cursor.peek(1).text == "=") {
                const std::string key = lowered(identifier(what));
                if (key != (isCharacter ? "len" : "kind"))
                    fail(line, "\"" + key + "\" in the type of " + word);
                expect("=");
            }
            kind = number(what);
            expect(")");
        }
    }
    auto t = std::make_shared<Type>();
    auto primitiveOf = [&](Type::Kind k, unsigned code, std::uint64_t size, bool isSigned) {
        t->kind = k;
        t->index = TYPE_INDEX{0, code};
        t->size = size;
        t->align = static_cast<unsigned>(std::min<std::uint64_t>(size, 8));
        t->isSigned = isSigned;
        return t;
    };
    if (word == "integer") {
        switch (kind) {
        case 1: return primitiveOf(Type::Integer, 128, 1, true);
        case 2: return primitiveOf(Type::Integer, 129, 2, true);
        case 4: return primitiveOf(Type::Integer, 130, 4, true);
        case 8: return primitiveOf(Type::Integer, 155, 8, true);
        default: break;
        }
    } else if (word == "real" || word == "double") {
        switch (kind) {
        case 4: return primitiveOf(Type::Floating, 136, 4, true);
        case 8: return primitiveOf(Type::Floating, 137, 8, true);
        case 16: return primitiveOf(Type::Floating, 138, 16, true);
        default: break;
        }
    } else if (word == "logical") {
        switch (kind) {
        case 1: return primitiveOf(Type::Boolean, 144, 1, false);
        case 2: return primitiveOf(Type::Boolean, 145, 2, false);
        case 4: return primitiveOf(Type::Boolean, 146, 4, false);
        case 8: return primitiveOf(Type::Boolean, 157, 8, false);
        default: break;
        }
    } else {
        auto character = std::make_shared<Type>();
        character->kind = Type::Character;
        character->index = TYPE_INDEX{0, 132};
        character->size = character->align = 1;
        character->isSigned = false;
        t->kind = Type::Array;
        t->target = character;
        t->count = t->size = kind;
        t->align = 1;
        t->blankPadded = true;
        t->index = _layout.host().records().arrayType(TYPE_INDEX{0, 132}, static_cast<UBYTE4>(kind));
        return t;
    }
    fail(line, "no " + word + " of kind " + std::to_string(kind));
}

// TYPE [::] name[(bounds)] [= value], ...  one declaration to a line, ";"
// optional; a bound is "upper" (lower 1) or "lower:upper".
void CDeclarationReader::fortranDeclaration()
{
    const int line = _cursor.peek().line;
    const TypeP base = fortranType();
    if (accept(":"))
        expect(":");
    for (;;) {
        const int nameLine = _cursor.peek().line;
        const std::string name = identifier("a variable name");
        std::vector<std::pair<std::int64_t, std::uint64_t>> bounds;
        if (accept("(")) {
            auto bound = [&]() {
                const bool negative = accept("-");
                if (_cursor.peek().kind != Token::Number)
                    fail(nameLine, "a bound of " + name + " expected");
                const std::string text = _cursor.next().text;
                char* end = nullptr;
                errno = 0;
                const long long n = std::strtoll(text.c_str(), &end, 10);
                if (*end != '\0' || errno == ERANGE || n > static_cast<long long>(programSizeLimit))
                    fail(nameLine, "bad bound " + text + " of " + name);
                return negative ? -n : n;
            };
            do {
                std::int64_t lower = 1;
                std::int64_t upper = bound();
                if (accept(":")) {
                    lower = upper;
                    upper = bound();
                }
                if (upper < lower)
                    fail(nameLine, "the bounds " + std::to_string(lower) + ":" + std::to_string(upper) + " of " + name +
                                       " hold no element");
                bounds.emplace_back(lower, static_cast<std::uint64_t>(upper - lower + 1));
            } while (accept(","));
            expect(")");
        }
        const TypeP type = bounds.empty() ? base : fortranArray(base, bounds, nameLine);
        std::unique_ptr<Init> init;
        if (accept("="))
            init = initialiser();
        define(name, type, init.get(), nameLine);
        if (accept(","))
            continue;
        if (!accept(";") && _cursor.peek().kind != Token::End && _cursor.peek().line == line)
            fail(line, "the end of the declaration expected before \"" + _cursor.peek().text + "\"");
        return;
    }
}

CDeclarationReader::TypeP
CDeclarationReader::fortranArray(const TypeP& element,
                                 const std::vector<std::pair<std::int64_t, std::uint64_t>>& bounds, int line)
{
    std::uint64_t total = 1;
    for (const auto& [lower, extent] : bounds) {
        if (extent > programSizeLimit / total ||
            (element->size != 0 && total * extent > programSizeLimit / element->size))
            fail(line, tooLarge("an array of " + std::to_string(total) + " x " + std::to_string(extent) + " elements"));
        total *= extent;
    }
    // Each dimension's byte stride: the first's the element's size, each
    // next one's the previous stride times the previous extent.
    std::vector<std::uint64_t> strides(bounds.size());
    std::uint64_t stride = element->size;
    for (size_t k = 0; k < bounds.size(); ++k) {
        strides[k] = stride;
        stride *= bounds[k].second;
    }
    // The record of the last dimension holds the array: its element is the
    // array of the dimensions before it, down to the first, whose element
    // is the scalar. Each record carries its dimension's number and the
    // rank of the array it describes.
    HostRecordStore& records = _layout.host().records();
    TYPE_INDEX inner = element->index;
    for (size_t k = 0; k < bounds.size(); ++k) {
        HostRecordStore::FortranBlocks blocks;
        const auto [lower, extent] = bounds[k];
        blocks.lowerBound = dwarf::Builder().constS(lower).bytes();
        blocks.upperBound = dwarf::Builder().constS(lower + static_cast<std::int64_t>(extent) - 1).bytes();
        blocks.stride = dwarf::Builder().constU(strides[k]).bytes();
        blocks.dimension = static_cast<UBYTE2>(k + 1);
        // The data lies at the variable itself.
        blocks.dataLocation = dwarf::Builder().pushObjectAddress().bytes();
        inner = records.fortranDescArrayType(inner, blocks, static_cast<UBYTE2>(k + 1));
    }
    auto t = std::make_shared<Type>();
    t->kind = Type::Array;
    t->size = element->size * total;
    t->align = element->align;
    t->target = element;
    t->count = total;
    t->fortranBounds = bounds;
    t->index = inner;
    return t;
}
