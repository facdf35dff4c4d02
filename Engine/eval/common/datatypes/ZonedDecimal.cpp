#include "datatypes/ZonedDecimal.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimalRoutines.h"
#include "services/SVC.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using dataitem::atLeast;
using dataitem::copyOf;
using dataitem::refuse;

namespace {

constexpr int kOperandDigits = 31;

bool separateSign(int kind)
{
    return kind == 4 || kind == 5;
}
unsigned zonedBytes(int p, int kind)
{
    return static_cast<unsigned>(p + (separateSign(kind) ? 1 : 0));
}

void limitDigits(ZonedDecimal::Effective& e, int m)
{
    if (m > kOperandDigits || e.precision - e.decimals <= kOperandDigits - m)
        return;
    const unsigned char* r =
        dtConvertZonedDecimal(e.bytes.data(), e.precision, e.decimals, e.kind, kOperandDigits, m, e.kind);
    if (r == nullptr)
        return;
    e.bytes = copyOf(r, zonedBytes(kOperandDigits, e.kind));
    e.precision = kOperandDigits;
    e.decimals = m;
}

// The arithmetic routines read every sign from the zone of the last digit
// byte: an operand of any other sign kind is re-signed to kind 3 first.
void toTrailingSign(ZonedDecimal::Effective& e)
{
    if (e.kind == 3)
        return;
    const unsigned char* r =
        dtConvertZonedDecimal(e.bytes.data(), e.precision, e.decimals, e.kind, e.precision, e.decimals, 3);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    e.bytes = copyOf(r, static_cast<unsigned>(e.precision));
    e.kind = 3;
}

// A value whose digits are all zero counts as positive: a COBOL comparison
// is numeric, so a negative zero (as arithmetic may leave or a program may
// store) equals zero. It compares as unsigned zero digits.
void zeroAsPositive(ZonedDecimal::Effective& e)
{
    const unsigned first = e.kind == 4 ? 1 : 0;
    const unsigned n = static_cast<unsigned>(e.precision);
    if (e.bytes.length() < first + n)
        return;
    for (unsigned i = 0; i < n; ++i)
        if ((e.bytes[first + i] & 0x0F) != 0)
            return;
    std::vector<unsigned char> zeros(n, 0xF0);
    e.bytes = copyOf(zeros.data(), n);
    e.kind = 0;
}

int integerDigits(const ZonedDecimal::Effective& e)
{
    return std::max(e.precision - e.decimals, 0);
}

using ZonedRoutine = unsigned char* (*)(const unsigned char*, int, int, const unsigned char*, int, int, int, int);

// The result of an arithmetic routine on a and b (trailing signs) of pr
// digits, sr of them decimal places; a failing routine is refused with code
// in the name of the calling operator.
ZonedDecimal routineResult(ZonedRoutine routine, const ZonedDecimal::Effective& a, const ZonedDecimal::Effective& b,
                           int pr, int sr, InvalidOp::InvalidOperation code, const char* function, unsigned line)
{
    const unsigned char* r =
        routine(a.bytes.data(), a.precision, a.decimals, b.bytes.data(), b.precision, b.decimals, pr, sr);
    if (r == nullptr)
        refuse(code, function, line);
    return ZonedDecimal(ZonedDecimal::resultRecord(pr, sr), copyOf(r, static_cast<unsigned>(pr)));
}

// The sum or difference (by routine) of x and y: both taken to the larger
// number of decimal places, the result one integer digit longer than the
// longer operand's.
ZonedDecimal sumOrDifference(ZonedRoutine routine, const ZonedDecimal& x, const ZonedDecimal& y, const char* function,
                             unsigned line)
{
    ZonedDecimal::Effective a = x.effective();
    ZonedDecimal::Effective b = y.effective();
    const int m = std::max(a.decimals, b.decimals);
    limitDigits(a, m);
    limitDigits(b, m);
    toTrailingSign(a);
    toTrailingSign(b);
    const int sr = m;
    const int pr = std::max(integerDigits(a), integerDigits(b)) + 1 + sr;
    return routineResult(routine, a, b, pr, sr, InvalidOp::RTRC_Other, function, line);
}

// The effective digits and decimals of a record, without its bytes.
void effectiveShape(const TNzoned_decimal& r, int& p, int& s)
{
    const int t = r.scale;
    if (t > 0) {
        p = r.precision + t;
        s = r.decimalPlaces;
    } else if (-t > r.precision) {
        p = -t;
        s = -t;
    } else {
        p = r.precision;
        s = r.decimalPlaces;
    }
}

bool isPScaled(const TNzoned_decimal& r)
{
    return r.scale > 0 || -r.scale > r.precision;
}

// The value of digit bytes as a long double: the fallback when the value
// has no text form. The low nibble of every digit byte counts.
long double digitsValue(const ZonedDecimal::Effective& e)
{
    const int first = e.kind == 4 ? 1 : 0;
    long double v = 0;
    for (int i = 0; i < e.precision; ++i)
        v = v * 10 + (e.bytes[static_cast<unsigned>(first + i)] & 0x0F);
    v /= powl(10.0L, e.decimals);
    std::uint32_t sign = 0;
    dtConvertZonedDecimal2FixedPointBinary(e.bytes.data(), e.precision, 0, e.isSigned, e.kind, &sign, 0);
    return e.isSigned && static_cast<std::int32_t>(sign) < 0 ? -v : v;
}

} // namespace

