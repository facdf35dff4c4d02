#include "datatypes/NationalExternalFloat.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/EditedSupport.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/ExternalFloatSyntax.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/SVC.h"

using dataitem::refuse;

namespace {

// The significant digits a picture's value is read back with.
constexpr int externalFloatDigits = 18;

TNnational_external_float emptyRecord()
{
    TNnational_external_float r{};
    r.leaf = TE_NATIONAL_EXTERNAL_FLOAT;
    return r;
}

// The record of a widened twin: this item's own record is kept.
ByteString widened(const ExternalFloat& narrow)
{
    return narrow.convertToNationalExternalFloat().bytes();
}

} // namespace

NationalExternalFloat::NationalExternalFloat() : record_(emptyRecord()) {}

NationalExternalFloat::NationalExternalFloat(const TypeItem& type)
    : record_(dataitem::recordOf<TNnational_external_float>(type, TE_NATIONAL_EXTERNAL_FLOAT, __PRETTY_FUNCTION__,
                                                            __LINE__))
{
    if (record_.length == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

NationalExternalFloat::NationalExternalFloat(const TNnational_external_float& record, ByteString& bytes)
    : bytes_(bytes), record_(record)
{}

NationalExternalFloat::NationalExternalFloat(const TNnational_external_float& record, char* text)
    : bytes_(edited::textOf(text)), record_(record)
{}

NationalExternalFloat::NationalExternalFloat(const char* text, const TypeItem& type)
    : bytes_(edited::textOf(text)),
      record_(dataitem::recordOf<TNnational_external_float>(type, TE_NATIONAL_EXTERNAL_FLOAT, __PRETTY_FUNCTION__,
                                                            __LINE__))
{}

NationalExternalFloat::NationalExternalFloat(const void* bytes, const TNnational_external_float& record)
    : bytes_(edited::bytesAt(bytes, record.length)), record_(record)
{}

void NationalExternalFloat::fill(const void* bytes, const TNnational_external_float& record)
{
    record_ = record;
    bytes_ = edited::bytesAt(bytes, record.length);
}

NationalExternalFloat::NationalExternalFloat(const TNnational_external_float& record, long double value)
    : record_(record)
{
    bytes_ = widened(ExternalFloat(twinRecord(), value));
}

NationalExternalFloat::NationalExternalFloat(const ZonedDecimal& source, const TNnational_external_float& record)
    : record_(record)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "size=%i", static_cast<int>(record_.length));
    bytes_ = widened(ExternalFloat(source, twinRecord()));
}

NationalExternalFloat::NationalExternalFloat(const PackedDecimal& source, const TNnational_external_float& record)
    : record_(record)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "size=%i", static_cast<int>(record_.length));
    bytes_ = widened(ExternalFloat(source, twinRecord()));
}

NationalExternalFloat::NationalExternalFloat(const NationalDecimal& source, const TNnational_external_float& record)
    : record_(record)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "size=%i", static_cast<int>(record_.length));
    bytes_ = widened(ExternalFloat(source, twinRecord()));
}

NationalExternalFloat::NationalExternalFloat(const FixedPointBinary& source, const TNnational_external_float& record)
    : record_(record)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "size=%i", static_cast<int>(record_.length));
    bytes_ = widened(ExternalFloat(source, twinRecord()));
}

NationalExternalFloat::NationalExternalFloat(const ByteString& digits, const TNnational_external_float& record)
    : record_(record)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "size=%i", static_cast<int>(record_.length));
    bytes_ = widened(ExternalFloat(digits, twinRecord()));
}

NationalExternalFloat::NationalExternalFloat(const ExternalFloat& source, const TNnational_external_float& record)
    : record_(record)
{
    ExternalFloat narrow;
    narrow.fill(nullptr, twinRecord());
    narrow.convert(source);
    bytes_ = widened(narrow);
}

TNexternal_float NationalExternalFloat::twinRecord() const
{
    TNexternal_float r{};
    r.leaf = TE_EXTERNAL_FLOAT;
    r.length = record_.length / 2;
    r.picture = record_.picture;
    return r;
}

ExternalFloat NationalExternalFloat::convertToExternalFloat() const
{
    ByteString narrow;
    for (unsigned i = 1; i < bytes_.length(); i += 2) {
        const unsigned char c = bytes_[i];
        unsigned char b = 0x40;
        if (c >= '0' && c <= '9') {
            b = static_cast<unsigned char>(0xF0 + (c - '0'));
        } else {
            switch (c) {
            case '.': b = 0x4B; break;
            case ',': b = 0x6B; break;
            case '+': b = 0x4E; break;
            case '-': b = 0x60; break;
            case ' ': b = 0x40; break;
            case 'E': b = 0xC5; break;
            default: SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "char=%c", static_cast<char>(c)); break;
            }
        }
        narrow += b;
    }
    return ExternalFloat(twinRecord(), narrow);
}

NationalExternalFloat& NationalExternalFloat::convert(const NationalExternalFloat& other)
{
    ExternalFloat narrow = convertToExternalFloat();
    narrow.convert(other.convertToExternalFloat());
    bytes_ = widened(narrow);
    return *this;
}

NationalExternalFloat::operator long double() const
{
    return static_cast<long double>(convertToExternalFloat());
}

NationalExternalFloat::operator long long() const
{
    return static_cast<long long>(static_cast<long double>(*this));
}

int NationalExternalFloat::compare(const NationalExternalFloat& other) const
{
    return edited::comparePrefix(bytes_, other.bytes_);
}

NationalExternalFloat NationalExternalFloat::operator-() const
{
    NationalExternalFloat copy(*this);
    if (copy.bytes_.length() < 2)
        return copy;
    copy.bytes_[1] = copy.bytes_[1] == '+' ? '-' : '+';
    return copy;
}

void NationalExternalFloat::format(void* bytes, unsigned int size) const
{
    edited::copyOut(bytes_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d<", static_cast<int>(size));
}

bool NationalExternalFloat::isValidNationalExternalFloat(DataError* error) const
{
    static constexpr externalfloat::Alphabet utf16{0x20, 0x2B, 0x2D,
                                                   0x2E, 0x45, [](unsigned u) { return u >= 0x30 && u <= 0x39; }};
    // Units beyond the bytes held are no characters at all.
    auto at = [&](unsigned i) -> unsigned {
        const unsigned k = 2 * i;
        return k + 1 < bytes_.length() ? (static_cast<unsigned>(bytes_[k]) << 8) | bytes_[k + 1] : 0xFFFFu;
    };
    return externalfloat::isValid(record_.length / 2, at, utf16, error);
}

// --------------------------------------------------------------------------
// The decimal classes' conversions from national external floating-point
// values: the value as a long double, then into the given record.

ZonedDecimal::ZonedDecimal(const NationalExternalFloat& source, const TNzoned_decimal& record)
    : ZonedDecimal(record, static_cast<long double>(source))
{}

PackedDecimal::PackedDecimal(const NationalExternalFloat& source, const TNpacked_decimal& record)
    : PackedDecimal(record, static_cast<long double>(source))
{}

NationalDecimal::NationalDecimal(const NationalExternalFloat& source, const TNnational_decimal& record)
    : NationalDecimal(record, static_cast<long double>(source))
{}

FixedPointBinary::FixedPointBinary(const NationalExternalFloat& source, const TNfixed_point_binary& record)
    : FixedPointBinary(record, static_cast<long double>(source), externalFloatDigits)
{}
