#ifndef NORVEXA_FUZZ_FUZZTARGETS_H
#define NORVEXA_FUZZ_FUZZTARGETS_H

// The fuzz targets: each takes one input and returns 0. A fault that a
// target is meant to show aborts the process: a sanitizer's report, a
// broken rule of the code under test (reported by failFuzzCheck), or an
// exception of a kind the code must never let out. The same functions are
// driven by libFuzzer (fuzz/FuzzMain.cpp, clang's sanitizer build) and by
// the regression replay of the normal suite (tests/fuzz/), so every saved
// input is replayed by both compilers.

#include <cstddef>
#include <cstdint>
#include <vector>

// Text through the C and C++ parsers over the real services, on the sample
// debuggee; the whole input is the text (up to the first NUL, at most 4,096
// bytes).
int fuzzCParse(const std::uint8_t* data, std::size_t size);
// Text through the COBOL parser, as fuzzCParse.
int fuzzCobolParse(const std::uint8_t* data, std::size_t size);
// Bytes with precisions, scales and sign kinds into the packed and zoned
// decimal routines: check, convert, compare, arithmetic and format.
int fuzzDecimal(const std::uint8_t* data, std::size_t size);
// The first bytes choose one of the readers of an SQL host variable's text
// (integer, hexadecimal, packed, zoned, float, decimal float) and its size,
// precision and scale; the rest is the text.
int fuzzSqlReaders(const std::uint8_t* data, std::size_t size);
// An expression through the entry points, from text to formatted nodes:
// the first byte chooses the language and a program of 8- or 4-byte
// addresses, the second a representation; the rest is the text.
int fuzzRoad(const std::uint8_t* data, std::size_t size);
// Text written through DbgUpdateTreeValue on a fixed variable: the first
// byte chooses the variable and the program, the second the
// representation; the rest is the text. Every write must lie within the
// variable.
int fuzzUpdate(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    const char* name;
    int (*run)(const std::uint8_t* data, std::size_t size);
};

// Every target by the name its corpus and regression folders carry.
const std::vector<FuzzTarget>& fuzzTargets();

// Reports a broken rule and aborts.
[[noreturn]] void failFuzzCheck(const char* what);

// The longest text the text targets take: longer inputs are cut.
constexpr std::size_t fuzzTextLimit = 4096;

#endif
