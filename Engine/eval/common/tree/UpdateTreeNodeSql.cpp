#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "datatypes/ZfloatingPoint.h"
#include "services/ByteOrder.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "services/SVC.h"
#include "tree/EbcdicConvert.h"
#include "tree/SqlLiteralReaders.h"
#include "tree/UpdateTreeNode.h"
#include "types/SqlTypeCodes.h"
#include "types/SqlTypeEntry.h"

// The update of an SQL host variable: the text is read by the variable's
// SQL type code and written in its storage form, without evaluation.

namespace {

using Bytes = std::vector<unsigned char>;

// What an SQL update writes: pieces at offsets from the variable's
// address. Everything is converted and checked before the first write.
struct SqlImage {
    std::vector<std::pair<std::int64_t, Bytes>> pieces;
    void add(std::int64_t at, Bytes bytes) { pieces.emplace_back(at, std::move(bytes)); }
};

// How a conversion ended.
enum class Outcome {
    written,
    badInput,
    refused
};

constexpr char eyeCatcher[] = "EEStringContainsNullChars";
constexpr std::size_t eyeCatcherLength = sizeof eyeCatcher - 1; // 25
constexpr std::size_t countEnd = eyeCatcherLength + 8;          // 33

bool readHex8(const std::string& text, std::size_t at, std::uint64_t& value)
{
    value = 0;
    if (at + 8 > text.size())
        return false;
    for (std::size_t i = at; i < at + 8; ++i) {
        const char c = text[i];
        unsigned d;
        if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        value = value * 16 + d;
    }
    return true;
}

// The value text with the NUL characters the formatter replaced for display
// put back (text that starts with the eye catcher); else the text itself.
std::string restoreNulCharacters(const std::string& text)
{
    if (text.size() <= countEnd || text.compare(0, eyeCatcherLength, eyeCatcher) != 0)
        return text;
    std::uint64_t count = 0;
    if (!readHex8(text, eyeCatcherLength, count) || countEnd + 8 * count >= text.size()) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Error: The numbers following the eye catcher are incomplete");
        return text;
    }
    std::string value = text.substr(countEnd + 8 * count);
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t position = 0;
        if (readHex8(text, countEnd + 8 * i, position) && position < value.size())
            value[position] = 0;
        else
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Error: Cannot update index %lld in a string of length %zu",
                        static_cast<long long>(position), value.size());
    }
    return value;
}

// The text in the code page; false when the host cannot convert it.
bool toEbcdic(const std::string& text, const char* codePage, Bytes& out)
{
    char* converted = nullptr;
    int length = 0;
    EbcdicConvert::utf8ToEbcdic(text.data(), static_cast<int>(text.size()), &converted, &length, codePage);
    std::unique_ptr<char[]> owner(converted);
    if (converted == nullptr || length < 0)
        return false;
    out.assign(converted, converted + length);
    return true;
}

void removeShifts(Bytes& bytes)
{
    Bytes kept;
    for (unsigned char b : bytes)
        if (b != 0x0E && b != 0x0F)
            kept.push_back(b);
    bytes.swap(kept);
}

Bytes bigEndian(std::uint64_t value, unsigned size)
{
    Bytes out(size);
    byteorder::toBigEndian(out.data(), value, size);
    return out;
}

// UTF-8 text as UTF-16 big-endian units (characters above U+FFFF as
// surrogate pairs); false for a malformed sequence.
bool utf8ToUtf16(const std::string& text, std::vector<std::uint16_t>& units)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        std::uint32_t code = length == 1 ? c : length == 2 ? (c & 0x1Fu) : length == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (unsigned k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        static const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (code >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(code));
        }
        i += length;
    }
    return true;
}

// The converted blank of a code page (0x40 when the host gives none).
Bytes convertedBlank(const char* codePage)
{
    Bytes blank;
    if (!toEbcdic(" ", codePage, blank) || blank.empty())
        blank.assign(1, 0x40);
    return blank;
}

// Hexadecimal text with a length prefix of prefixSize bytes, at most cap
// bytes (cap 0 takes nothing).
Outcome prefixedHex(const std::string& text, std::uint64_t cap, unsigned prefixSize, SqlImage& image)
{
    if (cap == 0)
        return Outcome::badInput;
    unsigned char* read = nullptr;
    const std::uint32_t count = readHex(text.data(), text.size(), static_cast<std::uint32_t>(cap), &read, 0);
    std::unique_ptr<unsigned char[]> owner(read);
    if (count == 0 || read == nullptr)
        return Outcome::badInput;
    image.add(0, bigEndian(count, prefixSize));
    image.add(prefixSize, Bytes(read, read + count));
    return Outcome::written;
}

