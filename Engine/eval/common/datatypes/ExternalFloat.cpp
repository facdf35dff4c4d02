#include "datatypes/ExternalFloat.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/EditedSupport.h"
#include "datatypes/ExternalFloatSyntax.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/CLocaleNumbers.h"
#include "services/SVC.h"

#include <cstdio>
#include <cstring>

using dataitem::refuse;

namespace {

constexpr unsigned char kBlank = 0x40;
constexpr unsigned char kPoint = 0x4B;
constexpr unsigned char kComma = 0x6B;
constexpr unsigned char kPlus = 0x4E;
constexpr unsigned char kMinus = 0x60;
constexpr unsigned char kE = 0xC5;
constexpr unsigned char kImplied = 0xE6;

// The most mantissa digits a picture may ask for.
constexpr int kMaxDigits = 18;

TNexternal_float emptyRecord()
{
    TNexternal_float r{};
    r.leaf = TE_EXTERNAL_FLOAT;
    return r;
}

bool isDigit(unsigned char b)
{
    return b >= 0xF0 && b <= 0xF9;
}

// Counts a run of '9' and '9(n)' groups from *p. Answers false when a
// '9(' has no ')': the count of that group is then not added.
bool countNines(const char*& p, int& count)
{
    while (*p == '9') {
        if (p[1] == '(') {
            const char* close = std::strchr(p + 2, ')');
            if (close == nullptr)
                return false;
            const char* c = p;
            count += edited::pictureRepeatCount(&c);
            p = c + 1;
        } else {
            ++count;
            ++p;
        }
    }
    return true;
}

[[noreturn]] void invalidPicture(char c)
{
    SVC::fTrace("void ExternalFloat::getPicAttributes(int*, int*, char*, char*, char*) const", __LINE__,
                "invalid Pic Char =%c ", c);
    refuse(InvalidOp::RTRC_Other, "void ExternalFloat::getPicAttributes(int*, int*, char*, char*, char*) const",
           __LINE__);
}

} // namespace

// --------------------------------------------------------------------------
// Construction

ExternalFloat::ExternalFloat() : record_(emptyRecord()) {}

