#include "datatypes/PackedDecimal.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/PackedDecimalDigits.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimal.h"
#include "datatypes/ZonedDecimalRoutines.h"
#include "services/EvaluationEnvironment.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using dataitem::atLeast;
using dataitem::copyOf;
using dataitem::refuse;

namespace {

unsigned packedBytes(int p)
{
    return static_cast<unsigned>(p / 2 + 1);
}

// The largest number of digits an operand keeps for comparing and adding.
constexpr int kOperandDigits = 31;

// An operand whose integer digits exceed what 31 digits at scale m leave
// room for keeps only its low 31 - m integer digits.
void limitDigits(PackedDecimal::Effective& e, int m)
{
    if (m > kOperandDigits || e.precision - e.decimals <= kOperandDigits - m)
        return;
    const unsigned char* r =
        dtConvertPackedDecimal(e.bytes.data(), e.precision, e.decimals, kOperandDigits, m, e.isSigned, nullptr);
    if (r == nullptr)
        return;
    e.bytes = copyOf(r, packedBytes(kOperandDigits));
    e.precision = kOperandDigits;
    e.decimals = m;
}

// A value whose digits are all zero counts as positive: a COBOL comparison
// is numeric, so a negative zero (sign D, as arithmetic may leave or a
// program may store) equals zero. An operand whose flag is clear has its
// sign nibble ignored.
void zeroAsPositive(PackedDecimal::Effective& e)
{
    const unsigned n = packedBytes(e.precision);
    if (!e.isSigned || e.bytes.length() < n || (e.bytes[n - 1] & 0xF0) != 0)
        return;
    for (unsigned i = 0; i + 1 < n; ++i)
        if (e.bytes[i] != 0)
            return;
    e.isSigned = 0;
}

// The integer part of a packed value; the fallback when the value has no
// text form (decimals beyond 31, a digit in the sign nibble).
long long integerPart(const PackedDecimal::Effective& e)
{
    return dtConvertPackedDecimal2FixedPointBinary2(e.bytes.data(), e.precision, e.decimals, 1, e.isSigned, 0, 0);
}

} // namespace

TNpacked_decimal PackedDecimal::resultRecord(int p, int s)
{
    TNpacked_decimal r{};
    r.leaf = TE_PACKED_DECIMAL;
    r.precision = static_cast<UBYTE1>(p);
    r.decimalPlaces = static_cast<UBYTE1>(s);
    r.flags = TN_DecimalSigned;
    r.byteLength = static_cast<UBYTE1>(p / 2 + 1);
    r.scale = static_cast<signed char>(-s);
    r.picture = nullptr;
    return r;
}

PackedDecimal::PackedDecimal(const TypeItem& type)
    : record_(dataitem::recordOf<TNpacked_decimal>(type, TE_PACKED_DECIMAL, __PRETTY_FUNCTION__, __LINE__))
{
    bytes_.makeBuffer(record_.byteLength);
}

PackedDecimal::PackedDecimal(const TNpacked_decimal& record, const ByteString& bytes) : bytes_(bytes), record_(record)
{}

PackedDecimal::PackedDecimal(const void* bytes, const TNpacked_decimal& record)
    : bytes_(static_cast<const unsigned char*>(bytes), record.byteLength), record_(record)
{}

