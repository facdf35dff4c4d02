#include "machine/DigitConvert.h"

#include "services/InvalidOp.h"

DigitConvert::DigitConvert()
{
    for (unsigned c = '0'; c <= '9'; ++c) {
        Entry& e = table_[c];
        e.value = static_cast<std::uint8_t>(c - '0');
        e.marks = decimal | hexadecimal;
        if (c <= '7')
            e.marks |= octal;
        if (c <= '1')
            e.marks |= binary;
    }
    for (unsigned i = 0; i < 6; ++i) {
        table_['A' + i] = Entry{static_cast<std::uint8_t>(10 + i), hexadecimal};
        table_['a' + i] = Entry{static_cast<std::uint8_t>(10 + i), hexadecimal};
    }
}

const DigitConvert& DigitConvert::instance()
{
    // Made once under the runtime's guard of local statics; never freed.
    static const DigitConvert* const table = new DigitConvert;
    return *table;
}

bool DigitConvert::append(unsigned char byte, std::uint64_t& accumulator, Mark base, unsigned radix)
{
    const DigitConvert& table = instance();
    if (!table.isDigit(byte, base))
        return false;
    accumulator = accumulator * radix + table.value(byte);
    return true;
}

bool DigitConvert::appendBin(unsigned char byte, std::uint64_t& accumulator)
{
    return append(byte, accumulator, binary, 2);
}

bool DigitConvert::appendOct(unsigned char byte, std::uint64_t& accumulator)
{
    return append(byte, accumulator, octal, 8);
}

bool DigitConvert::appendDec(unsigned char byte, std::uint64_t& accumulator)
{
    return append(byte, accumulator, decimal, 10);
}

bool DigitConvert::appendHex(unsigned char byte, std::uint64_t& accumulator)
{
    return append(byte, accumulator, hexadecimal, 16);
}

unsigned char DigitConvert::convertHex(unsigned char high, unsigned char low)
{
    const DigitConvert& table = instance();
    if (!table.isDigit(high, hexadecimal) || !table.isDigit(low, hexadecimal))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return static_cast<unsigned char>(table.value(high) * 16 + table.value(low));
}
