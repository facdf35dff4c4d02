#ifndef NORVEXA_COMPILER_CLITERALESCAPES_H
#define NORVEXA_COMPILER_CLITERALESCAPES_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The characters of a C or C++ character or string literal, as written
// between its quotes (the host's UTF-8 text), with the escapes decoded.
// A simple escape (\n, \t, \\, \", ...) stands for a character of the
// host's set and is converted to the target's set with the rest of the
// text; an octal or hexadecimal escape is a code of the target's set
// itself and is never converted, as a compiler for the target reads it.
namespace CLiteralEscapes {

struct Character {
    std::uint64_t value;
    bool numeric; // an octal or hexadecimal escape: a code of the target's set
};

// The characters of the text in order: a UTF-8 character as its code
// point, a simple escape as its host character, a numeric escape as its
// value. False when the text is not well formed (a lone or unknown escape,
// \x without a digit, a value beyond 64 bits, bytes that are not UTF-8).
bool decode(const char* text, std::size_t length, std::vector<Character>& out);

// A narrow literal in the target's set: runs of host characters are handed
// to convert (UTF-8 in, target bytes out), numeric escapes are their byte.
// False when the text is not well formed or a numeric escape exceeds a byte.
bool narrow(const char* text, std::size_t length, const std::function<std::string(const std::string&)>& convert,
            std::string& out);

// A wide literal as big-endian wchar_t units of unitSize bytes: with 4
// bytes one unit per character; with 2 bytes UTF-16, a character above
// U+FFFF as a surrogate pair. A numeric escape is one unit of its value.
// False when the text is not well formed or a value does not fit a unit.
bool wide(const char* text, std::size_t length, unsigned unitSize, std::string& out);

} // namespace CLiteralEscapes

#endif
