#include "datatypes/NationalDecimal.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "datatypes/ZonedDecimalRoutines.h"

using dataitem::atLeast;
using dataitem::copyOf;
using dataitem::refuse;

namespace {

bool hasSignUnit(const TNnational_decimal& r)
{
    return (r.flags & TN_DecimalSigned) != 0 && (r.signKind == 4 || r.signKind == 5);
}

// Bytes a record's digits and sign unit take.
unsigned nationalBytes(int p, bool signUnit)
{
    return static_cast<unsigned>(2 * p + (signUnit ? 2 : 0));
}

// The digits of a zoned copy with a negative zero made positive: a national
// negative zero equals zero.
ZonedDecimal withoutNegativeZero(const ZonedDecimal& z)
{
    ZonedDecimal::Effective e = z.effective();
    const unsigned char* r =
        dtConvertZonedDecimal(e.bytes.data(), e.precision, e.decimals, e.kind, e.precision, e.decimals, 3);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return ZonedDecimal(ZonedDecimal::resultRecord(e.precision, e.decimals),
                        copyOf(r, static_cast<unsigned>(e.precision)));
}

} // namespace

TNnational_decimal NationalDecimal::standardRecord(int p, int s, int scale)
{
    TNnational_decimal r{};
    r.leaf = TE_NATIONAL_DECIMAL;
    r.precision = static_cast<UBYTE1>(p);
    r.decimalPlaces = static_cast<UBYTE1>(s);
    r.signKind = TN_SignTrailingSeparate;
    r.flags = TN_DecimalSigned;
    r.byteLength = static_cast<UBYTE1>(2 * p + 2);
    r.scale = static_cast<signed char>(scale);
    r.picture = nullptr;
    return r;
}

bool NationalDecimal::isWidened() const
{
    return record_.scale > 0 || -record_.scale > record_.precision;
}

NationalDecimal::NationalDecimal(const TypeItem& type)
    : record_(dataitem::recordOf<TNnational_decimal>(type, TE_NATIONAL_DECIMAL, __PRETTY_FUNCTION__, __LINE__))
{
    bytes_.makeBuffer(record_.byteLength);
}

NationalDecimal::NationalDecimal(const TNnational_decimal& record, const ByteString& bytes)
    : bytes_(bytes), record_(record)
{}

NationalDecimal::NationalDecimal(const ByteString& bytes, const TNnational_decimal& record)
    : bytes_(bytes), record_(record)
{}

NationalDecimal::NationalDecimal(const void* bytes, const TNnational_decimal& record)
    : bytes_(static_cast<const unsigned char*>(bytes), record.byteLength), record_(record)
{}

