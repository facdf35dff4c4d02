#include "tree/SqlLiteralReaders.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "datatypes/DecNumberBinding.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimalRoutines.h"
#include "machine/DigitConvert.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

namespace {

// The most digits a packed or zoned number read from text may have.
constexpr std::size_t maxDecimalDigits = 31;

// The digits of a decimal number and the count of them after its point.
struct DecimalText {
    bool negative = false;
    std::string digits;
    int scale = 0;
};

// Reads sign, digits and point; false (traced) on bad input.
bool readDecimalText(const char* text, std::size_t length, DecimalText& number, const char* function)
{
    bool point = false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            number.digits.push_back(c);
            if (point)
                ++number.scale;
        } else if (c == '.') {
            if (point) {
                SVC::fTrace(function, __LINE__, "Input string contains more than one decimal");
                return false;
            }
            point = true;
        } else if (i == 0 && (c == '+' || c == '-')) {
            number.negative = c == '-';
        } else {
            SVC::fTrace(function, __LINE__, "Input string contains an invalid character %c", c);
            return false;
        }
    }
    if (number.digits.empty() || number.digits.size() > maxDecimalDigits) {
        SVC::fTrace(function, __LINE__, "Input string holds %zu digits; 1 to %zu are allowed", number.digits.size(),
                    maxDecimalDigits);
        return false;
    }
    return true;
}

// A copy of the converted bytes in a buffer of the caller's.
std::uint32_t handOut(const unsigned char* bytes, std::uint32_t count, unsigned char** out)
{
    if (bytes == nullptr)
        return 0;
    *out = new unsigned char[count];
    std::memcpy(*out, bytes, count);
    return count;
}

int hexDigit(unsigned char c)
{
    const DigitConvert& digits = DigitConvert::instance();
    return digits.isDigit(c, DigitConvert::hexadecimal) ? static_cast<int>(digits.value(c)) : -1;
}

} // namespace

bool readSqlInt(const char* text, std::size_t length, std::int64_t& value)
{
    value = 0;
    std::uint64_t magnitude = 0;
    bool negative = false;
    std::size_t digits = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            const unsigned d = static_cast<unsigned>(c - '0');
            if (magnitude > (UINT64_MAX - d) / 10) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Input string overflows 64 bits");
                return false;
            }
            magnitude = magnitude * 10 + d;
            ++digits;
        } else if (i == 0 && (c == '+' || c == '-')) {
            negative = c == '-';
        } else {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Input string contains an invalid character %c", c);
            return false;
        }
    }
    if (digits == 0)
        return false;
    const std::uint64_t limit = negative ? (std::uint64_t(1) << 63) : (std::uint64_t(1) << 63) - 1;
    if (magnitude > limit) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Input string overflows 64 bits");
        return false;
    }
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

std::int64_t readSqlInt(const char* text)
{
    std::int64_t value = 0;
    if (text != nullptr)
        readSqlInt(text, std::strlen(text), value);
    return value;
}

std::uint32_t readHex(const char* text, std::size_t length, std::uint32_t size, unsigned char** out, int rightAlign)
{
    *out = nullptr;
    if (length % 2 != 0) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Input string %s must contain an even number of characters",
                    std::string(text, length).c_str());
        return 0;
    }
    const std::size_t pairs = length / 2;
    if (size == 0)
        size = static_cast<std::uint32_t>(pairs);
    std::size_t first = 0;    // the first pair used
    std::size_t used = pairs; // how many pairs are used
    std::size_t at = 0;       // where the first one goes
    std::size_t bufferLength = pairs;
    if (size < pairs) {
        used = size;
        bufferLength = size;
        first = rightAlign == 1 ? pairs - size : 0;
    } else if (size > pairs && rightAlign == 1) {
        bufferLength = size;
        at = size - pairs;
    }
    if (bufferLength == 0)
        return 0;
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[bufferLength]());
    for (std::size_t i = 0; i < used; ++i) {
        const unsigned char high = static_cast<unsigned char>(text[2 * (first + i)]);
        const unsigned char low = static_cast<unsigned char>(text[2 * (first + i) + 1]);
        const int h = hexDigit(high);
        const int l = hexDigit(low);
        if (h < 0 || l < 0) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Invalid character %c in input string", h < 0 ? high : low);
            return 0;
        }
        buffer[at + i] = static_cast<unsigned char>(h * 16 + l);
    }
    // The pairs not used are checked too: bad input is bad wherever it is.
    for (std::size_t i = 0; i < 2 * pairs; ++i) {
        if (hexDigit(static_cast<unsigned char>(text[i])) < 0) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Invalid character %c in input string", text[i]);
            return 0;
        }
    }
    *out = buffer.release();
    return static_cast<std::uint32_t>(bufferLength);
}

