#include "machine/StackItemCharstring.h"

#include <limits>

#include "HostRecordAccess.h"
#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/StackItemNationalString.h"
#include "machine/TextBytes.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

// The alphanumeric and the national item live together: they share their
// shape (loads, padded compares, moves) and differ in their blank and in
// how a number is read from them.

using textbytes::Blank;
using textbytes::Relation;

namespace {

[[noreturn]] void fail(InvalidOp::InvalidOperation code, const char* function, unsigned line)
{
    throw InvalidOp(code, function, line);
}

// The size of a value in bytes as the byte strings hold it.
unsigned byteCount(std::uint64_t n, const char* function, unsigned line)
{
    if (n > std::numeric_limits<unsigned>::max())
        fail(InvalidOp::RTRC_Other, function, line);
    return static_cast<unsigned>(n);
}

// The number of bytes of a C character-array literal: its first dimension
// must have a fixed extent.
unsigned arrayLiteralLength(const TypeItem& type)
{
    TypeItem::Dimension dimension;
    type.getDimension(1, dimension);
    if (!dimension.allocated || !dimension.associated || dimension.countUnknown || dimension.count < 0)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return byteCount(static_cast<std::uint64_t>(dimension.count), __PRETTY_FUNCTION__, __LINE__);
}

// The move shared by both kinds: the source's converted text cut or padded
// to n bytes, from the end when justified; a group's text is cut or padded
// at its end whatever the receiver's justification.
ByteString moved(const StackItem& source, const ByteString& converted, std::uint64_t n, bool justified, Blank blank)
{
    const unsigned length = byteCount(n, __PRETTY_FUNCTION__, __LINE__);
    return justified && !source.isCompound() ? textbytes::fitStart(converted, length, blank)
                                             : textbytes::fitEnd(converted, length, blank);
}

Relation relationOf(int r)
{
    return static_cast<Relation>(r);
}

} // namespace

// ---------------------------------------------------------------------------
// Alphanumeric

StackItemCharstring::StackItemCharstring(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                                         const TypeItem& type)
    : StackItem(environment, type)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    if (entry == nullptr)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (entry->leaf == TE_CHARSTRING) {
        const unsigned n = byteCount(type.typeSize(), __PRETTY_FUNCTION__, __LINE__);
        value_ = textbytes::fromText(text, length, n, Blank::ebcdic);
        nonNumeric_ = stringIsNonNumeric(entry->charstring);
    } else if (entry->leaf == TE_COBOL_TABLE) {
        // The array's extent is found at run time; the item's size is the
        // literal's own.
        const unsigned n = arrayLiteralLength(type);
        value_ = textbytes::fromText(text, length, n, Blank::ebcdic);
        lengthOverride_ = n;
        nonNumeric_ = true;
    } else {
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    setHasValue(true);
    setInDebuggerAddressSpace();
}

StackItemCharstring::StackItemCharstring(EvaluationEnvironment& environment, const ByteString& bytes,
                                         const TypeItem& type, const DebuggeeLocation& where, std::int64_t length)
    : StackItem(environment, type), value_(bytes), lengthOverride_(length)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    if (entry == nullptr)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    nonNumeric_ = entry->leaf == TE_CHARSTRING ? stringIsNonNumeric(entry->charstring) : true;
    location_ = where;
    setHasValue(true);
}

StackItemCharstring::StackItemCharstring(const StackItemCharstring& other)
    : StackItem(other), value_(other.value_), nonNumeric_(other.nonNumeric_), lengthOverride_(other.lengthOverride_)
{}

StackItemCharstring::~StackItemCharstring() = default;

bool StackItemCharstring::isString() const
{
    return !isCobolLanguage();
}

StackItem* StackItemCharstring::clone() const
{
    return new StackItemCharstring(*this);
}

std::uint64_t StackItemCharstring::size() const
{
    return lengthOverride_ > 0 ? static_cast<std::uint64_t>(lengthOverride_) : type().typeSize();
}

void StackItemCharstring::load(const DebuggeeLocation& where)
{
    const _TYPE_ENTRY* entry = type().typeEntry();
    if (where.kind() != DebuggeeLocation::none && (entry == nullptr || entry->leaf != TE_CHARSTRING))
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    value_ = textbytes::readText(*this, where, type().typeSize(), isCobolLanguage());
    nonNumeric_ = stringIsNonNumeric(entry->charstring);
    location_ = where;
    setHasValue(true);
}

void* StackItemCharstring::resultBuffer() const
{
    return const_cast<unsigned char*>(value_.data());
}

std::uint64_t StackItemCharstring::stringLength() const
{
    return value_.length();
}

TNcharstring StackItemCharstring::record() const
{
    const _TYPE_ENTRY* entry = type().typeEntry();
    if (entry != nullptr && entry->leaf == TE_CHARSTRING)
        return entry->charstring;
    TNcharstring made{};
    made.leaf = TE_CHARSTRING;
    made.size.length = value_.length();
    return made;
}

void StackItemCharstring::genConvert(const StackItem& source)
{
    const TNcharstring descriptor = record();
    value_ = moved(source, source.asCharstring(descriptor), size(), stringIsJustified(descriptor), Blank::ebcdic);
}