Outcome convertSqlText(unsigned code, const SqlTypeEntry& entry, const std::string& text, const char* codePage,
                       SqlImage& image)
{
    const std::uint64_t length = entry.length();
    // Large objects declared with length 0 are bounded by their maximum.
    const std::uint64_t largeCap = length != 0 ? length : entry.maxLength();
    switch (sqlBaseCode(code)) {
    case sqlBlob:
    case sqlClob: return prefixedHex(text, std::min<std::uint64_t>(largeCap, UINT32_MAX), 4, image);
    case sqlDbclob: {
        const std::uint64_t cap = std::min<std::uint64_t>(largeCap, UINT32_MAX / 2);
        if (cap == 0)
            return Outcome::badInput;
        unsigned char* read = nullptr;
        const std::uint32_t count = readHex(text.data(), text.size(), static_cast<std::uint32_t>(2 * cap), &read, 0);
        std::unique_ptr<unsigned char[]> owner(read);
        if (count == 0 || read == nullptr)
            return Outcome::badInput;
        image.add(0, bigEndian(count / 2, 4));
        image.add(4, Bytes(read, read + count));
        // A terminator only inside the variable.
        if (count < 2 * cap)
            image.add(4 + std::int64_t(count), Bytes(1, 0));
        return Outcome::written;
    }
    case sqlVarchar:
    case sqlLongVarchar: {
        Bytes bytes;
        if (!toEbcdic(text, codePage, bytes))
            return Outcome::badInput;
        const std::uint64_t cap = std::min<std::uint64_t>(length, 0xFFFF);
        if (bytes.size() > cap)
            bytes.resize(cap);
        if (bytes.empty())
            return Outcome::badInput;
        image.add(0, bigEndian(bytes.size(), 2));
        image.add(2, std::move(bytes));
        return Outcome::written;
    }
    case sqlChar: {
        Bytes bytes;
        if (!toEbcdic(text, codePage, bytes) || bytes.empty())
            return Outcome::badInput;
        if (bytes.size() > length) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Truncating. Input size = %d, SQL type size = %d",
                        static_cast<int>(bytes.size()), static_cast<int>(length));
            bytes.resize(length);
        } else if (bytes.size() < length) {
            const Bytes blank = convertedBlank(codePage);
            bytes.resize(length, blank.size() == 4 ? blank[1] : blank[0]);
        }
        if (bytes.empty())
            return Outcome::badInput;
        image.add(0, std::move(bytes));
        return Outcome::written;
    }
    case sqlVargraphic:
    case sqlLongVargraphic: {
        Bytes bytes;
        if (!toEbcdic(text, codePage, bytes))
            return Outcome::badInput;
        removeShifts(bytes);
        const std::uint64_t cap = std::min<std::uint64_t>(length, 0xFFFF);
        if (bytes.size() > 2 * cap)
            bytes.resize(2 * cap);
        if (bytes.empty())
            return Outcome::badInput;
        const std::uint64_t count = bytes.size();
        image.add(0, bigEndian(count / 2, 2));
        image.add(2, std::move(bytes));
        if (count < 2 * cap)
            image.add(2 + std::int64_t(count), Bytes(1, 0));
        return Outcome::written;
    }
    case sqlGraphic: {
        Bytes bytes;
        Bytes blank;
        if (entry.ccsid() == 1200) {
            std::vector<std::uint16_t> units;
            if (!utf8ToUtf16(text, units))
                return Outcome::badInput;
            if (units.size() > length) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Truncating. Input size = %d, SQL type size = %d",
                            static_cast<int>(units.size()), static_cast<int>(length));
                units.resize(length);
                // A pair is never cut in two.
                if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF)
                    units.pop_back();
            }
            for (std::uint16_t u : units) {
                bytes.push_back(static_cast<unsigned char>(u >> 8));
                bytes.push_back(static_cast<unsigned char>(u));
            }
            blank = {0x00, 0x20};
        } else {
            if (!toEbcdic(text, codePage, bytes))
                return Outcome::badInput;
            removeShifts(bytes);
            if (bytes.size() % 2 != 0)
                bytes.pop_back();
            if (bytes.size() > 2 * length) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Truncating. Input size = %d, SQL type size = %d",
                            static_cast<int>(bytes.size() / 2), static_cast<int>(length));
                bytes.resize(2 * length);
            }
            const Bytes converted = convertedBlank(codePage);
            if (converted.size() == 2)
                blank = converted;
            else if (converted.size() == 4)
                blank = {converted[1], converted[2]};
            else
                blank = {converted[0], converted[0]};
        }
        if (bytes.empty())
            return Outcome::badInput;
        while (bytes.size() < 2 * length) {
            bytes.push_back(blank[0]);
            bytes.push_back(blank[1]);
        }
        image.add(0, std::move(bytes));
        return Outcome::written;
    }
    case sqlFloat: {
        const long double value = readSqlFloat(text.data(), text.size());
        if (length != 4 && length != 8) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Type size of %d is invalid for SQL type %d",
                        static_cast<int>(length), static_cast<int>(code));
            return Outcome::refused;
        }
        Bytes bytes(length);
        if (!ZfloatingPoint::ldToZfp(bytes.data(), static_cast<unsigned>(length), true, value)) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Error: Floating point conversion failed");
            return Outcome::refused;
        }
        image.add(0, std::move(bytes));
        return Outcome::written;
    }
    case sqlDecimal:
    case sqlNumeric: {
        unsigned char* read = nullptr;
        const std::uint32_t count = sqlBaseCode(code) == sqlDecimal
                                        ? readSqlPackedDecimal(text.data(), text.size(), entry.length(), &read)
                                        : readSqlZonedDecimal(text.data(), text.size(), entry.length(), &read);
        std::unique_ptr<unsigned char[]> owner(read);
        if (count == 0 || read == nullptr)
            return Outcome::badInput;
        image.add(0, Bytes(read, read + count));
        return Outcome::written;
    }
    case sqlBigint:
    case sqlInteger:
    case sqlSmallint: {
        if (length != 2 && length != 4 && length != 8) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Type size of %d is invalid for SQL type %d",
                        static_cast<int>(length), static_cast<int>(code));
            return Outcome::refused;
        }
        std::int64_t value = 0;
        if (!readSqlInt(text.data(), text.size(), value))
            return Outcome::badInput;
        const std::int64_t high = length == 8 ? INT64_MAX : (std::int64_t(1) << (8 * length - 1)) - 1;
        const std::int64_t low = -high - 1;
        if (value < low || value > high) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Value %lld does not fit %d bytes",
                        static_cast<long long>(value), static_cast<int>(length));
            return Outcome::badInput;
        }
        image.add(0, bigEndian(static_cast<std::uint64_t>(value), static_cast<unsigned>(length)));
        return Outcome::written;
    }
    case sqlVarbinaryLong: return prefixedHex(text, std::min<std::uint64_t>(length, UINT32_MAX), 4, image);
    case sqlVarbinary: return prefixedHex(text, std::min<std::uint64_t>(length, 0xFFFF), 2, image);
    case sqlBinary:
    case sqlBlobLocator:
    case sqlClobLocator:
    case sqlDbclobLocator:
    case sqlResultSetLocator:
    case sqlTableLocator: {
        if (length == 0)
            return Outcome::badInput;
        unsigned char* read = nullptr;
        const int rightAlign = sqlBaseCode(code) == sqlBinary ? 0 : 1;
        const std::uint32_t count = readHex(text.data(), text.size(), entry.length(), &read, rightAlign);
        std::unique_ptr<unsigned char[]> owner(read);
        if (count == 0 || read == nullptr)
            return Outcome::badInput;
        image.add(0, Bytes(read, read + count));
        return Outcome::written;
    }
    case sqlDecfloat: {
        Bytes bytes(16);
        if (readSqlDecFloat(text.data(), text.size(), static_cast<unsigned>(length), bytes.data()) == 0)
            return Outcome::badInput;
        bytes.resize(length);
        image.add(0, std::move(bytes));
        return Outcome::written;
    }
    case sqlFileName: {
        Bytes bytes;
        if (!toEbcdic(text, codePage, bytes))
            return Outcome::badInput;
        if (bytes.size() > length)
            bytes.resize(length);
        if (bytes.empty())
            return Outcome::badInput;
        image.add(-12, bigEndian(bytes.size(), 4));
        image.add(0, std::move(bytes));
        return Outcome::written;
    }
    default:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Cannot update type %d", static_cast<int>(code));
        return Outcome::refused;
    }
}

} // namespace