std::uint32_t readHex(const char* text, std::uint32_t size, unsigned char** out, int rightAlign)
{
    return readHex(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0, size, out, rightAlign);
}

std::uint32_t readSqlPackedDecimal(const char* text, std::size_t textLength, std::uint32_t length, unsigned char** out)
{
    *out = nullptr;
    DecimalText number;
    if (!readDecimalText(text, textLength, number, __PRETTY_FUNCTION__))
        return 0;
    // Packed two digits a byte, a leading zero nibble for an even count,
    // the sign nibble last.
    const std::size_t count = number.digits.size();
    std::string nibbles = (count % 2 == 0 ? "0" : "") + number.digits;
    unsigned char work[maxDecimalDigits / 2 + 1] = {};
    for (std::size_t i = 0; i < nibbles.size(); ++i) {
        const unsigned d = static_cast<unsigned>(nibbles[i] - '0');
        work[i / 2] = static_cast<unsigned char>(work[i / 2] | (i % 2 == 0 ? d << 4 : d));
    }
    work[count / 2] = static_cast<unsigned char>(work[count / 2] | (number.negative ? 0x0D : 0x0C));
    const int precision = static_cast<int>((length >> 8) & 0xFF);
    const int scale = static_cast<int>(length & 0xFF);
    const unsigned char* converted =
        dtConvertPackedDecimal(work, static_cast<int>(count), number.scale, precision, scale, 1, nullptr);
    return handOut(converted, static_cast<std::uint32_t>(precision / 2 + 1), out);
}

std::uint32_t readSqlPackedDecimal(const char* text, std::uint32_t length, unsigned char** out)
{
    return readSqlPackedDecimal(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0, length, out);
}

std::uint32_t readSqlZonedDecimal(const char* text, std::size_t textLength, std::uint32_t length, unsigned char** out)
{
    *out = nullptr;
    DecimalText number;
    if (!readDecimalText(text, textLength, number, __PRETTY_FUNCTION__))
        return 0;
    // EBCDIC zoned with a leading separate sign.
    unsigned char work[maxDecimalDigits + 1];
    work[0] = number.negative ? 0x60 : 0x4E;
    for (std::size_t i = 0; i < number.digits.size(); ++i)
        work[i + 1] = static_cast<unsigned char>(0xF0 + (number.digits[i] - '0'));
    const int precision = static_cast<int>((length >> 8) & 0xFF);
    const int scale = static_cast<int>(length & 0xFF);
    const unsigned char* converted =
        dtConvertZonedDecimal(work, static_cast<int>(number.digits.size()), number.scale, 4, precision, scale, 4);
    return handOut(converted, static_cast<std::uint32_t>(precision + 1), out);
}

std::uint32_t readSqlZonedDecimal(const char* text, std::uint32_t length, unsigned char** out)
{
    return readSqlZonedDecimal(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0, length, out);
}

