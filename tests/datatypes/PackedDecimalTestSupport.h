#ifndef TESTS_DATATYPES_PACKEDDECIMALTESTSUPPORT_H
#define TESTS_DATATYPES_PACKEDDECIMALTESTSUPPORT_H

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// The lines of a frozen table in tests/datatypes/data (or NORVEXA_TEST_DATA),
// without comments and empty lines.
inline std::vector<std::string> tableLines(const char* name)
{
    const char* folder = std::getenv("NORVEXA_TEST_DATA");
    std::string path = std::string(folder != nullptr ? folder : "tests/datatypes/data") + "/" + name;
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

// Packed bytes written as hex text ("123C") and back.
inline std::vector<unsigned char> bytesOf(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        throw std::invalid_argument("odd hex text " + hex);
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline std::string hexOf(const unsigned char* bytes, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    if (bytes == nullptr)
        return "null";
    for (size_t i = 0; i < length; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

inline std::string hexOf(const char* bytes, size_t length)
{
    return hexOf(reinterpret_cast<const unsigned char*>(bytes), length);
}

// The packed bytes of precision p.
inline std::string packedHex(const unsigned char* bytes, int p)
{
    return hexOf(bytes, bytes == nullptr ? 0 : static_cast<size_t>(p / 2 + 1));
}

#endif