ExternalFloat::ExternalFloat(const TypeItem& type)
    : record_(dataitem::recordOf<TNexternal_float>(type, TE_EXTERNAL_FLOAT, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.length == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

ExternalFloat::ExternalFloat(const TNexternal_float& record, ByteString& bytes) : bytes_(bytes), record_(record) {}

ExternalFloat::ExternalFloat(const TNexternal_float& record, char* text) : bytes_(edited::textOf(text)), record_(record)
{}

ExternalFloat::ExternalFloat(const char* text, const TypeItem& type)
    : bytes_(edited::textOf(text)),
      record_(dataitem::recordOf<TNexternal_float>(type, TE_EXTERNAL_FLOAT, __PRETTY_FUNCTION__, __LINE__))
{}

ExternalFloat::ExternalFloat(const void* bytes, const TNexternal_float& record)
    : bytes_(edited::bytesAt(bytes, record.length)), record_(record)
{}

void ExternalFloat::fill(const void* bytes, const TNexternal_float& record)
{
    record_ = record;
    bytes_ = edited::bytesAt(bytes, record.length);
}

ExternalFloat::ExternalFloat(const TNexternal_float& record, long double value) : record_(record)
{
    bytes_ = getValueFromLongDouble(value);
}

ExternalFloat::ExternalFloat(const ZonedDecimal& source, const TNexternal_float& record) : record_(record)
{
    // The zoned value at its true scale (P positions applied).
    bytes_ = getValueFromLongDouble(static_cast<long double>(source));
}

ExternalFloat::ExternalFloat(const PackedDecimal& source, const TNexternal_float& record)
    : ExternalFloat(ZonedDecimal(source), record)
{}

ExternalFloat::ExternalFloat(const NationalDecimal& source, const TNexternal_float& record)
    : ExternalFloat(ZonedDecimal(source), record)
{}

ExternalFloat::ExternalFloat(const FixedPointBinary& source, const TNexternal_float& record)
    : ExternalFloat(ZonedDecimal(source), record)
{}

ExternalFloat::ExternalFloat(const ByteString& digits, const TNexternal_float& record)
    : ExternalFloat(ZonedDecimal(digits), record)
{}

ExternalFloat::ExternalFloat(const NationalExternalFloat& source, const TNexternal_float& record) : record_(record)
{
    convert(source.convertToExternalFloat());
}

// --------------------------------------------------------------------------
// Picture analysis and editing

void ExternalFloat::getPicAttributes(int* integerDigits, int* fractionDigits, char* point, char* mantissaSign,
                                     char* exponentSign) const
{
    int n = 0;
    int m = 0;
    unsigned char pointChar = kPoint;
    unsigned char mSign = kPlus;
    unsigned char eSign = kPlus;
    auto answer = [&]() {
        if (integerDigits != nullptr)
            *integerDigits = n;
        if (fractionDigits != nullptr)
            *fractionDigits = m;
        if (point != nullptr)
            *point = static_cast<char>(pointChar);
        if (mantissaSign != nullptr)
            *mantissaSign = static_cast<char>(mSign);
        if (exponentSign != nullptr)
            *exponentSign = static_cast<char>(eSign);
    };

    const char* p = record_.picture;
    if (p == nullptr || *p == '\0')
        invalidPicture(' ');
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "picture=%s", p);
    if (*p != '9') {
        mSign = *p == '+' ? kPlus : kMinus;
        ++p;
    }
    if (!countNines(p, n)) {
        answer();
        return;
    }
    bool fraction = true;
    switch (*p) {
    case '.': pointChar = kPoint; break;
    case ',': pointChar = kComma; break;
    case 'V':
    case 'v': pointChar = kImplied; break;
    case 'E':
    case 'e':
        pointChar = kImplied;
        fraction = false;
        break;
    default: invalidPicture(*p);
    }
    if (fraction) {
        ++p;
        if (!countNines(p, m)) {
            answer();
            return;
        }
        if (*p != 'E' && *p != 'e')
            invalidPicture(*p);
    }
    ++p; // past the 'E'
    eSign = *p == '+' ? kPlus : kMinus;
    if (*p != '\0')
        ++p;
    int exponentDigits = 0;
    if (!countNines(p, exponentDigits)) {
        answer();
        return;
    }
    if (*p != '\0')
        invalidPicture(*p);
    answer();
}

ByteString ExternalFloat::getValueFromLongDouble(long double value) const
{
    char printed[64];
    // Eighteen significant digits are as many as a long double holds
    // faithfully: a value that came from decimal digits prints them again
    // (999.99, not 999.989999...), and the picture cuts what is beyond.
    const int printedLength = clocale_numbers::formatLongDouble(printed, sizeof printed, 'E', kMaxDigits - 1, value);
    int n = 0;
    int m = 0;
    char point = 0;
    char mSign = 0;
    char eSign = 0;
    getPicAttributes(&n, &m, &point, &mSign, &eSign);
    if (n + m > kMaxDigits)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);

    // The mantissa digits of the printed text, its point skipped.
    const char* text = printed;
    if (*text == '-' || *text == '+')
        ++text;
    char digits[kMaxDigits + 2];
    int found = 0;
    const char* c = text;
    for (; *c != '\0' && found < n + m; ++c) {
        if (*c == '.')
            continue;
        if (*c < '0' || *c > '9')
            break;
        digits[found++] = *c;
    }
    const char* e = std::strchr(printed, 'E');
    if (printedLength <= 0 || found < n + m || e == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const int exponent = std::atoi(e + 1) + 1 - n;
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude > 99) {
        // Two exponent positions cannot hold it.
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }

    ByteString out;
    out += value < 0 || (value == 0 && printed[0] == '-')
               ? kMinus
               : (static_cast<unsigned char>(mSign) == kPlus ? kPlus : kBlank);
    for (int i = 0; i < n; ++i)
        out += static_cast<unsigned char>(0xF0 + (digits[i] - '0'));
    if (static_cast<unsigned char>(point) != kImplied)
        out += static_cast<unsigned char>(point);
    for (int i = n; i < n + m; ++i)
        out += static_cast<unsigned char>(0xF0 + (digits[i] - '0'));
    out += kE;
    out += exponent < 0 ? kMinus : (static_cast<unsigned char>(eSign) == kPlus ? kPlus : kBlank);
    out += static_cast<unsigned char>(0xF0 + magnitude / 10);
    out += static_cast<unsigned char>(0xF0 + magnitude % 10);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(out.length()),
                static_cast<int>(out.length()), reinterpret_cast<const char*>(out.data()));
    return out;
}

// --------------------------------------------------------------------------
// Reading the value

ExternalFloat::operator long double() const
{
    int n = 0;
    int m = 0;
    char point = 0;
    getPicAttributes(&n, &m, &point, nullptr, nullptr);
    if (static_cast<long long>(record_.length) < static_cast<long long>(n) + m + 5)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "_value=%.*s", static_cast<int>(bytes_.length()),
                reinterpret_cast<const char*>(bytes_.data()));
    const bool implied = static_cast<unsigned char>(point) == kImplied;
    // Never read past the bytes held: missing positions read as zeros.
    const unsigned need = static_cast<unsigned>(n + m + (implied ? 0 : 1) + 5);
    const ByteString b(bytes_, 0, need > bytes_.length() ? need : bytes_.length(), 0xF0);
    unsigned i = 1;
    long double value = 0;
    for (int k = 0; k < n; ++k)
        value = value * 10 + (static_cast<int>(b[i++]) - 0xF0);
    if (!implied)
        ++i;
    long double weight = 0.1L;
    for (int k = 0; k < m; ++k) {
        value += weight * (static_cast<int>(b[i++]) - 0xF0);
        weight /= 10;
    }
    ++i; // the 'E'
    const unsigned char exponentSign = b[i++];
    const int tens = static_cast<int>(b[i++]) - 0xF0;
    const int units = static_cast<int>(b[i++]) - 0xF0;
    const int exponent = tens * 10 + units;
    for (int k = 0; k < exponent; ++k) {
        if (exponentSign == kMinus)
            value /= 10;
        else
            value *= 10;
    }
    return b[0] == kMinus ? -value : value;
}