TNzoned_decimal ZonedDecimal::resultRecord(int p, int s)
{
    TNzoned_decimal r{};
    r.leaf = TE_ZONED_DECIMAL;
    r.precision = static_cast<UBYTE1>(p);
    r.decimalPlaces = static_cast<UBYTE1>(s);
    r.signKind = TN_SignTrailingEmbedded;
    r.flags = TN_DecimalSigned;
    r.byteLength = static_cast<UBYTE1>(p);
    r.scale = static_cast<signed char>(-s);
    r.picture = nullptr;
    return r;
}

ZonedDecimal::ZonedDecimal(const TypeItem& type)
    : record_(dataitem::recordOf<TNzoned_decimal>(type, TE_ZONED_DECIMAL, __PRETTY_FUNCTION__, __LINE__))
{
    bytes_.makeBuffer(record_.byteLength);
}

ZonedDecimal::ZonedDecimal(const TNzoned_decimal& record, const ByteString& bytes) : bytes_(bytes), record_(record) {}

ZonedDecimal::ZonedDecimal(const void* bytes, const TNzoned_decimal& record)
    : bytes_(static_cast<const unsigned char*>(bytes), record.byteLength), record_(record)
{}

ZonedDecimal::ZonedDecimal(const char* literal)
{
    unsigned char out[PackedDecimalMaxBytes] = {};
    std::uint32_t digits = 0;
    std::uint32_t scale = 0;
    if (literal == nullptr || dtGetZonedDecimalWithPropertries(literal, out, &digits, &scale) == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    int p = static_cast<int>(digits);
    const int s = static_cast<int>(scale);
    const unsigned char* packed = out;
    if (s > p) {
        // A fraction with leading zeros (0.05): the zeros become digits.
        packed = dtScalePackedDecimal1(out, p, 1, p - s);
        if (packed == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        p = s;
    }
    const unsigned char* r = dtConvertPackedDecimal2ZonedDecimal(packed, p, 0, 1);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = resultRecord(p, s);
    bytes_ = copyOf(r, static_cast<unsigned>(p));
}

ZonedDecimal::ZonedDecimal(const char* text, const TypeItem& type) : ZonedDecimal(type)
{
    const int p = record_.precision;
    const int kind = signKind();
    const unsigned length = bytes_.length();
    const unsigned first = kind == 4 ? 1 : 0;
    unsigned char* out = bytes_.data();
    for (unsigned i = first; i < length && i < first + static_cast<unsigned>(p); ++i)
        out[i] = 0xF0;
    unsigned position = first;
    for (const char* c = text; c != nullptr && *c != '\0' && position < first + static_cast<unsigned>(p); ++c) {
        if (*c < '0' || *c > '9')
            continue;
        if (position >= length)
            break;
        out[position++] = static_cast<unsigned char>(0xF0 | (*c - '0'));
    }
    if (!isSigned() || p == 0)
        return;
    const bool negative = text != nullptr && text[0] == '-';
    const unsigned last = first + static_cast<unsigned>(p) - 1;
    switch (kind) {
    case 2:
        if (first < length)
            out[first] = static_cast<unsigned char>((negative ? 0xD0 : 0xC0) | (out[first] & 0x0F));
        break;
    case 3:
        if (last < length)
            out[last] = static_cast<unsigned char>((negative ? 0xD0 : 0xC0) | (out[last] & 0x0F));
        break;
    case 4:
        if (length > 0)
            out[0] = negative ? 0x60 : 0x4E;
        break;
    case 5:
        if (last + 1 < length)
            out[last + 1] = negative ? 0x60 : 0x4E;
        break;
    default: break;
    }
}

ZonedDecimal::ZonedDecimal(long long value)
{
    std::uint32_t p = 0;
    std::uint32_t s = 0;
    const unsigned char* r = dtConvertLonglong2ZonedDecimal(value, &p, &s);
    record_ = resultRecord(static_cast<int>(p), 0);
    bytes_ = copyOf(r, p);
}

ZonedDecimal::ZonedDecimal(unsigned long long value)
{
    std::uint32_t p = 0;
    std::uint32_t s = 0;
    const unsigned char* r = dtConvertUnLonglong2ZonedDecimal(value, &p, &s);
    record_ = resultRecord(static_cast<int>(p), 0);
    bytes_ = copyOf(r, p);
}

ZonedDecimal::ZonedDecimal(const ByteString& characters)
{
    std::uint32_t p = 0;
    std::uint32_t s = 0;
    const unsigned char* r = dtConvertCharstring2ZonedDecimal(characters.data(), &p, &s);
    if (r == nullptr || p == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = resultRecord(static_cast<int>(p), static_cast<int>(s));
    bytes_ = copyOf(r, p);
}

ZonedDecimal::ZonedDecimal(const TNzoned_decimal& record, long double value) : record_(record)
{
    int pe = 0;
    int se = 0;
    effectiveShape(record_, pe, se);
    const int kind = signKind();
    const unsigned char* r = dtConvertLongDouble2ZonedDecimal(value, pe, se);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    r = dtConvertZonedDecimal(r, pe, se, 3, pe, se, kind);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (isPScaled(record_)) {
        // P positions are dropped again, as a MOVE does.
        const int t = record_.scale;
        r = dtCompressZonedDecimal1(r, pe, kind, t > 0 ? t : record_.precision + t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    bytes_ = ByteString(copyOf(r, zonedBytes(record_.precision, kind)), 0, record_.byteLength, 0);
}

ZonedDecimal::ZonedDecimal(const PackedDecimal& source)
{
    const TNpacked_decimal& pr = source.record();
    const int p = pr.precision;
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(p / 2 + 1));
    const unsigned char* r = dtConvertPackedDecimal2ZonedDecimal(in.data(), p, 0, source.isSigned());
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = resultRecord(p, pr.decimalPlaces);
    record_.scale = pr.scale;
    bytes_ = copyOf(r, static_cast<unsigned>(p));
}

ZonedDecimal::ZonedDecimal(const NationalDecimal& source)
{
    const TNnational_decimal& n = source.record();
    const int p = n.precision;
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(2 * p + 2));
    const unsigned char* r = dtConvertNationalDecimal2ZonedDecimal(in.data(), p, n.decimalPlaces, source.isSigned(),
                                                                   source.routineSignKind());
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = resultRecord(p, n.decimalPlaces);
    record_.scale = n.scale;
    bytes_ = copyOf(r, static_cast<unsigned>(p));
}

ZonedDecimal::ZonedDecimal(const FixedPointBinary& source)
    : ZonedDecimal(source, dataitem::decimalDigitsForBinaryLength(source.record().byteLength, source.isSigned()))
{}

ZonedDecimal::ZonedDecimal(const FixedPointBinary& source, int digits)
{
    const int scale = source.scale();
    const int decimals = scale < 0 ? -scale : 0;
    record_ = resultRecord(digits, 0);
    record_.decimalPlaces = static_cast<UBYTE1>(decimals);
    record_.scale = static_cast<signed char>(scale);
    if (digits <= 0) {
        // No digits: a plain zero of one digit.
        record_ = resultRecord(1, 0);
        record_.scale = static_cast<signed char>(scale);
        record_.decimalPlaces = static_cast<UBYTE1>(decimals);
        bytes_ = ByteString(reinterpret_cast<const unsigned char*>("\xC0"), 1);
        return;
    }
    const unsigned char* r = dtConvertFixedPointBinary2ZonedDecimal(source.value(), digits, 0, source.isSigned(), 3);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    bytes_ = copyOf(r, static_cast<unsigned>(digits));
}

ZonedDecimal::Effective ZonedDecimal::effective() const
{
    const int p = record_.precision;
    const int t = record_.scale;
    const int kind = signKind();
    const int sgn = isSigned() ? 1 : 0;
    ByteString in = atLeast(bytes_, zonedBytes(p, kind));
    if (t > 0) {
        const unsigned char* r = dtScaleZonedDecimal1(in.data(), p, kind, t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        return {copyOf(r, zonedBytes(p + t, kind)), p + t, record_.decimalPlaces, kind, sgn};
    }
    if (-t > p) {
        const unsigned char* r = dtScaleZonedDecimal1(in.data(), p, kind, p + t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        return {copyOf(r, zonedBytes(-t, kind)), -t, -t, kind, sgn};
    }
    return {in, p, record_.decimalPlaces, kind, sgn};
}

bool ZonedDecimal::isValidZoned(bool zoneF, bool skipDigits, DataError* error) const
{
    const int kind = signKind();
    if (kind > 5)
        return false;
    const unsigned n = bytes_.length();
    DataError result = DataErrorNone;
    int signIndex = -1;
    if (n > 0) {
        if (kind == 2 || kind == 4)
            signIndex = 0;
        else if (kind == 3 || kind == 5)
            signIndex = static_cast<int>(n) - 1;
    }
    const bool separate = separateSign(kind);
    if (!skipDigits) {
        for (unsigned i = 0; i < n; ++i) {
            if (static_cast<int>(i) == signIndex)
                continue;
            const unsigned char b = bytes_[i];
            if ((b & 0x0F) > 9 || (zoneF && (b >> 4) != 0x0F)) {
                result = DataErrorBadDigit;
                break;
            }
        }
    }
    if (result == DataErrorNone && signIndex >= 0) {
        const unsigned char b = bytes_[static_cast<unsigned>(signIndex)];
        if (separate) {
            if (b != 0x4E && b != 0x60)
                result = DataErrorBadSign;
        } else if ((b >> 4) <= 9) {
            result = DataErrorBadSign;
        } else if (!skipDigits && (b & 0x0F) > 9) {
            result = DataErrorBadDigit;
        }
    }
    if (error != nullptr)
        *error = result;
    return result == DataErrorNone;
}

int ZonedDecimal::compare(const ZonedDecimal& other) const
{
    Effective a = effective();
    Effective b = other.effective();
    const int m = std::max(a.decimals, b.decimals);
    limitDigits(a, m);
    limitDigits(b, m);
    zeroAsPositive(a);
    zeroAsPositive(b);
    return dtCompareZonedDecimal(a.bytes.data(), a.precision, a.decimals, a.kind, b.bytes.data(), b.precision,
                                 b.decimals, b.kind, 0);
}

ZonedDecimal::operator long long() const
{
    Effective e = effective();
    const char* text = dtFormatZonedDecimal(e.bytes.data(), e.precision, e.decimals, e.kind);
    if (text == nullptr || text[0] == '\0' || static_cast<unsigned char>(text[0]) >= 0x80)
        return dtConvertZonedDecimal2FixedPointBinary2(e.bytes.data(), e.precision, e.decimals, 1, e.kind, e.isSigned,
                                                       0, 0);
    return dtConvertZDstring2LongLong(text, 1);
}

ZonedDecimal::operator unsigned long long() const
{
    return static_cast<unsigned long long>(FixedPointBinary(*this));
}

ZonedDecimal::operator long double() const
{
    Effective e = effective();
    const char* text = dtFormatZonedDecimal(e.bytes.data(), e.precision, e.decimals, e.kind);
    long double value = 0;
    if (text != nullptr && std::sscanf(text, "%LE", &value) == 1)
        return value;
    return digitsValue(e);
}

ZonedDecimal::operator DecimalFloat() const
{
    refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

ByteString& ZonedDecimal::format(ByteString& out) const
{
    ByteString in = atLeast(bytes_, zonedBytes(record_.precision, signKind()));
    const char* text = dtFormatZonedDecimal(in.data(), record_.precision, record_.decimalPlaces, signKind());
    if (text != nullptr)
        out += ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
    return out;
}

ByteString ZonedDecimal::toCharstring() const
{
    if (record_.decimalPlaces != 0)
        refuse(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    Effective e = effective();
    ZonedDecimal widened(record_, e.bytes);
    widened.record_.precision = static_cast<UBYTE1>(e.precision);
    widened.record_.decimalPlaces = static_cast<UBYTE1>(e.decimals);
    widened.record_.scale = static_cast<signed char>(-e.decimals);
    widened.record_.byteLength = static_cast<UBYTE1>(e.bytes.length());
    const unsigned p = static_cast<unsigned>(e.precision);
    if (!widened.isValidZoned(true, false, nullptr)) {
        // Bad data: the digit bytes as they are, the sign position made a
        // plain digit zone.
        const unsigned first = e.kind == 4 ? 1 : 0;
        ByteString digits(e.bytes, first, p, 0xF0);
        if (p > 0) {
            if (e.kind == 2)
                digits[0] = static_cast<unsigned char>(digits[0] | 0xF0);
            else if (e.kind == 3)
                digits[p - 1] = static_cast<unsigned char>(digits[p - 1] | 0xF0);
        }
        return digits;
    }
    const char* text = dtFormatZonedDecimal(e.bytes.data(), e.precision, e.decimals, e.kind);
    if (text == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const unsigned textLength = static_cast<unsigned>(std::strlen(text));
    std::vector<unsigned char> ebcdic(textLength + 1u, 0);
    BYTE4 answer = SVC::ExprEbcdicConvert(text, static_cast<UBYTE2>(textLength), ebcdic.data(),
                                          static_cast<UBYTE2>(ebcdic.size()), nullptr, Conv_ToCodePage);
    if (answer > static_cast<BYTE4>(ebcdic.size())) {
        ebcdic.assign(static_cast<std::size_t>(answer), 0);
        answer = SVC::ExprEbcdicConvert(text, static_cast<UBYTE2>(textLength), ebcdic.data(),
                                        static_cast<UBYTE2>(ebcdic.size()), nullptr, Conv_ToCodePage);
    }
    if (answer < 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    std::size_t used = std::min(static_cast<std::size_t>(answer), ebcdic.size());
    // The integer digits: everything before the point, without a minus.
    std::size_t end = 0;
    while (end < used && ebcdic[end] != 0x4B && ebcdic[end] != 0)
        ++end;
    std::size_t begin = (end > 0 && ebcdic[0] == 0x60) ? 1 : 0;
    const std::size_t count = end - begin;
    ByteString result;
    unsigned char* out = result.makeBuffer(p);
    for (unsigned i = 0; i < p; ++i)
        out[i] = 0xF0;
    for (std::size_t i = 0; i < count && i < p; ++i)
        out[p - 1 - i] = ebcdic[end - 1 - i];
    return result;
}

bool ZonedDecimal::operator!() const
{
    return compare(ZonedDecimal(0LL)) == 0;
}

ZonedDecimal ZonedDecimal::operator-() const
{
    ZonedDecimal copy(*this);
    const int kind = signKind();
    if (kind == 0 || kind == 1 || !isSigned()) {
        // An unsigned value gets an embedded trailing sign first, so the
        // negation can be held.
        const int p = record_.precision;
        Effective e{atLeast(bytes_, zonedBytes(p, kind)), p, record_.decimalPlaces, kind, 0};
        if (kind != 3)
            toTrailingSign(e);
        TNzoned_decimal r = resultRecord(p, record_.decimalPlaces);
        r.scale = record_.scale;
        copy = ZonedDecimal(r, e.bytes);
    }
    copy.bytes_ = atLeast(copy.bytes_, zonedBytes(copy.record_.precision, copy.signKind()));
    dtNegateZonedDecimal(copy.bytes_.data(), copy.record_.precision, copy.signKind());
    return copy;
}

ZonedDecimal ZonedDecimal::operator+(const ZonedDecimal& other) const
{
    ZonedDecimal r(*this);
    return r += other;
}

ZonedDecimal ZonedDecimal::operator-(const ZonedDecimal& other) const
{
    ZonedDecimal r(*this);
    return r -= other;
}

ZonedDecimal ZonedDecimal::operator*(const ZonedDecimal& other) const
{
    ZonedDecimal r(*this);
    return r *= other;
}

ZonedDecimal ZonedDecimal::operator/(const ZonedDecimal& other) const
{
    ZonedDecimal r(*this);
    return r /= other;
}

ZonedDecimal& ZonedDecimal::operator+=(const ZonedDecimal& other)
{
    return *this = sumOrDifference(dtAddZonedDecimal, *this, other, __PRETTY_FUNCTION__, __LINE__);
}

ZonedDecimal& ZonedDecimal::operator-=(const ZonedDecimal& other)
{
    return *this = sumOrDifference(dtSubtractZonedDecimal, *this, other, __PRETTY_FUNCTION__, __LINE__);
}

ZonedDecimal& ZonedDecimal::operator*=(const ZonedDecimal& other)
{
    Effective a = effective();
    Effective b = other.effective();
    toTrailingSign(a);
    toTrailingSign(b);
    const int sr = a.decimals + b.decimals;
    const int pr = sr + integerDigits(a) + integerDigits(b);
    return *this = routineResult(dtMultiplyZonedDecimal, a, b, pr, sr, InvalidOp::RTRC_Other, __PRETTY_FUNCTION__,
                                 __LINE__);
}

ZonedDecimal& ZonedDecimal::operator/=(const ZonedDecimal& other)
{
    Effective a = effective();
    Effective b = other.effective();
    toTrailingSign(a);
    toTrailingSign(b);
    const int q = std::min(b.decimals + integerDigits(a), 31);
    const int pr = q + 31;
    const int sr = 31;
    return *this = routineResult(dtDivideZonedDecimal, a, b, pr, sr, InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__,
                                 __LINE__);
}

ZonedDecimal& ZonedDecimal::power(const ZonedDecimal& exponent, unsigned int places)
{
    Effective a = effective();
    Effective b = exponent.effective();
    toTrailingSign(a);
    toTrailingSign(b);
    const int pr = 31;
    const int sr = static_cast<int>(std::min(places, 31u));
    return *this = routineResult(dtPowerZonedDecimal, a, b, pr, sr, InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__,
                                 __LINE__);
}

ZonedDecimal& ZonedDecimal::convert(const ZonedDecimal& source)
{
    const TNzoned_decimal& s = source.record_;
    const int kind = signKind();
    const unsigned length = record_.byteLength;
    if (!isPScaled(record_) && !isPScaled(s) && s.precision == record_.precision &&
        s.decimalPlaces == record_.decimalPlaces && s.signKind == record_.signKind) {
        ByteString in = atLeast(source.bytes_, zonedBytes(s.precision, kind));
        const unsigned char* r = dtCopyZonedDecimal(in.data(), record_.precision, 0, kind);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        bytes_ = ByteString(copyOf(r, zonedBytes(record_.precision, kind)), 0, length, 0);
        return *this;
    }
    Effective src = source.effective();
    int pe = 0;
    int se = 0;
    effectiveShape(record_, pe, se);
    const unsigned char* r =
        dtConvertZonedDecimal(src.bytes.data(), src.precision, src.decimals, src.kind, pe, se, kind);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (isPScaled(record_)) {
        const int t = record_.scale;
        r = dtCompressZonedDecimal1(r, pe, kind, t > 0 ? t : record_.precision + t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    bytes_ = ByteString(copyOf(r, zonedBytes(record_.precision, kind)), 0, length, 0);
    return *this;
}