std::uint16_t UpdateTreeNode::updateSqlValue(const LCC_Eval_Context_Info*, unsigned char* text, StackItem&)
{
    const _TYPE_ENTRY* typeEntry = formatType().typeEntry();
    if (typeEntry == nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "type is missing");
        return 10000;
    }
    if (!SqlTypeEntry::isSqlEntry(typeEntry)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Cannot update type %d", static_cast<int>(typeEntry->leaf));
        return 10000;
    }
    const SqlTypeEntry entry(*typeEntry);
    // The width read as formatting reads it: 4 or 8 bytes, or 32 or 64 bits.
    const unsigned width = entry.addressBytes() == 8 ? 8 : entry.addressBytes() == 4 ? 4 : 0;
    if (width == 0) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Address width of %u is invalid", entry.addressWidth());
        return 10000;
    }
    const DebuggeeAddress base(entry.address() + static_cast<std::uint64_t>(offset()), static_cast<int>(width));
    char codePageName[16] = {};
    const char* codePage = nullptr;
    if (entry.ccsid() != 0) {
        std::snprintf(codePageName, sizeof codePageName, "QUV-%03u", static_cast<unsigned>(entry.ccsid()));
        codePage = codePageName;
    }
    const std::string given = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    const std::string value = restoreNulCharacters(given);

    SqlImage image;
    const Outcome outcome = convertSqlText(entry.sqlType(), entry, value, codePage, image);
    if (outcome == Outcome::badInput)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Bad input string: %s", given.c_str());
    if (outcome != Outcome::written)
        return 10000;
    for (const auto& piece : image.pieces) {
        const DebuggeeLocation at(base + static_cast<std::uint64_t>(piece.first));
        at.write(piece.second.data(), static_cast<unsigned>(piece.second.size()), 0);
    }
    return 0;
}