int StackItemCharstring::relate(const StackItem& right, int relation)
{
    const ByteString other = right.asCharstring(record());
    return textbytes::holds(textbytes::compare(value_, other, Blank::ebcdic), relationOf(relation));
}

int StackItemCharstring::genEQ(const StackItem& right)
{
    return relate(right, int(Relation::eq));
}
int StackItemCharstring::genNE(const StackItem& right)
{
    return relate(right, int(Relation::ne));
}
int StackItemCharstring::genLT(const StackItem& right)
{
    return relate(right, int(Relation::lt));
}
int StackItemCharstring::genLE(const StackItem& right)
{
    return relate(right, int(Relation::le));
}
int StackItemCharstring::genGT(const StackItem& right)
{
    return relate(right, int(Relation::gt));
}
int StackItemCharstring::genGE(const StackItem& right)
{
    return relate(right, int(Relation::ge));
}

void StackItemCharstring::refuseNonNumeric(const char* function, unsigned line) const
{
    if (nonNumeric_)
        fail(InvalidOp::RTRC_IncompatTypes, function, line);
}

// A value read from the debuggee is left to the value classes to validate;
// a literal or a computed value is checked here.
void StackItemCharstring::checkDigits(const char* function, unsigned line) const
{
    if (!textbytes::isDisplayDigits(value_))
        fail(InvalidOp::RTRC_NonNumericCharsInString, function, line);
}

ZonedDecimal StackItemCharstring::zoned() const
{
    refuseNonNumeric(__PRETTY_FUNCTION__, __LINE__);
    if (location().kind() == DebuggeeLocation::none)
        checkDigits(__PRETTY_FUNCTION__, __LINE__);
    return ZonedDecimal(value_);
}

ZonedDecimal StackItemCharstring::asZonedDecimal(const TNzoned_decimal&) const
{
    return zoned();
}

PackedDecimal StackItemCharstring::asPackedDecimal(const TNpacked_decimal&) const
{
    return PackedDecimal(zoned());
}

FixedPointBinary StackItemCharstring::asFixedPointBinary(const TNfixed_point_binary&) const
{
    return FixedPointBinary(zoned());
}

FloatNumber StackItemCharstring::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(zoned()));
}

NationalDecimal StackItemCharstring::asNationalDecimal(const TNnational_decimal&) const
{
    refuseNonNumeric(__PRETTY_FUNCTION__, __LINE__);
    if (location().kind() == DebuggeeLocation::none)
        checkDigits(__PRETTY_FUNCTION__, __LINE__);
    return NationalDecimal(value_);
}

DecimalFloat StackItemCharstring::asDecimalFloat() const
{
    refuseNonNumeric(__PRETTY_FUNCTION__, __LINE__);
    return static_cast<DecimalFloat>(ZonedDecimal(value_));
}

ExternalFloat StackItemCharstring::asExternalFloat(const TNexternal_float& record) const
{
    refuseNonNumeric(__PRETTY_FUNCTION__, __LINE__);
    ByteString text(value_);
    return ExternalFloat(record, text);
}

NumericEdited StackItemCharstring::asNumericEdited(const TNnumeric_edited& record) const
{
    checkDigits(__PRETTY_FUNCTION__, __LINE__);
    return NumericEdited(value_, record);
}

NationalNumericEdited StackItemCharstring::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    checkDigits(__PRETTY_FUNCTION__, __LINE__);
    return NationalNumericEdited(value_, record);
}

AlphaNumericEdited StackItemCharstring::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(value_, record);
}

NationalExternalFloat StackItemCharstring::asNationalExternalFloat(const TNnational_external_float& record) const
{
    ByteString text(value_);
    return NationalExternalFloat(record, text);
}

ByteString StackItemCharstring::asCharstring(const TNcharstring&) const
{
    return value_;
}

ByteString StackItemCharstring::asNationalString(const TNnational_string&) const
{
    return convertToNational(value_);
}

NationalEdited StackItemCharstring::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(convertToNational(value_), record);
}

ByteString StackItemCharstring::asAlphaNumericGroup(const TNclass&) const
{
    return value_;
}

// ---------------------------------------------------------------------------
// National

StackItemNationalString::StackItemNationalString(EvaluationEnvironment& environment, const char* text,
                                                 std::uint64_t length, const TypeItem& type)
    : StackItem(environment, type)
{
    if (type.typeEntry() == nullptr)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const unsigned n = byteCount(type.typeSize(), __PRETTY_FUNCTION__, __LINE__);
    value_ = textbytes::fromText(text, length, n, Blank::national);
    setHasValue(true);
}

StackItemNationalString::StackItemNationalString(EvaluationEnvironment& environment, const ByteString& bytes,
                                                 const TypeItem& type, const DebuggeeLocation& where,
                                                 std::int64_t length)
    : StackItem(environment, type), value_(bytes), lengthOverride_(length)
{
    location_ = where;
    setHasValue(true);
}

