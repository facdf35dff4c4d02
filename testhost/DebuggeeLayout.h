#ifndef NORVEXA_TESTHOST_DEBUGGEELAYOUT_H
#define NORVEXA_TESTHOST_DEBUGGEELAYOUT_H

#include <cstdint>
#include <string>
#include <vector>

#include "HostRecords.h"

class TestHost;

// Where the variables of a program file lie: a section of the simulated host
// (section n starts at n * 0x10000; section 1 unless the program asks for
// another), one variable after another, each at the alignment it asks for. It
// stores each variable's bytes in the host's memory and converts the
// program's text to its code page.
class DebuggeeLayout {
public:
    static constexpr UBYTE4 section = 1;
    static constexpr std::uint64_t sectionBase = 0x10000;

    DebuggeeLayout(TestHost& host, unsigned bits, std::string codePage, UBYTE4 sectionNumber = section);

    // Places the bytes at the next offset aligned to align; returns the
    // offset in the section.
    std::uint64_t place(const std::vector<std::uint8_t>& bytes, unsigned align);
    std::uint64_t address(std::uint64_t offset) const { return _base + offset; }
    // The bytes placed so far, alignment included.
    std::uint64_t used() const { return _next; }
    // The section the variables lie in.
    UBYTE4 sectionNumber() const { return _section; }

    unsigned bits() const { return _bits; }
    unsigned pointerBytes() const { return _bits / 8; }
    // UTF-8 text in the program's code page; std::invalid_argument when a
    // character has no code point there.
    std::vector<std::uint8_t> ebcdic(const std::string& text) const;
    // The code page's blank.
    std::uint8_t blank() const;

    TestHost& host() { return _host; }

private:
    TestHost& _host;
    unsigned _bits;
    std::string _codePage;
    UBYTE4 _section;
    std::uint64_t _base;
    std::uint64_t _next = 0;
};

#endif
