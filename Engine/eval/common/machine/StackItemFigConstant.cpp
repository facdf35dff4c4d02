#include "machine/StackItemFigConstant.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DbcsEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemNationalString.h"
#include "machine/TextBytes.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

using textbytes::Blank;
using textbytes::Relation;

namespace {

constexpr unsigned char highValue = 0xFF;

unsigned clampLength(std::uint64_t n)
{
    return static_cast<unsigned>(std::min<std::uint64_t>(n, 0xFFFFFFFFu));
}

// The one-digit zoned descriptor through which the external floats are
// made.
TNzoned_decimal oneDigit()
{
    TNzoned_decimal record{};
    record.leaf = TE_ZONED_DECIMAL;
    record.precision = 1;
    record.signKind = TN_SignTrailingEmbedded;
    record.byteLength = 1;
    return record;
}

// The bytes an item hands out (none when it has no buffer).
ByteString heldBytes(const StackItem& item)
{
    ByteString bytes;
    const void* buffer = item.resultBuffer();
    const unsigned n = buffer != nullptr ? clampLength(item.size()) : 0;
    if (n != 0)
        std::memcpy(bytes.makeBuffer(n), buffer, n);
    return bytes;
}

int digitCount(int digits, int places)
{
    return std::max(0, digits - places);
}

} // namespace

StackItemFigConstant::StackItemFigConstant(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                                           const TypeItem& type)
    : StackItem(environment, type)
{
    if (type.typeEntry() == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    value_ = textbytes::fromText(text, length, clampLength(type.typeSize()), Blank::ebcdic);
    flagsFrom(type);
    setHasValue(true);
}

StackItemFigConstant::StackItemFigConstant(const StackItemFigConstant& other)
    : StackItem(other), value_(other.value_), nonNumeric_(other.nonNumeric_), null_(other.null_)
{}

StackItemFigConstant::~StackItemFigConstant() = default;

void StackItemFigConstant::flagsFrom(const TypeItem& type)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    nonNumeric_ = entry != nullptr && entry->leaf == TE_CHARSTRING && stringIsNonNumeric(entry->charstring);
    null_ = value_.length() == 1 && value_[0] == 0x00;
}

StackItem* StackItemFigConstant::clone() const
{
    return new StackItemFigConstant(*this);
}

std::uint64_t StackItemFigConstant::size() const
{
    return type().typeSize();
}

void StackItemFigConstant::load(const DebuggeeLocation& where)
{
    value_ = textbytes::readText(*this, where, type().typeSize(), false);
    flagsFrom(type());
    location_ = where;
    setHasValue(true);
}

void* StackItemFigConstant::resultBuffer() const
{
    return const_cast<unsigned char*>(value_.data());
}

ByteString StackItemFigConstant::expanded(std::int64_t count) const
{
    if (!oneByte())
        return value_;
    const unsigned n = count > 0 ? clampLength(static_cast<std::uint64_t>(count)) : 0;
    ByteString result;
    unsigned char* out = result.makeBuffer(n);
    std::fill(out, out + n, value_[0]);
    return result;
}

ByteString StackItemFigConstant::national(unsigned length) const
{
    if (!oneByte())
        return convertToNational(value_);
    if (value_[0] == highValue)
        return expanded(length);
    return convertToNational(expanded(length / 2));
}

// A move into the constant's own storage (an alphanumeric named constant
// changed through its tree node): the source as text, cut or padded to the
// constant's size.
void StackItemFigConstant::genConvert(const StackItem& source)
{
    const _TYPE_ENTRY* entry = type().typeEntry();
    TNcharstring record{};
    if (entry != nullptr && entry->leaf == TE_CHARSTRING)
        record = entry->charstring;
    record.leaf = TE_CHARSTRING;
    const unsigned n = clampLength(size());
    if (stringLengthIsDynamic(record))
        record.flags &= ~static_cast<UBYTE4>(TN_StringDynamicLength);
    record.size.length = n;
    value_ = textbytes::fitEnd(source.asCharstring(record), n, Blank::ebcdic);
    null_ = value_.length() == 1 && value_[0] == 0x00;
}