StackItemNationalString::StackItemNationalString(const StackItemNationalString& other)
    : StackItem(other), value_(other.value_), lengthOverride_(other.lengthOverride_)
{}

StackItemNationalString::~StackItemNationalString() = default;

StackItem* StackItemNationalString::clone() const
{
    return new StackItemNationalString(*this);
}

std::uint64_t StackItemNationalString::size() const
{
    return lengthOverride_ > 0 ? static_cast<std::uint64_t>(lengthOverride_) : type().typeSize();
}

void StackItemNationalString::load(const DebuggeeLocation& where)
{
    value_ = textbytes::readText(*this, where, type().typeSize(), isCobolLanguage());
    location_ = where;
    setHasValue(true);
}

void* StackItemNationalString::resultBuffer() const
{
    return const_cast<unsigned char*>(value_.data());
}

TNnational_string StackItemNationalString::record() const
{
    const _TYPE_ENTRY* entry = type().typeEntry();
    if (entry != nullptr && entry->leaf == TE_NATIONAL_STRING)
        return entry->nationalString;
    TNnational_string made{};
    made.leaf = TE_NATIONAL_STRING;
    made.size.length = value_.length();
    return made;
}

void StackItemNationalString::genConvert(const StackItem& source)
{
    const TNnational_string descriptor = record();
    value_ = moved(source, source.asNationalString(descriptor), size(), stringIsJustified(descriptor), Blank::national);
}

int StackItemNationalString::relate(const StackItem& right, int relation)
{
    const ByteString other = right.asNationalString(record());
    return textbytes::holds(textbytes::compare(value_, other, Blank::national), relationOf(relation));
}

int StackItemNationalString::genEQ(const StackItem& right)
{
    return relate(right, int(Relation::eq));
}
int StackItemNationalString::genNE(const StackItem& right)
{
    return relate(right, int(Relation::ne));
}
int StackItemNationalString::genLT(const StackItem& right)
{
    return relate(right, int(Relation::lt));
}
int StackItemNationalString::genLE(const StackItem& right)
{
    return relate(right, int(Relation::le));
}
int StackItemNationalString::genGT(const StackItem& right)
{
    return relate(right, int(Relation::gt));
}
int StackItemNationalString::genGE(const StackItem& right)
{
    return relate(right, int(Relation::ge));
}

// One digit a character, unsigned, no decimal places. The record's byte
// length is one byte wide, so a value of more characters than a national
// decimal holds digits is refused rather than described wrongly.
NationalDecimal StackItemNationalString::nationalDecimal() const
{
    const unsigned characters = value_.length() / 2;
    if (characters > static_cast<unsigned>(kNationalMaxDigits))
        fail(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    TNnational_decimal descriptor{};
    descriptor.leaf = TE_NATIONAL_DECIMAL;
    descriptor.precision = static_cast<UBYTE1>(characters);
    descriptor.decimalPlaces = 0;
    descriptor.signKind = TN_SignNone;
    descriptor.byteLength = static_cast<UBYTE1>(characters * 2);
    descriptor.scale = 0;
    return NationalDecimal(ByteString(value_.data(), characters * 2), descriptor);
}

ByteString StackItemNationalString::displayDigits(const char* function, unsigned line) const
{
    ByteString text = convertToCharacter(value_);
    if (!textbytes::isDisplayDigits(text))
        fail(InvalidOp::RTRC_NonNumericCharsInString, function, line);
    return text;
}

NationalDecimal StackItemNationalString::asNationalDecimal(const TNnational_decimal&) const
{
    return nationalDecimal();
}

ZonedDecimal StackItemNationalString::asZonedDecimal(const TNzoned_decimal&) const
{
    return ZonedDecimal(nationalDecimal());
}

PackedDecimal StackItemNationalString::asPackedDecimal(const TNpacked_decimal&) const
{
    return PackedDecimal(nationalDecimal());
}

FixedPointBinary StackItemNationalString::asFixedPointBinary(const TNfixed_point_binary&) const
{
    return FixedPointBinary(nationalDecimal());
}

ExternalFloat StackItemNationalString::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(nationalDecimal(), record);
}

FloatNumber StackItemNationalString::asLongDouble() const
{
    return FloatNumber(static_cast<long double>(nationalDecimal()));
}

ByteString StackItemNationalString::asCharstring(const TNcharstring&) const
{
    return convertToCharacter(value_);
}

ByteString StackItemNationalString::asNationalString(const TNnational_string&) const
{
    return value_;
}

NumericEdited StackItemNationalString::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(displayDigits(__PRETTY_FUNCTION__, __LINE__), record);
}

NationalNumericEdited StackItemNationalString::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return NationalNumericEdited(displayDigits(__PRETTY_FUNCTION__, __LINE__), record);
}

NationalEdited StackItemNationalString::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(value_, record);
}

NationalExternalFloat StackItemNationalString::asNationalExternalFloat(const TNnational_external_float& record) const
{
    ByteString text = convertToCharacter(value_);
    return NationalExternalFloat(record, text);
}

ByteString StackItemNationalString::asAlphaNumericGroup(const TNclass&) const
{
    return value_;
}
