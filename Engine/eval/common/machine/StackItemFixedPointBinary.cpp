#include "machine/StackItemFixedPointBinary.h"

#include <cstring>

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/EndianReverse.h"
#include "machine/NationalEditedDigits.h"
#include "services/InvalidOp.h"
#include "types/CreatedTypeItem.h"

namespace {

// Character-string targets with this flag take no decimal characters.
constexpr UBYTE4 charstringRefusesDigits = 0x20;

bool storableLength(unsigned n)
{
    return n == 1 || n == 2 || n == 4 || n == 8;
}

} // namespace

StackItemFixedPointBinary::StackItemFixedPointBinary(EvaluationEnvironment& environment, const FixedPointBinary& value,
                                                     const TypeItem& type)
    : StackItem(environment, type), value_(value)
{
    if (entry().byteLength == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    resultBuffer();
    setHasValue(true);
}

StackItemFixedPointBinary::StackItemFixedPointBinary(const StackItemFixedPointBinary& other)
    : StackItem(other), value_(other.value_)
{
    std::memcpy(raw_, other.raw_, sizeof raw_);
}

StackItemFixedPointBinary::~StackItemFixedPointBinary() = default;

StackItem* StackItemFixedPointBinary::clone() const
{
    return new StackItemFixedPointBinary(*this);
}

const TNfixed_point_binary& StackItemFixedPointBinary::entry() const
{
    const _TYPE_ENTRY* e = type_.typeEntry();
    if (e == nullptr || e->leaf != TE_FIXED_POINT_BINARY)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return e->binary;
}

std::uint64_t StackItemFixedPointBinary::size() const
{
    return type_.typeSize();
}

void* StackItemFixedPointBinary::resultBuffer() const
{
    const TNfixed_point_binary& e = entry();
    const unsigned n = e.byteLength;
    unsigned char image[8] = {};
    value_.format(image, n, (e.flags & TN_BinarySigned) != 0 ? 1 : 0);
    EndianReverse(image, n);
    std::memcpy(raw_, image, n);
    return raw_;
}

void StackItemFixedPointBinary::load(const DebuggeeLocation& where)
{
    setHasValue(where.kind() != DebuggeeLocation::none);
    if (where.kind() == DebuggeeLocation::none)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const TNfixed_point_binary& e = entry();
    const unsigned n = e.byteLength;
    if (!storableLength(n))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    unsigned char image[8] = {};
    ReadDebuggeeData(image, n, where);
    std::memcpy(raw_, image, n);
    EndianReverse(image, n);
    value_.fill(image, e);
    location_ = where;
    setHasValue(true);
}

void StackItemFixedPointBinary::retype()
{
    type_ = *CreatedTypeItem::findOrCreateFixedPointBinaryType(value_.record());
}

void StackItemFixedPointBinary::genAdd(const StackItem& right)
{
    value_ += right.asFixedPointBinary(value_.record());
    retype();
}

void StackItemFixedPointBinary::genSubtract(const StackItem& right)
{
    value_ -= right.asFixedPointBinary(value_.record());
    retype();
}

void StackItemFixedPointBinary::genMult(const StackItem& right)
{
    value_ *= right.asFixedPointBinary(value_.record());
    retype();
}

void StackItemFixedPointBinary::genDivide(const StackItem& right)
{
    value_ /= right.asFixedPointBinary(value_.record());
    retype();
}

void StackItemFixedPointBinary::genPow(const StackItem& right, unsigned int n)
{
    value_.power(right.asFixedPointBinary(value_.record()), n);
}

void StackItemFixedPointBinary::genNegate()
{
    value_ = -value_;
}

void StackItemFixedPointBinary::genConvert(const StackItem& source)
{
    value_.convert(source.asFixedPointBinary(value_.record()));
}

int StackItemFixedPointBinary::compareWith(const StackItem& right) const
{
    // Packed and zoned operands would be cut to this item's scale on the way
    // into binary (12 would equal 12.5): they compare as exact decimals.
    const _TYPE_ENTRY* e = right.formatType().typeEntry();
    if (e != nullptr && (e->leaf == TE_PACKED_DECIMAL || e->leaf == TE_ZONED_DECIMAL)) {
        TNpacked_decimal any{};
        return PackedDecimal(value_).compare(right.asPackedDecimal(any));
    }
    return value_.compare(right.asFixedPointBinary(value_.record()));
}

int StackItemFixedPointBinary::genEQ(const StackItem& right)
{
    return compareWith(right) == 0;
}

int StackItemFixedPointBinary::genNE(const StackItem& right)
{
    return compareWith(right) != 0;
}

int StackItemFixedPointBinary::genLT(const StackItem& right)
{
    return compareWith(right) < 0;
}

int StackItemFixedPointBinary::genLE(const StackItem& right)
{
    return compareWith(right) <= 0;
}

int StackItemFixedPointBinary::genGT(const StackItem& right)
{
    return compareWith(right) > 0;
}

int StackItemFixedPointBinary::genGE(const StackItem& right)
{
    return compareWith(right) >= 0;
}

int StackItemFixedPointBinary::isZero() const
{
    return !value_ ? 1 : 0;
}

std::uint64_t StackItemFixedPointBinary::asUnsigned() const
{
    return static_cast<unsigned long long>(value_);
}

std::int64_t StackItemFixedPointBinary::asSigned() const
{
    return static_cast<long long>(value_);
}

FloatNumber StackItemFixedPointBinary::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(value_));
}