PackedDecimal::PackedDecimal(const char* literal)
{
    unsigned char out[PackedDecimalMaxBytes] = {};
    uint32_t digits = 0;
    uint32_t scale = 0;
    if (literal == nullptr || dtGetPackedDecimalWithPropertries(literal, out, &digits, &scale) == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    int p = static_cast<int>(digits);
    int s = static_cast<int>(scale);
    const unsigned char* bytes = out;
    if (s > p) {
        // A fraction with leading zeros (0.05): the zeros become digits.
        bytes = dtScalePackedDecimal1(out, p, 1, p - s);
        if (bytes == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        p = s;
    }
    record_ = resultRecord(p, s);
    bytes_ = copyOf(bytes, packedBytes(p));
}

PackedDecimal::PackedDecimal(const char* text, const TypeItem& type) : PackedDecimal(type)
{
    const int p = record_.precision;
    unsigned char* out = bytes_.data();
    const unsigned length = bytes_.length();
    if (length == 0)
        return;
    // Digit nibbles are numbered from 1 at the high nibble of byte 0; an
    // even precision starts at the low nibble.
    int nibble = (p % 2 == 0) ? 2 : 1;
    int placed = 0;
    for (const char* c = text; c != nullptr && *c != '\0' && placed < p; ++c) {
        if (*c < '0' || *c > '9')
            continue;
        const unsigned index = static_cast<unsigned>((nibble - 1) / 2);
        // Never into the sign nibble, never past the bytes.
        if (index >= length || (index == length - 1 && (nibble & 1) == 0))
            break;
        const int digit = *c - '0';
        if (nibble & 1)
            out[index] = static_cast<unsigned char>((out[index] & 0x0F) | (digit << 4));
        else
            out[index] = static_cast<unsigned char>((out[index] & 0xF0) | digit);
        ++nibble;
        ++placed;
    }
    unsigned char sign = 0x0F;
    if (isSigned())
        sign = (text != nullptr && text[0] == '-') ? 0x0D : 0x0C;
    out[length - 1] = static_cast<unsigned char>((out[length - 1] & 0xF0) | sign);
}

PackedDecimal::PackedDecimal(long long value)
{
    uint32_t p = 0;
    uint32_t s = 0;
    const unsigned char* r = dtConvertLonglong2PackedDecimal(value, &p, &s);
    record_ = resultRecord(static_cast<int>(p), 0);
    bytes_ = copyOf(r, packedBytes(static_cast<int>(p)));
}

PackedDecimal::PackedDecimal(unsigned long long value)
{
    uint32_t p = 0;
    uint32_t s = 0;
    const unsigned char* r = dtConvertUnLonglong2PackedDecimal(value, &p, &s);
    record_ = resultRecord(static_cast<int>(p), 0);
    bytes_ = copyOf(r, packedBytes(static_cast<int>(p)));
}

PackedDecimal::PackedDecimal(const TNpacked_decimal& record, long double value) : record_(record)
{
    // The value goes into the effective digits and decimals of the record;
    // P positions are then dropped again, as a MOVE does.
    PackedDecimal shape(record_, ByteString());
    Effective target = shape.effective();
    const unsigned char* r = dtConvertLongDouble2PackedDecimal(value, target.precision, target.decimals);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    // Unsigned items hold the magnitude with sign F.
    r = dtConvertPackedDecimal(r, target.precision, target.decimals, target.precision, target.decimals, isSigned(),
                               nullptr);
    const int t = record_.scale;
    const int p = record_.precision;
    if (t > 0 || -t > p) {
        r = dtCompressPackedDecimal1(r, target.precision, isSigned(), t > 0 ? t : p + t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    bytes_ = ByteString(copyOf(r, packedBytes(p)), 0, record_.byteLength, 0);
}

PackedDecimal::PackedDecimal(const ZonedDecimal& source)
{
    const TNzoned_decimal& z = source.record();
    const int p = z.precision;
    const int need = p + ((z.signKind == 4 || z.signKind == 5) ? 1 : 0);
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(need));
    const unsigned char* r =
        dtConvertZonedDecimal2PackedDecimal(in.data(), p, 0, source.isSigned(), static_cast<int>(z.signKind));
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = resultRecord(p, z.decimalPlaces);
    record_.scale = z.scale;
    bytes_ = copyOf(r, packedBytes(p));
}

PackedDecimal::PackedDecimal(const NationalDecimal& source)
{
    const TNnational_decimal& n = source.record();
    const int p = n.precision;
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(2 * p + 2));
    const unsigned char* r = dtConvertNationalDecimal2PackedDecimal(in.data(), p, n.decimalPlaces, source.isSigned(),
                                                                    source.routineSignKind());
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = resultRecord(p, n.decimalPlaces);
    record_.scale = n.scale;
    bytes_ = copyOf(r, packedBytes(p));
}

PackedDecimal::PackedDecimal(const FixedPointBinary& source)
{
    const TNfixed_point_binary& b = source.record();
    const int p = dataitem::decimalDigitsForBinaryLength(b.byteLength, source.isSigned());
    const int decimals = b.scale < 0 ? -b.scale : 0;
    record_ = resultRecord(p, 0);
    record_.decimalPlaces = static_cast<UBYTE1>(decimals);
    record_.scale = b.scale;
    if (p == 0) {
        // A binary item of no storage length has no digits: a plain zero.
        bytes_ = ByteString(reinterpret_cast<const unsigned char*>("\x0C"), 1);
        return;
    }
    const unsigned char* r =
        dtConvertFixedPointBinary2PackedDecimal(static_cast<long long>(source.value()), p, decimals, source.isSigned());
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    bytes_ = copyOf(r, packedBytes(p));
}

PackedDecimal::Effective PackedDecimal::effective() const
{
    const int p = record_.precision;
    const int t = record_.scale;
    const int sgn = isSigned() ? 1 : 0;
    ByteString in = atLeast(bytes_, packedBytes(p));
    if (t > 0) {
        const unsigned char* r = dtScalePackedDecimal1(in.data(), p, sgn, t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        return {copyOf(r, packedBytes(p + t)), p + t, record_.decimalPlaces, sgn};
    }
    if (-t > p) {
        const unsigned char* r = dtScalePackedDecimal1(in.data(), p, sgn, p + t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        return {copyOf(r, packedBytes(-t)), -t, -t, sgn};
    }
    return {in, p, record_.decimalPlaces, sgn};
}

bool PackedDecimal::isValidPacked(DataError* error) const
{
    DataError result = DataErrorNone;
    const unsigned n = bytes_.length();
    if (n == 0) {
        result = DataErrorBadSign;
    } else {
        const unsigned char last = bytes_[n - 1];
        if ((last >> 4) > 9)
            result = DataErrorBadDigit;
        else if ((last & 0x0F) < 0x0A)
            result = DataErrorBadSign;
        else
            for (unsigned i = 0; i + 1 < n; ++i)
                if ((bytes_[i] >> 4) > 9 || (bytes_[i] & 0x0F) > 9) {
                    result = DataErrorBadDigit;
                    break;
                }
    }
    if (error != nullptr)
        *error = result;
    return result == DataErrorNone;
}

int PackedDecimal::compare(const PackedDecimal& other) const
{
    Effective a = effective();
    Effective b = other.effective();
    const int m = std::max(a.decimals, b.decimals);
    limitDigits(a, m);
    limitDigits(b, m);
    zeroAsPositive(a);
    zeroAsPositive(b);
    return dtComparePackedDecimal(a.bytes.data(), a.precision, a.decimals, a.isSigned, b.bytes.data(), b.precision,
                                  b.decimals, b.isSigned);
}

PackedDecimal::operator long long() const
{
    Effective e = effective();
    const char* text = dtFormatPackedDecimal(e.bytes.data(), e.precision, e.decimals, e.isSigned);
    if (text == nullptr)
        return integerPart(e);
    return dtConvertPDstring2LongLong(text, 0);
}

PackedDecimal::operator unsigned long long() const
{
    if (isCobolLanguage())
        return static_cast<unsigned long long>(FixedPointBinary(*this));
    return static_cast<unsigned long long>(static_cast<long long>(*this));
}

PackedDecimal::operator long double() const
{
    // The value's text read back: the nearest long double, as for zoned and
    // binary values.
    Effective e = effective();
    long double value = 0;
    if (packed::toLongDouble(e.bytes.data(), e.precision, e.decimals, e.isSigned, &value))
        return value;
    // No text form (decimals beyond 31, a digit in the sign nibble): the
    // digit nibbles, the pad nibble of an even precision left out.
    const int first = (e.precision | 1) - e.precision + 1;
    for (int k = first; k <= (e.precision | 1); ++k) {
        const unsigned char byte = e.bytes[static_cast<unsigned>((k - 1) / 2)];
        value = value * 10 + ((k & 1) != 0 ? byte >> 4 : byte & 0x0F);
    }
    value /= powl(10.0L, e.decimals);
    return e.isSigned && packedSign(e.bytes.data(), e.precision) < 0 ? -value : value;
}

PackedDecimal::operator DecimalFloat() const
{
    refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

ByteString& PackedDecimal::format(ByteString&) const
{
    refuse(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}

bool PackedDecimal::operator!() const
{
    return compare(PackedDecimal(0LL)) == 0;
}

PackedDecimal PackedDecimal::operator-() const
{
    PackedDecimal copy(*this);
    if (!copy.isSigned())
        copy.record_.flags |= TN_DecimalSigned;
    const int p = copy.record_.precision;
    copy.bytes_ = atLeast(copy.bytes_, packedBytes(p));
    dtNegatePackedDecimal(copy.bytes_.data(), p);
    return copy;
}

PackedDecimal PackedDecimal::operator+(const PackedDecimal& other) const
{
    PackedDecimal r(*this);
    return r += other;
}

PackedDecimal PackedDecimal::operator-(const PackedDecimal& other) const
{
    PackedDecimal r(*this);
    return r -= other;
}

PackedDecimal PackedDecimal::operator*(const PackedDecimal& other) const
{
    PackedDecimal r(*this);
    return r *= other;
}

PackedDecimal PackedDecimal::operator/(const PackedDecimal& other) const
{
    PackedDecimal r(*this);
    return r /= other;
}

namespace {

int integerDigits(const PackedDecimal::Effective& e)
{
    return std::max(e.precision - e.decimals, 0);
}

using AddRoutine = unsigned char* (*)(const unsigned char*, int, int, int, const unsigned char*, int, int, int, int,
                                      int);

// The sum or difference (by routine) of x and y: both taken to the larger
// number of decimal places, the result one integer digit longer than the
// longer operand's; a failing routine is refused with RTRC_Other in the name
// of the calling operator.
PackedDecimal sumOrDifference(AddRoutine routine, const PackedDecimal& x, const PackedDecimal& y, const char* function,
                              unsigned line)
{
    PackedDecimal::Effective a = x.effective();
    PackedDecimal::Effective b = y.effective();
    const int m = std::max(a.decimals, b.decimals);
    limitDigits(a, m);
    limitDigits(b, m);
    const int sr = m;
    const int pr = std::max(integerDigits(a), integerDigits(b)) + 1 + sr;
    const unsigned char* r = routine(a.bytes.data(), a.precision, a.decimals, a.isSigned, b.bytes.data(), b.precision,
                                     b.decimals, b.isSigned, pr, sr);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, function, line);
    return PackedDecimal(PackedDecimal::resultRecord(pr, sr), copyOf(r, packedBytes(pr)));
}

} // namespace

PackedDecimal& PackedDecimal::operator+=(const PackedDecimal& other)
{
    return *this = sumOrDifference(dtAddPackedDecimal, *this, other, __PRETTY_FUNCTION__, __LINE__);
}

PackedDecimal& PackedDecimal::operator-=(const PackedDecimal& other)
{
    return *this = sumOrDifference(dtSubtractPackedDecimal, *this, other, __PRETTY_FUNCTION__, __LINE__);
}

PackedDecimal& PackedDecimal::operator*=(const PackedDecimal& other)
{
    Effective a = effective();
    Effective b = other.effective();
    const int sr = a.decimals + b.decimals;
    const int pr = sr + integerDigits(a) + integerDigits(b);
    const unsigned char* r = dtMultiplyPackedDecimal(a.bytes.data(), a.precision, a.decimals, a.isSigned,
                                                     b.bytes.data(), b.precision, b.decimals, b.isSigned, pr);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    bytes_ = copyOf(r, packedBytes(pr));
    record_ = resultRecord(pr, sr);
    return *this;
}

PackedDecimal& PackedDecimal::operator/=(const PackedDecimal& other)
{
    Effective a = effective();
    Effective b = other.effective();
    const int q = std::min(b.decimals + integerDigits(a), 31);
    const int pr = q + 31;
    const int sr = 31;
    const unsigned char* r = dtDividePackedDecimal(a.bytes.data(), a.precision, a.decimals, a.isSigned, b.bytes.data(),
                                                   b.precision, b.decimals, b.isSigned, pr, sr);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    bytes_ = copyOf(r, packedBytes(pr));
    record_ = resultRecord(pr, sr);
    return *this;
}

PackedDecimal& PackedDecimal::power(const PackedDecimal& exponent, unsigned int places)
{
    Effective a = effective();
    Effective b = exponent.effective();
    const int pr = 31;
    const int sr = static_cast<int>(std::min(places, 31u));
    const unsigned char* r = dtPowerPackedDecimal(a.bytes.data(), a.precision, a.decimals, a.isSigned, b.bytes.data(),
                                                  b.precision, b.decimals, b.isSigned, pr, sr);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_DivideByZero, __PRETTY_FUNCTION__, __LINE__);
    bytes_ = copyOf(r, packedBytes(pr));
    record_ = resultRecord(pr, sr);
    return *this;
}

PackedDecimal& PackedDecimal::convert(const PackedDecimal& source)
{
    Effective src = source.effective();
    PackedDecimal shape(record_, ByteString());
    Effective target = shape.effective();
    const unsigned char* r = dtConvertPackedDecimal(src.bytes.data(), src.precision, src.decimals, target.precision,
                                                    target.decimals, isSigned(), nullptr);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const int t = record_.scale;
    const int p = record_.precision;
    if (t > 0 || -t > p) {
        r = dtCompressPackedDecimal1(r, target.precision, isSigned(), t > 0 ? t : p + t);
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    const unsigned n = packedBytes(p);
    std::vector<unsigned char> moved(r, r + n);
    // A MOVE that cuts every digit away leaves a positive zero (-7.25 into
    // S9(3)PP is +0).
    const unsigned sign = moved[n - 1] & 0x0Fu;
    bool zero = (moved[n - 1] & 0xF0u) == 0;
    for (unsigned i = 0; zero && i + 1 < n; ++i)
        zero = moved[i] == 0;
    if (t > 0 && isSigned() && zero && (sign == 0x0Bu || sign == 0x0Du))
        moved[n - 1] = 0x0C;
    bytes_ = ByteString(copyOf(moved.data(), n), 0, record_.byteLength, 0);
    return *this;
}