ExternalFloat::operator long long() const
{
    return static_cast<long long>(static_cast<long double>(*this));
}

ExternalFloat::operator unsigned long long() const
{
    return static_cast<unsigned long long>(static_cast<long long>(*this));
}

ExternalFloat::operator DecimalFloat() const
{
    return DecimalFloat(static_cast<long double>(*this), DecimalFloat::Size128);
}

bool ExternalFloat::operator!() const
{
    return static_cast<long double>(*this) == 0;
}

// --------------------------------------------------------------------------
// Other members

ExternalFloat& ExternalFloat::convert(const ExternalFloat& other)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "v1=%.*s (%d)", static_cast<int>(other.bytes_.length()),
                reinterpret_cast<const char*>(other.bytes_.data()), static_cast<int>(other.record_.length));
    bytes_ = getValueFromLongDouble(static_cast<long double>(other));
    return *this;
}

int ExternalFloat::compare(const ExternalFloat& other) const
{
    const int byBytes = edited::comparePrefix(bytes_, other.bytes_);
    if (byBytes != 0)
        return byBytes;
    if (bytes_.length() == other.bytes_.length())
        return 0;
    return bytes_.length() < other.bytes_.length() ? -1 : 1;
}

ExternalFloat ExternalFloat::operator-() const
{
    ExternalFloat copy(*this);
    if (copy.bytes_.empty())
        return copy;
    copy.bytes_[0] = copy.bytes_[0] == kPlus ? kMinus : kPlus;
    return copy;
}

void ExternalFloat::format(void* bytes, unsigned int size) const
{
    edited::copyOut(bytes_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(size),
                static_cast<int>(bytes_.length()), reinterpret_cast<const char*>(bytes_.data()));
}

int ExternalFloat::format(char*) const
{
    return -1;
}

bool ExternalFloat::isValidExternalFloat(DataError* error) const
{
    static constexpr externalfloat::Alphabet ebcdic{kBlank, kPlus, kMinus,
                                                    kPoint, kE,    [](unsigned c) { return c >= 0xF0 && c <= 0xF9; }};
    // Positions beyond the bytes held are no characters at all.
    auto at = [&](unsigned i) -> unsigned { return i < bytes_.length() ? bytes_[i] : 0x00; };
    return externalfloat::isValid(record_.length, at, ebcdic, error);
}

NationalExternalFloat ExternalFloat::convertToNationalExternalFloat() const
{
    TNnational_external_float r{};
    r.leaf = TE_NATIONAL_EXTERNAL_FLOAT;
    r.length = record_.length * 2;
    r.picture = record_.picture;
    ByteString wide;
    for (unsigned i = 0; i < bytes_.length(); ++i) {
        const unsigned char b = bytes_[i];
        char c = ' ';
        if (isDigit(b)) {
            c = static_cast<char>('0' + (b - 0xF0));
        } else {
            switch (b) {
            case kPoint: c = '.'; break;
            case kComma: c = ','; break;
            case kPlus: c = '+'; break;
            case kMinus: c = '-'; break;
            case kBlank: c = ' '; break;
            case kE: c = 'E'; break;
            default: SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "char=%c", static_cast<char>(b)); break;
            }
        }
        wide += static_cast<unsigned char>(0x00);
        wide += static_cast<unsigned char>(c);
    }
    return NationalExternalFloat(r, wide);
}

// --------------------------------------------------------------------------
// The decimal classes' conversions from external floating-point values:
// the value as a long double, then into the given record.

ZonedDecimal::ZonedDecimal(const ExternalFloat& source, const TNzoned_decimal& record)
    : ZonedDecimal(record, static_cast<long double>(source))
{}

PackedDecimal::PackedDecimal(const ExternalFloat& source, const TNpacked_decimal& record)
    : PackedDecimal(record, static_cast<long double>(source))
{}

NationalDecimal::NationalDecimal(const ExternalFloat& source, const TNnational_decimal& record)
    : NationalDecimal(record, static_cast<long double>(source))
{}

FixedPointBinary::FixedPointBinary(const ExternalFloat& source, const TNfixed_point_binary& record)
    : FixedPointBinary(record, static_cast<long double>(source), kMaxDigits)
{}
