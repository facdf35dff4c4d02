#ifndef NORVEXA_MACHINE_DIGITCONVERT_H
#define NORVEXA_MACHINE_DIGITCONVERT_H

#include <cstdint>

// The digit table of the literal parsers: for every byte value its digit
// value and the bases it is a digit of. One table per process, made on
// first use and only read afterwards.
class DigitConvert {
public:
    enum Mark : std::uint8_t {
        binary = 1,
        octal = 2,
        decimal = 4,
        hexadecimal = 8
    };

    static const DigitConvert& instance();

    // When byte is a digit of the base, accumulator becomes accumulator
    // times the base plus the digit (wrapping at 64 bits) and the answer is
    // true; otherwise nothing changes and the answer is false.
    static bool appendBin(unsigned char byte, std::uint64_t& accumulator);
    static bool appendOct(unsigned char byte, std::uint64_t& accumulator);
    static bool appendDec(unsigned char byte, std::uint64_t& accumulator);
    static bool appendHex(unsigned char byte, std::uint64_t& accumulator);
    // The byte of two hexadecimal digits, high digit first; InvalidOp
    // RTRC_Other when either is no hexadecimal digit.
    static unsigned char convertHex(unsigned char high, unsigned char low);

    bool isDigit(unsigned char byte, Mark base) const { return (table_[byte].marks & base) != 0; }
    unsigned value(unsigned char byte) const { return table_[byte].value; }

    DigitConvert(const DigitConvert&) = delete;
    DigitConvert& operator=(const DigitConvert&) = delete;

private:
    DigitConvert();
    static bool append(unsigned char byte, std::uint64_t& accumulator, Mark base, unsigned radix);

    struct Entry {
        std::uint8_t value = 0;
        std::uint8_t marks = 0;
    };
    Entry table_[256];
};

#endif