NationalDecimal::NationalDecimal(const char* literal)
{
    unsigned char area[65] = {};
    std::uint32_t p = 0;
    std::uint32_t d = 0;
    if (literal == nullptr || dtGetNationalDecimalWithPropertries(literal, area, &p, &d, 0) == nullptr || p == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    // The area holds the literal as 61 packed digits.
    constexpr int kAreaDigits = 61;
    const unsigned char* wide = dtConvertPackedDecimal2NationalDecimal(area, kAreaDigits, static_cast<int>(d), 1);
    if (wide == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const unsigned char* r = dtConvertNationalDecimal(wide, kAreaDigits, static_cast<int>(d), 5, static_cast<int>(p),
                                                      static_cast<int>(d), 5);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = standardRecord(static_cast<int>(p), static_cast<int>(d), -static_cast<int>(d));
    bytes_ = copyOf(r, nationalBytes(static_cast<int>(p), true));
}

NationalDecimal::NationalDecimal(const char* text, const TypeItem& type) : NationalDecimal(type)
{
    const int p = record_.precision;
    const unsigned length = bytes_.length();
    unsigned char* out = bytes_.data();
    const bool leading = record_.signKind == 4 && isSigned();
    unsigned unit = leading ? 1 : 0;
    const unsigned end = unit + static_cast<unsigned>(p);
    for (const char* c = text; c != nullptr && *c != '\0' && unit < end; ++c) {
        if (*c < '0' || *c > '9')
            continue;
        if (2 * unit + 1 >= length)
            break;
        out[2 * unit] = 0x00;
        out[2 * unit + 1] = static_cast<unsigned char>(*c);
        ++unit;
    }
    if (!hasSignUnit(record_))
        return;
    const unsigned signUnit = record_.signKind == 4 ? 0 : static_cast<unsigned>(p);
    if (2 * signUnit + 1 < length) {
        out[2 * signUnit] = 0x00;
        out[2 * signUnit + 1] = (text != nullptr && text[0] == '-') ? '-' : '+';
    }
}

NationalDecimal::NationalDecimal(long long value)
{
    std::uint32_t p = 0;
    std::uint32_t d = 0;
    const unsigned char* r = dtConvertLonglong2NationalDecimal(value, &p, &d);
    record_ = standardRecord(static_cast<int>(p), 0, 0);
    bytes_ = copyOf(r, nationalBytes(static_cast<int>(p), true));
}

NationalDecimal::NationalDecimal(unsigned long long value)
{
    std::uint32_t p = 0;
    std::uint32_t d = 0;
    const unsigned char* r = dtConvertUnLonglong2NationalDecimal(value, &p, &d);
    record_ = standardRecord(static_cast<int>(p), 0, 0);
    bytes_ = copyOf(r, nationalBytes(static_cast<int>(p), true));
}

NationalDecimal::NationalDecimal(const TNnational_decimal& record, long double value) : record_(record)
{
    int p = record_.precision;
    int d = record_.decimalPlaces;
    const int scale = record_.scale;
    const bool widened = isWidened();
    if (widened) {
        p = scale > 0 ? p + scale : -scale;
        d = scale > 0 ? d : -scale;
    }
    const unsigned char* r = dtConvertLongDouble2NationalDecimal(value, p, d);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (isSigned() && record_.signKind != 5) {
        r = dtConvertNationalDecimal(r, p, d, 5, p, d, static_cast<int>(record_.signKind));
        if (r == nullptr)
            refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    if (widened) {
        record_.precision = static_cast<UBYTE1>(p);
        record_.scale = 0;
        record_.byteLength = static_cast<UBYTE1>(nationalBytes(p, isSigned()));
    }
    bytes_ = ByteString(copyOf(r, nationalBytes(p, true)), 0, record_.byteLength, 0);
}

NationalDecimal::NationalDecimal(const ByteString& characters) : NationalDecimal(ZonedDecimal(characters)) {}

NationalDecimal::NationalDecimal(const PackedDecimal& source)
{
    const TNpacked_decimal& pr = source.record();
    const int p = pr.precision;
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(p / 2 + 1));
    const unsigned char* r = dtConvertPackedDecimal2NationalDecimal(in.data(), p, pr.decimalPlaces, source.isSigned());
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = standardRecord(p, pr.decimalPlaces, pr.scale);
    bytes_ = copyOf(r, nationalBytes(p, true));
}

NationalDecimal::NationalDecimal(const ZonedDecimal& source)
{
    const TNzoned_decimal& z = source.record();
    const int p = z.precision;
    ByteString in = atLeast(source.bytes(), static_cast<unsigned>(p + 1));
    const unsigned char* r = dtConvertZonedDecimal2NationalDecimal(in.data(), p, z.decimalPlaces, 1, 5,
                                                                   source.isSigned(), source.signKind());
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = standardRecord(p, z.decimalPlaces, z.scale);
    bytes_ = copyOf(r, nationalBytes(p, true));
}

NationalDecimal::NationalDecimal(const FixedPointBinary& source)
{
    int p = source.precision();
    if (p == 0)
        p = dataitem::decimalDigitsForBinaryLength(source.record().byteLength, source.isSigned());
    if (p == 0)
        p = 1;
    const int scale = source.scale();
    const int d = scale < 0 ? -scale : 0;
    const unsigned char* r = dtConvertFixedPointBinary2NationalDecimal(source.value(), p, d, source.isSigned(), 5);
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    record_ = standardRecord(p, d, scale);
    bytes_ = copyOf(r, nationalBytes(p, true));
}

bool NationalDecimal::isValidNationalDecimal(bool strict, bool skipDigits, DataError* error) const
{
    const int p = record_.precision;
    unsigned first = 0;
    const unsigned length = bytes_.length();
    auto unit = [&](unsigned i, unsigned char& high, unsigned char& low) {
        high = 2 * i < length ? bytes_[2 * i] : 0;
        low = 2 * i + 1 < length ? bytes_[2 * i + 1] : 0;
    };
    if (isSigned()) {
        const int kind = signKind();
        if (kind == 4 || kind == 5) {
            unsigned char high = 0;
            unsigned char low = 0;
            unit(kind == 4 ? 0 : static_cast<unsigned>(p), high, low);
            if (high != 0x00 || (low != '+' && low != '-')) {
                if (error != nullptr)
                    *error = DataErrorBadSign;
                return false;
            }
            first = kind == 4 ? 1 : 0;
        } else if (kind != 0 && kind != 1) {
            return false;
        }
    }
    if (!skipDigits) {
        for (unsigned i = first; i < first + static_cast<unsigned>(p); ++i) {
            unsigned char high = 0;
            unsigned char low = 0;
            unit(i, high, low);
            const bool bad = (low & 0x0F) > 9 || (strict && (high != 0x00 || (low >> 4) != 3));
            if (bad) {
                if (error != nullptr)
                    *error = DataErrorBadDigit;
                return false;
            }
        }
    }
    if (error != nullptr)
        *error = DataErrorNone;
    return true;
}

int NationalDecimal::compare(const NationalDecimal& other) const
{
    ZonedDecimal a = withoutNegativeZero(ZonedDecimal(*this));
    ZonedDecimal b = withoutNegativeZero(ZonedDecimal(other));
    return a.compare(b);
}

NationalDecimal::operator long long() const
{
    if (!isWidened()) {
        ByteString in = atLeast(bytes_, nationalBytes(record_.precision, true));
        const unsigned char* text =
            dtFormatNationalDecimal(in.data(), record_.precision, record_.decimalPlaces, routineSignKind());
        if (text != nullptr)
            return dtConvertNDstring2LongLong(reinterpret_cast<const char*>(text), 0);
    }
    return static_cast<long long>(ZonedDecimal(*this));
}

NationalDecimal::operator unsigned long long() const
{
    return static_cast<unsigned long long>(FixedPointBinary(*this));
}

NationalDecimal::operator long double() const
{
    return static_cast<long double>(ZonedDecimal(*this));
}

NationalDecimal::operator DecimalFloat() const
{
    refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

ByteString& NationalDecimal::format(ByteString&) const
{
    refuse(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}

bool NationalDecimal::operator!() const
{
    return compare(NationalDecimal(0LL)) == 0;
}

NationalDecimal NationalDecimal::operator-() const
{
    return NationalDecimal(-ZonedDecimal(*this));
}

NationalDecimal NationalDecimal::operator+(const NationalDecimal& other) const
{
    NationalDecimal r(*this);
    return r += other;
}

NationalDecimal NationalDecimal::operator-(const NationalDecimal& other) const
{
    NationalDecimal r(*this);
    return r -= other;
}

NationalDecimal NationalDecimal::operator*(const NationalDecimal& other) const
{
    NationalDecimal r(*this);
    return r *= other;
}

NationalDecimal NationalDecimal::operator/(const NationalDecimal& other) const
{
    NationalDecimal r(*this);
    return r /= other;
}

NationalDecimal& NationalDecimal::operator+=(const NationalDecimal& other)
{
    ZonedDecimal a(*this);
    a += ZonedDecimal(other);
    return *this = NationalDecimal(a);
}

NationalDecimal& NationalDecimal::operator-=(const NationalDecimal& other)
{
    ZonedDecimal a(*this);
    a -= ZonedDecimal(other);
    return *this = NationalDecimal(a);
}

NationalDecimal& NationalDecimal::operator*=(const NationalDecimal& other)
{
    ZonedDecimal a(*this);
    a *= ZonedDecimal(other);
    return *this = NationalDecimal(a);
}

NationalDecimal& NationalDecimal::operator/=(const NationalDecimal& other)
{
    ZonedDecimal a(*this);
    a /= ZonedDecimal(other);
    return *this = NationalDecimal(a);
}

NationalDecimal& NationalDecimal::power(const NationalDecimal& exponent, unsigned int places)
{
    ZonedDecimal a(*this);
    a.power(ZonedDecimal(exponent), places);
    return *this = NationalDecimal(a);
}

NationalDecimal& NationalDecimal::convert(const NationalDecimal& source)
{
    const int p = record_.precision;
    const int d = record_.decimalPlaces;
    const int k = routineSignKind();
    const unsigned char* r = nullptr;
    if (!isWidened() && !source.isWidened()) {
        const TNnational_decimal& s = source.record_;
        ByteString in = atLeast(source.bytes_, nationalBytes(s.precision, true));
        r = dtConvertNationalDecimal(in.data(), s.precision, s.decimalPlaces, source.routineSignKind(), p, d, k);
    } else {
        ZonedDecimal target(*this);
        target.convert(ZonedDecimal(source));
        NationalDecimal moved(target);
        r = dtConvertNationalDecimal(moved.bytes_.data(), moved.record_.precision, moved.record_.decimalPlaces, 5, p, d,
                                     k);
    }
    if (r == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    bytes_ = ByteString(copyOf(r, nationalBytes(p, true)), 0, record_.byteLength, 0);
    return *this;
}