FloatNumber StackItemFixedPointBinary::realPart() const
{
    return asLongDouble();
}

FloatNumber StackItemFixedPointBinary::imaginaryPart() const
{
    return FloatNumber(0.0L);
}

DecimalFloat StackItemFixedPointBinary::asDecimalFloat() const
{
    return static_cast<DecimalFloat>(value_);
}

PackedDecimal StackItemFixedPointBinary::asPackedDecimal(const TNpacked_decimal&) const
{
    return PackedDecimal(value_);
}

ZonedDecimal StackItemFixedPointBinary::asZonedDecimal(const TNzoned_decimal&) const
{
    return ZonedDecimal(value_);
}

NationalDecimal StackItemFixedPointBinary::asNationalDecimal(const TNnational_decimal&) const
{
    return NationalDecimal(value_);
}

FixedPointBinary StackItemFixedPointBinary::asFixedPointBinary(const TNfixed_point_binary&) const
{
    return value_;
}

IndexName StackItemFixedPointBinary::asIndexName(const TNindex_name&) const
{
    return IndexName(value_);
}

ByteString StackItemFixedPointBinary::displayText(const FixedPointBinary& value)
{
    return ZonedDecimal(value, value.precision()).toCharstring();
}

ByteString StackItemFixedPointBinary::asCharstring(const TNcharstring& record) const
{
    if ((record.flags & charstringRefusesDigits) != 0)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    return displayText(value_);
}

ByteString StackItemFixedPointBinary::asNationalString(const TNnational_string&) const
{
    return convertToNational(displayText(value_));
}

ExternalFloat StackItemFixedPointBinary::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(value_, record);
}

AlphaNumericEdited StackItemFixedPointBinary::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(displayText(value_), record);
}

NumericEdited StackItemFixedPointBinary::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(value_, record);
}

NationalEdited StackItemFixedPointBinary::asNationalEdited(const TNnational_edited& record) const
{
    return nationalEditedDigits(NationalDecimal(value_), value_.precision(), value_.scale(), record);
}

NationalNumericEdited StackItemFixedPointBinary::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return NationalNumericEdited(value_, record);
}

NationalExternalFloat StackItemFixedPointBinary::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(value_, record);
}

ByteString StackItemFixedPointBinary::asAlphaNumericGroup(const TNclass&) const
{
    if (loadedFromVariable()) {
        const auto* bytes = static_cast<const unsigned char*>(resultBuffer());
        return ByteString(bytes, entry().byteLength);
    }
    TNfixed_point_binary integral = value_.record();
    integral.scale = 0;
    return displayText(FixedPointBinary(integral, static_cast<unsigned long long>(value_.value())));
}