// The other operand's own comparison, with this constant on its right and
// the relation mirrored.
int StackItemFigConstant::relate(const StackItem& right, int relation)
{
    const TypeItem& type = right.type();
    const ByteString rightValue = heldBytes(right);
    std::unique_ptr<StackItem> copy;
    if (type.hasFlag(TypeFlags::characterString)) {
        if (auto* item = dynamic_cast<const StackItemCharstring*>(&right))
            copy = std::make_unique<StackItemCharstring>(*item);
        else
            copy = std::make_unique<StackItemCharstring>(environment(), rightValue, type, DebuggeeLocation(), 0);
    } else if (type.hasFlag(TypeFlags::nationalString)) {
        if (auto* item = dynamic_cast<const StackItemNationalString*>(&right))
            copy = std::make_unique<StackItemNationalString>(*item);
        else
            copy = std::make_unique<StackItemNationalString>(environment(), rightValue, type, DebuggeeLocation(), 0);
    } else if (type.hasFlag(TypeFlags::dbcsString)) {
        if (auto* item = dynamic_cast<const StackItemDbcsString*>(&right))
            copy = std::make_unique<StackItemDbcsString>(*item);
        else
            copy = std::make_unique<StackItemDbcsString>(environment(), rightValue, type, DebuggeeLocation(), 0);
    } else {
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    switch (textbytes::mirrored(static_cast<Relation>(relation))) {
    case Relation::eq: return copy->genEQ(*this);
    case Relation::ne: return copy->genNE(*this);
    case Relation::lt: return copy->genLT(*this);
    case Relation::le: return copy->genLE(*this);
    case Relation::gt: return copy->genGT(*this);
    case Relation::ge: return copy->genGE(*this);
    }
    return 0;
}

int StackItemFigConstant::genEQ(const StackItem& right)
{
    return relate(right, int(Relation::eq));
}
int StackItemFigConstant::genNE(const StackItem& right)
{
    return relate(right, int(Relation::ne));
}
int StackItemFigConstant::genLT(const StackItem& right)
{
    return relate(right, int(Relation::lt));
}
int StackItemFigConstant::genLE(const StackItem& right)
{
    return relate(right, int(Relation::le));
}
int StackItemFigConstant::genGT(const StackItem& right)
{
    return relate(right, int(Relation::gt));
}
int StackItemFigConstant::genGE(const StackItem& right)
{
    return relate(right, int(Relation::ge));
}

std::uint64_t StackItemFigConstant::asUnsigned() const
{
    if (!null_)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    return 0;
}

ZonedDecimal StackItemFigConstant::zonedOf(const ByteString& text) const
{
    if (nonNumeric_ || null_)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    return ZonedDecimal(text);
}

ZonedDecimal StackItemFigConstant::asZonedDecimal(const TNzoned_decimal& record) const
{
    return zonedOf(expanded(digitCount(record.precision, record.decimalPlaces)));
}

PackedDecimal StackItemFigConstant::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(zonedOf(expanded(digitCount(record.precision, record.decimalPlaces))));
}

FixedPointBinary StackItemFigConstant::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    const int count = digitCount(record.precision, record.scale < 0 ? -record.scale : 0);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "value [%d]", static_cast<int>(value_.length()));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "repeat [%d]", count);
    return FixedPointBinary(zonedOf(expanded(count)));
}

FloatNumber StackItemFigConstant::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(zonedOf(value_)));
}

DecimalFloat StackItemFigConstant::asDecimalFloat() const
{
    return static_cast<DecimalFloat>(zonedOf(value_));
}

NationalDecimal StackItemFigConstant::asNationalDecimal(const TNnational_decimal& record) const
{
    TNzoned_decimal zoned{};
    zoned.leaf = TE_ZONED_DECIMAL;
    zoned.precision = record.precision;
    zoned.decimalPlaces = record.decimalPlaces;
    zoned.signKind = record.signKind;
    zoned.scale = record.scale;
    zoned.byteLength = static_cast<UBYTE1>(record.byteLength / 2);
    return NationalDecimal(asZonedDecimal(zoned));
}

ExternalFloat StackItemFigConstant::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(asZonedDecimal(oneDigit()), record);
}

NationalExternalFloat StackItemFigConstant::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(asZonedDecimal(oneDigit()), record);
}

ByteString StackItemFigConstant::asCharstring(const TNcharstring& record) const
{
    return expanded(::stringLength(record));
}

ByteString StackItemFigConstant::asDbcsString(const TNdbcs_string& record) const
{
    return expanded(record.length);
}

ByteString StackItemFigConstant::asNationalString(const TNnational_string& record) const
{
    return national(::stringLength(record));
}

AlphaNumericEdited StackItemFigConstant::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(expanded(record.length), record);
}

NumericEdited StackItemFigConstant::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(expanded(record.length), record);
}

NationalNumericEdited StackItemFigConstant::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return NationalNumericEdited(expanded(record.length / 2), record);
}

NationalEdited StackItemFigConstant::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(national(record.length), record);
}

DbcsEdited StackItemFigConstant::asDbcsEdited(const TNdbcs_edited& record) const
{
    return DbcsEdited(expanded(record.length), record);
}

ByteString StackItemFigConstant::asAlphaNumericGroup(const TNclass& record) const
{
    return expanded(record.size.byteSize);
}
