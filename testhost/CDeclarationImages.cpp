// The storage images of program-file variables from their initialisers:
// big-endian, characters in the program's code page.

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <stdexcept>

#include "testhost/CDeclarationParts.h"
#include "testhost/CDeclarationReader.h"
#include "testhost/DebuggeeLayout.h"
#include "testhost/DecimalImages.h"
#include "testhost/FloatImages.h"

namespace {

bool fitsInteger(long double v, std::uint64_t bits, bool isSigned)
{
    const long double span = std::pow(2.0L, static_cast<long double>(bits));
    if (isSigned)
        return v >= -span / 2 && v < span / 2;
    // Negative values of an unsigned type wrap as C converts them.
    return v >= -span / 2 && v < span;
}

bool isAggregate(const CDeclarationReader::Type& type)
{
    return type.kind == CDeclarationReader::Type::Array || type.kind == CDeclarationReader::Type::Struct;
}

bool isText(const CDeclarationReader::Type& type)
{
    return type.kind == CDeclarationReader::Type::Array && type.target->kind == CDeclarationReader::Type::Character &&
           type.fortranBounds.empty();
}

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

std::vector<std::uint8_t> CDeclarationReader::image(const Type& type, const Init* init, int line)
{
    std::vector<std::uint8_t> bytes(type.size, type.blankPadded ? _layout.blank() : 0);
    if (init == nullptr)
        return bytes;
    switch (type.kind) {
    case Type::Array:
    case Type::Struct: {
        if (init->kind == Init::String && isText(type)) {
            std::vector<std::uint8_t> text = ebcdic(init->text, init->line);
            if (text.size() > type.count)
                fail(init->line, "the string is longer than the array");
            std::copy(text.begin(), text.end(), bytes.begin());
            return bytes;
        }
        const char* what = type.kind == Type::Array ? "an array" : type.keyword == "union" ? "a union" : "a struct";
        if (init->kind != Init::List)
            fail(init->line, std::string(what) + " is initialised by a list");
        size_t next = 0;
        listImage(type, init->items, next, bytes.data(), line);
        if (next < init->items.size())
            fail(init->items[next]->line, type.kind == Type::Array
                                              ? "more values than the array has elements"
                                              : "more values than the " + type.keyword + " has members");
        return bytes;
    }
    case Type::Pointer: return pointerImage(type, *init, line);
    default: return scalarImage(type, *init, line);
    }
}

// Fills the aggregate at out from items[next...], as many as it takes: an
// inner aggregate takes a list of its own, or, its braces left out, the
// values that follow.
void CDeclarationReader::listImage(const Type& type, const std::vector<std::unique_ptr<Init>>& items, size_t& next,
                                   std::uint8_t* out, int line)
{
    auto fill = [&](const Type& part, std::uint8_t* at) {
        const Init& item = *items[next];
        if (isAggregate(part) && item.kind != Init::List && !(item.kind == Init::String && isText(part))) {
            listImage(part, items, next, at, line);
            return;
        }
        const std::vector<std::uint8_t> e = image(part, &item, line);
        std::copy(e.begin(), e.end(), at);
        ++next;
    };
    if (type.kind == Type::Array) {
        for (std::uint64_t i = 0; i < type.count && next < items.size(); ++i)
            fill(*type.target, out + i * type.target->size);
        return;
    }
    for (const Type::Member& m : type.members) {
        if (next >= items.size())
            return;
        if (m.width != 0) {
            bitFieldImage(*m.type, m.width, m.position, *items[next], out);
            ++next;
        } else {
            fill(*m.type, out + m.offset);
        }
        // A union is initialised through its first member.
        if (type.keyword == "union")
            return;
    }
}

void CDeclarationReader::bitFieldImage(const Type& field, unsigned width, std::uint64_t position, const Init& init,
                                       std::uint8_t* bytes)
{
    // The value as an integer of the field's declared type, then cut to
    // its width, which it must fit.
    const std::vector<std::uint8_t> whole = scalarImage(field, init, init.line);
    std::uint64_t value = 0;
    for (std::uint8_t b : whole)
        value = (value << 8) | b;
    const std::uint64_t wholeBits = 8 * whole.size();
    std::int64_t asSigned = static_cast<std::int64_t>(value << (64 - wholeBits)) >> (64 - wholeBits);
    const bool fits =
        field.isSigned ? fitsInteger(static_cast<long double>(asSigned), width, true)
                       : (init.text.rfind('-', 0) == 0 ? fitsInteger(static_cast<long double>(asSigned), width, false)
                                                       : fitsInteger(static_cast<long double>(value), width, false));
    if (!fits)
        fail(init.line, init.text + " does not fit in " + std::to_string(width) + " bits");
    for (unsigned k = 0; k < width; ++k) {
        const std::uint64_t p = position + k;
        if ((value >> (width - 1 - k)) & 1)
            bytes[p / 8] = static_cast<std::uint8_t>(bytes[p / 8] | (0x80u >> (p % 8)));
    }
}

std::vector<std::uint8_t> CDeclarationReader::scalarImage(const Type& type, const Init& init, int)
{
    const int line = init.line;
    long double value = 0;
    bool isFloat = false;
    bool longLiteral = false; // a floating constant with suffix L
    std::string floatText;    // a floating constant without its suffix
    switch (init.kind) {
    case Init::Bool: value = init.text == "true" ? 1 : 0; break;
    case Init::Char:
    case Init::String: {
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
        std::string text = init.text;
        const bool hex = text.find("0x") != std::string::npos || text.find("0X") != std::string::npos;
        // Fortran: a real constant is a default (4-byte) real unless its
        // exponent is written with D, which makes it double precision.
        bool fortranDefaultReal = false;
        if (isFortran() && !hex) {
            const size_t d = text.find_first_of("dD");
            if (d != std::string::npos)
                text[d] = 'e';
            else
                fortranDefaultReal = text.find_first_of(".eE") != std::string::npos;
        }
        isFloat = !hex && text.find_first_of(".eE") != std::string::npos;
        char* end = nullptr;
        errno = 0;
        if (isFloat) {
            // Read at the precision of the constant's type (float with f,
            // long double with L, else double), as a compiler reads it: a
            // value rounded once, not first to the machine's long double.
            floatText = text.substr(0, text.find_first_of("fFlL"));
            const std::string suffix = text.substr(floatText.size());
            if (suffix == "f" || suffix == "F" || fortranDefaultReal)
                value = std::strtof(floatText.c_str(), &end);
            else if (suffix == "l" || suffix == "L")
                value = std::strtold(floatText.c_str(), &end);
            else if (suffix.empty())
                value = std::strtod(floatText.c_str(), &end);
            else
                fail(line, "bad number " + text);
            longLiteral = suffix == "l" || suffix == "L";
            // A value too small for the type rounds as it does in C; one
            // too large is refused. A long double of binary128 is read
            // below, at its own range.
            if (errno == ERANGE &&
                (!std::isinf(value) || (longLiteral && type.kind == Type::Floating && type.size == 16)))
                errno = 0;
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
    default: fail(line, "a number expected for a value of this type");
    }
    switch (type.kind) {
    case Type::Floating:
        if (type.size == 16) {
            // A floating constant without L is a float or double, converted
            // to long double as C converts it; one with L is read at the full
            // precision of binary128.
            try {
                if (longLiteral)
                    return floatimage::ieee128FromDecimal(floatText);
                return floatimage::ieee128(value);
            } catch (const std::invalid_argument& x) {
                fail(line, init.text + " is " + x.what());
            }
        }
        if (type.size == 12) {
            // The 12-byte slot: the value in the evaluator's 80-bit extended
            // form, in this machine's byte order, then two zero pad bytes.
            const long double extended = value;
            std::vector<std::uint8_t> bytes(12, 0);
            std::memcpy(bytes.data(), &extended, 10);
            return bytes;
        }
        return floatimage::ieee(static_cast<double>(value), static_cast<unsigned>(type.size));
    case Type::Boolean: {
        if (isFloat || (value != 0 && value != 1))
            fail(line, "a bool is true, false, 0 or 1");
        std::vector<std::uint8_t> bytes(type.size, 0);
        bytes.back() = static_cast<std::uint8_t>(value);
        return bytes;
    }
    default: {
        if (isFloat)
            fail(line, init.text + " is not an integer");
        if (!fitsInteger(value, 8 * type.size, type.isSigned))
            fail(line, init.text + " does not fit in " + std::to_string(type.size) + " bytes");
        const long long v = static_cast<long long>(value >= 0x1p63L ? value - 0x1p64L : value);
        return decimalimage::binary(v, static_cast<unsigned>(type.size));
    }
    }
}

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
    return decimalimage::binary(static_cast<std::int64_t>(address), static_cast<unsigned>(type.size));
}
