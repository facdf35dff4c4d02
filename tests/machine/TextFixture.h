#ifndef NORVEXA_TESTS_MACHINE_TEXTFIXTURE_H
#define NORVEXA_TESTS_MACHINE_TEXTFIXTURE_H

// Text values for the string item tests: text types of the three kinds,
// EBCDIC and national text written as letters, and byte strings shown as
// hex so that a failing comparison reads.

#include <cstdio>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "machine/StackItem.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "testhost/inprocess/MachineFixture.h"
#include "types/TypeItem.h"

class TextFixture : public MachineFixture {
protected:
    enum : int {
        languageCOBOL = 6
    };
    enum : UBYTE4 {
        justified = 0x40,
        nonNumeric = 0x20
    };

    explicit TextFixture(int language = languageC) : MachineFixture(language) {}

    HostRecordStore& records() { return host.records(); }
    TypeItem alphanumeric(UBYTE4 length, UBYTE4 flags = 0)
    {
        return TypeItem(records().charstringType(length, TE_CHARSTRING, flags));
    }
    TypeItem national(UBYTE4 bytes, UBYTE4 flags = 0)
    {
        return TypeItem(records().charstringType(bytes, TE_NATIONAL_STRING, flags));
    }
    TypeItem dbcs(UBYTE4 bytes) { return TypeItem(records().charstringType(bytes, TE_DBCS_STRING)); }

    // Letters, digits, space, point and minus in EBCDIC.
    static std::string ebcdic(const std::string& text)
    {
        std::string out;
        for (char c : text) {
            unsigned char e = 0x40;
            if (c >= 'A' && c <= 'I')
                e = static_cast<unsigned char>(0xC1 + (c - 'A'));
            else if (c >= 'J' && c <= 'R')
                e = static_cast<unsigned char>(0xD1 + (c - 'J'));
            else if (c >= 'S' && c <= 'Z')
                e = static_cast<unsigned char>(0xE2 + (c - 'S'));
            else if (c >= '0' && c <= '9')
                e = static_cast<unsigned char>(0xF0 + (c - '0'));
            else if (c == '.')
                e = 0x4B;
            else if (c == '-')
                e = 0x60;
            out += static_cast<char>(e);
        }
        return out;
    }
    // ASCII text as UTF-16 big-endian.
    static std::string utf16(const std::string& text)
    {
        std::string out;
        for (char c : text) {
            out += '\0';
            out += c;
        }
        return out;
    }
    static std::string bytes(std::initializer_list<int> list)
    {
        std::string out;
        for (int b : list)
            out += static_cast<char>(b);
        return out;
    }
    static std::string hex(const void* data, std::size_t n)
    {
        std::string out;
        char piece[3];
        for (std::size_t i = 0; i < n; ++i) {
            std::snprintf(piece, sizeof piece, "%02X", static_cast<const unsigned char*>(data)[i]);
            out += piece;
        }
        return out;
    }
    static std::string hex(const ByteString& s) { return hex(s.data(), s.length()); }
    static std::string hex(const std::string& s) { return hex(s.data(), s.size()); }
    // The bytes an item hands out.
    static std::string valueOf(const StackItem& item)
    {
        return hex(item.resultBuffer(), static_cast<std::size_t>(item.size()));
    }
    static DebuggeeLocation at(std::uint32_t address) { return DebuggeeLocation(DebuggeeAddress(address)); }
    void store(std::uint32_t address, const std::string& text)
    {
        host.memory().store(address, text.data(), text.size());
    }
};

#endif