namespace {

[[noreturn]] void badFloat(const std::string& text)
{
    SVC::fTrace("long double readSqlFloat(const char*)", __LINE__, "Bad float string: %s", text.c_str());
    throw InvalidOp(InvalidOp::RTRC_ParserError, "long double readSqlFloat(const char*)", __LINE__);
}

// "0x" digits ["." digits] ("p"|"P") exponent, after the prefix.
long double readHexFloat(const std::string& whole, std::size_t at, bool negative)
{
    if (at >= whole.size())
        badFloat(whole);
    long double value = 0;
    for (; at < whole.size() && hexDigit(static_cast<unsigned char>(whole[at])) >= 0; ++at)
        value = value * 16 + hexDigit(static_cast<unsigned char>(whole[at]));
    if (at < whole.size() && whole[at] == '.') {
        long double weight = 1;
        for (++at; at < whole.size() && hexDigit(static_cast<unsigned char>(whole[at])) >= 0; ++at) {
            weight /= 16;
            value += hexDigit(static_cast<unsigned char>(whole[at])) * weight;
        }
    }
    if (at >= whole.size() || (whole[at] != 'p' && whole[at] != 'P'))
        badFloat(whole);
    int exponent = 0;
    char first = 0;
    char second = 0;
    const int items = std::sscanf(whole.c_str() + at + 1, "%d%c%c", &exponent, &first, &second);
    if (items != 1 && items != 2)
        badFloat(whole);
    value = std::ldexp(value, exponent);
    return negative ? -value : value;
}

} // namespace

long double readSqlFloat(const char* text, std::size_t length)
{
    std::string whole(text, length);
    if (whole.find('\0') != std::string::npos)
        badFloat(whole);
    std::size_t at = 0;
    while (at < whole.size() && whole[at] == ' ')
        ++at;
    const bool negative = at < whole.size() && whole[at] == '-';
    while (at < whole.size() && (whole[at] == '+' || whole[at] == '-'))
        ++at;
    while (at < whole.size() && whole[at] == ' ')
        ++at;
    if (at + 1 < whole.size() && whole[at] == '0' && (whole[at + 1] == 'x' || whole[at + 1] == 'X'))
        return readHexFloat(whole, at + 2, negative);

    long double value = 0;
    char first = 0;
    char second = 0;
    int items = std::sscanf(whole.c_str(), "%Lf%c%c", &value, &first, &second);
    if (items == 1 || items == 2)
        return value;
    if (items == 3 && std::strchr("dDqQ", first) != nullptr) {
        for (char& c : whole)
            if (c == first)
                c = 'e';
        items = std::sscanf(whole.c_str(), "%Lf%c%c", &value, &first, &second);
        if (items == 1 || items == 2)
            return value;
    }
    badFloat(std::string(text, length));
}

long double readSqlFloat(const char* text)
{
    return readSqlFloat(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0);
}

unsigned readSqlDecFloat(const char* text, std::size_t length, unsigned size, unsigned char* out)
{
    const int kind = size == 4    ? DEC_INIT_DECIMAL32
                     : size == 8  ? DEC_INIT_DECIMAL64
                     : size == 16 ? DEC_INIT_DECIMAL128
                                  : 0;
    if (kind == 0) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Invalid size of %d for a decimal float", size);
        return 0;
    }
    const std::string whole(text, length);
    if (whole.find('\0') != std::string::npos) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Bad input string: %s", whole.c_str());
        return 0;
    }
    decContext context;
    decimalContext(context, kind);
    unsigned char encoded[16] = {};
    if (size == 4)
        decimal32FromString(reinterpret_cast<decimal32*>(encoded), whole.c_str(), &context);
    else if (size == 8)
        decimal64FromString(reinterpret_cast<decimal64*>(encoded), whole.c_str(), &context);
    else
        decimal128FromString(reinterpret_cast<decimal128*>(encoded), whole.c_str(), &context);
    if (context.status != 0)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%s", decContextStatusToString(&context));
    // Text that is no number would be stored as a NaN: refused instead.
    if ((context.status & DEC_Conversion_syntax) != 0)
        return 0;
    // The library's encoding is in host byte order; the target's is big-endian.
    for (unsigned i = 0; i < size; ++i)
        out[i] = encoded[size - 1 - i];
    return size;
}

unsigned readSqlDecFloat(const char* text, unsigned size, unsigned char* out)
{
    return readSqlDecFloat(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0, size, out);
}
