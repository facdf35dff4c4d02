// The sql-readers target: the first byte chooses a reader and the next
// ones its size, precision and scale or alignment; the rest is the text,
// handed over with its explicit length (NUL bytes included) in a buffer of
// exactly that length, and, up to its first NUL, through the NUL-terminated
// form as well. Every buffer handed out is read for its reported length and
// freed. Rules checked besides: the integer reader agrees with an
// independent reading of the text; a packed or zoned result has the length
// of its precision and a well-formed sign and digits; a hexadecimal result
// is null exactly when its length is 0; the decimal floating-point reader
// answers 0 or the size asked, and 0 for a size it does not know.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "SampleDebuggee.h"
#include "services/InvalidOp.h"
#include "tree/SqlLiteralReaders.h"

namespace {

// The integer the text holds by the reader's definition: an optional
// leading sign, then one or more decimal digits, in signed 64 bits.
bool expectedInt(const std::string& text, std::int64_t& value)
{
    const std::size_t first = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (first == text.size())
        return false;
    for (std::size_t i = first; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Reads every byte of a handed-out buffer (a sanitizer's finding when the
// buffer is shorter) and frees it.
std::vector<unsigned char> takeOut(unsigned char* out, std::uint32_t length)
{
    if ((out == nullptr) != (length == 0))
        failFuzzCheck("a reader's buffer is null exactly when its length is 0");
    std::vector<unsigned char> bytes(out, out + length);
    delete[] out;
    return bytes;
}

void checkPacked(const std::vector<unsigned char>& bytes, unsigned precision)
{
    if (bytes.empty())
        return;
    if (bytes.size() != precision / 2 + 1)
        failFuzzCheck("packed result of precision/2 + 1 bytes");
    const unsigned sign = bytes.back() & 0x0F;
    if (sign != 0x0C && sign != 0x0D)
        failFuzzCheck("packed result signed C or D");
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if ((bytes[i] >> 4) > 9 || (i + 1 < bytes.size() && (bytes[i] & 0x0F) > 9))
            failFuzzCheck("packed result of decimal digits");
}

void checkZoned(const std::vector<unsigned char>& bytes, unsigned precision)
{
    if (bytes.empty())
        return;
    if (bytes.size() != precision + 1)
        failFuzzCheck("zoned result of precision + 1 bytes");
    if (bytes[0] != 0x4E && bytes[0] != 0x60)
        failFuzzCheck("zoned result with a leading separate sign");
    for (std::size_t i = 1; i < bytes.size(); ++i)
        if (bytes[i] < 0xF0 || bytes[i] > 0xF9)
            failFuzzCheck("zoned result of EBCDIC digits");
}

// One reader over one text: `text` has exactly `length` bytes.
void readOne(unsigned reader, unsigned a, unsigned b, const char* text, std::size_t length)
{
    switch (reader) {
    case 0: {
        std::int64_t value = 0;
        const bool read = readSqlInt(text, length, value);
        std::int64_t expected = 0;
        const bool valid = expectedInt(std::string(text, length), expected);
        if (read != valid || (read && value != expected) || (!read && value != 0))
            failFuzzCheck("readSqlInt reads the text as a signed 64-bit integer");
        break;
    }
    case 1: {
        unsigned char* out = nullptr;
        const std::uint32_t size = a % 24; // 0: one byte per pair
        const std::uint32_t n = readHex(text, length, size, &out, static_cast<int>(b & 1));
        const std::vector<unsigned char> bytes = takeOut(out, n);
        if (n != 0 && size != 0 && n != size && n != length / 2)
            failFuzzCheck("readHex answers the size asked or one byte per pair");
        break;
    }
    case 2:
    case 3: {
        unsigned char* out = nullptr;
        const unsigned precision = a % 40, scale = b % 40;
        using Reader = std::uint32_t (*)(const char*, std::size_t, std::uint32_t, unsigned char**);
        const Reader read =
            reader == 2 ? static_cast<Reader>(readSqlPackedDecimal) : static_cast<Reader>(readSqlZonedDecimal);
        const std::uint32_t n = read(text, length, precision << 8 | scale, &out);
        (reader == 2 ? checkPacked : checkZoned)(takeOut(out, n), precision);
        break;
    }
    case 4: try { (void)readSqlFloat(text, length);
        } catch (const InvalidOp&) {
        }
        break;
    default: {
        static const unsigned sizes[] = {4, 8, 16, 0, 2, 12};
        const unsigned size = sizes[a % 6];
        std::vector<unsigned char> out(size == 0 ? 1 : size);
        const unsigned n = readSqlDecFloat(text, length, size, size == 0 ? nullptr : out.data());
        if (n != 0 && (n != size || (size != 4 && size != 8 && size != 16)))
            failFuzzCheck("readSqlDecFloat answers 0 or a size it knows");
        break;
    }
    }
}

} // namespace

int fuzzSqlReaders(const std::uint8_t* data, std::size_t size)
{
    SampleDebuggee::instance(); // the host whose trace the readers write to
    if (size < 3)
        return 0;
    const unsigned reader = data[0] % 6, a = data[1], b = data[2];
    const std::size_t length = std::min<std::size_t>(size - 3, fuzzTextLimit);
    // Exactly the text's bytes, so that reading past them is a finding.
    std::vector<char> text(data + 3, data + 3 + length);
    readOne(reader, a, b, text.empty() ? "" : text.data(), length);
    // The NUL-terminated form, up to the first NUL.
    std::vector<char> copy(text.begin(), std::find(text.begin(), text.end(), '\0'));
    copy.push_back('\0');
    switch (reader) {
    case 0: (void)readSqlInt(copy.data()); break;
    case 1: {
        unsigned char* out = nullptr;
        const std::uint32_t n = readHex(copy.data(), a % 24, &out, static_cast<int>(b & 1));
        takeOut(out, n);
        break;
    }
    case 2: {
        unsigned char* out = nullptr;
        const std::uint32_t n = readSqlPackedDecimal(copy.data(), (a % 40) << 8 | (b % 40), &out);
        checkPacked(takeOut(out, n), a % 40);
        break;
    }
    case 3: {
        unsigned char* out = nullptr;
        const std::uint32_t n = readSqlZonedDecimal(copy.data(), (a % 40) << 8 | (b % 40), &out);
        checkZoned(takeOut(out, n), a % 40);
        break;
    }
    case 4: try { (void)readSqlFloat(copy.data());
        } catch (const InvalidOp&) {
        }
        break;
    default: {
        std::vector<unsigned char> out(16);
        (void)readSqlDecFloat(copy.data(), 16, out.data());
        break;
    }
    }
    return 0;
}
