#ifndef NORVEXA_TESTS_DATATYPES_DECIMALBYTES_H
#define NORVEXA_TESTS_DATATYPES_DECIMALBYTES_H

// Hex text <-> byte helpers for the decimal routine tests.

#include <cstdio>
#include <string>
#include <vector>

namespace decimaltest {

inline std::vector<unsigned char> bytes(std::string const& hex)
{
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        while (i < hex.size() && hex[i] == ' ')
            ++i;
        out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

inline std::string hex(unsigned char const* p, std::size_t n)
{
    if (!p)
        return "null";
    std::string out;
    char buf[3];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", p[i]);
        out += buf;
    }
    return out;
}

// National digit string from ASCII text: each character one UTF-16BE unit.
inline std::vector<unsigned char> national(std::string const& text)
{
    std::vector<unsigned char> out;
    for (char c : text) {
        out.push_back(0x00);
        out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

// ASCII text of a national string of n units.
inline std::string nationalText(unsigned char const* p, std::size_t units)
{
    if (!p)
        return "null";
    std::string out;
    for (std::size_t i = 0; i < units; ++i)
        out += p[2 * i] == 0 ? static_cast<char>(p[2 * i + 1]) : '?';
    return out;
}

} // namespace decimaltest

#endif
