#include "machine/StackItemDbcsString.h"

#include <limits>

#include "datatypes/DbcsEdited.h"
#include "datatypes/NationalEdited.h"
#include "machine/TextBytes.h"
#include "services/InvalidOp.h"

using textbytes::Blank;
using textbytes::Relation;

namespace {

constexpr unsigned char shiftOut = 0x0E;
constexpr unsigned char shiftIn = 0x0F;

// The record's length word.
unsigned recordLength(const TypeItem& type, const char* function, unsigned line)
{
    const _TYPE_ENTRY* entry = type.typeEntry();
    if (entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line);
    return entry->leaf == TE_DBCS_STRING
               ? entry->dbcsString.length
               : static_cast<unsigned>(std::min<std::uint64_t>(type.typeSize(), std::numeric_limits<unsigned>::max()));
}

} // namespace

StackItemDbcsString::StackItemDbcsString(EvaluationEnvironment& environment, const char* text, std::uint64_t length,
                                         const TypeItem& type)
    : StackItem(environment, type)
{
    const unsigned n = recordLength(type, __PRETTY_FUNCTION__, __LINE__);
    value_ = textbytes::fromText(text, length, n, Blank::dbcs);
    setHasValue(true);
}

StackItemDbcsString::StackItemDbcsString(EvaluationEnvironment& environment, const ByteString& bytes,
                                         const TypeItem& type, const DebuggeeLocation& where, std::int64_t length)
    : StackItem(environment, type), value_(bytes), lengthOverride_(length)
{
    location_ = where;
    setHasValue(true);
}

StackItemDbcsString::StackItemDbcsString(const StackItemDbcsString& other)
    : StackItem(other), value_(other.value_), lengthOverride_(other.lengthOverride_)
{}

StackItemDbcsString::~StackItemDbcsString() = default;

StackItem* StackItemDbcsString::clone() const
{
    return new StackItemDbcsString(*this);
}

std::uint64_t StackItemDbcsString::size() const
{
    return lengthOverride_ > 0 ? static_cast<std::uint64_t>(lengthOverride_) : type().typeSize();
}

void StackItemDbcsString::load(const DebuggeeLocation& where)
{
    const std::uint64_t n =
        where.kind() != DebuggeeLocation::none ? recordLength(type(), __PRETTY_FUNCTION__, __LINE__) : 0;
    value_ = textbytes::readText(*this, where, n, false);
    location_ = where;
    setHasValue(true);
}

void* StackItemDbcsString::resultBuffer() const
{
    return const_cast<unsigned char*>(value_.data());
}

TNdbcs_string StackItemDbcsString::currentRecord() const
{
    TNdbcs_string made{};
    made.leaf = TE_DBCS_STRING;
    made.length = value_.length();
    return made;
}

void StackItemDbcsString::genConvert(const StackItem& source)
{
    const ByteString converted = source.asDbcsString(currentRecord());
    if (source.isCompound()) {
        value_ = converted;
        return;
    }
    const std::uint64_t n = size();
    if (n > std::numeric_limits<unsigned>::max())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    value_ = textbytes::fitEnd(converted, static_cast<unsigned>(n), Blank::dbcs);
}

int StackItemDbcsString::relate(const StackItem& right, int relation)
{
    const ByteString other = right.asDbcsString(currentRecord());
    return textbytes::holds(textbytes::compare(value_, other, Blank::dbcs), static_cast<Relation>(relation));
}

int StackItemDbcsString::genEQ(const StackItem& right)
{
    return relate(right, int(Relation::eq));
}
int StackItemDbcsString::genNE(const StackItem& right)
{
    return relate(right, int(Relation::ne));
}
int StackItemDbcsString::genLT(const StackItem& right)
{
    return relate(right, int(Relation::lt));
}
int StackItemDbcsString::genLE(const StackItem& right)
{
    return relate(right, int(Relation::le));
}
int StackItemDbcsString::genGT(const StackItem& right)
{
    return relate(right, int(Relation::gt));
}
int StackItemDbcsString::genGE(const StackItem& right)
{
    return relate(right, int(Relation::ge));
}

// The host converts DBCS text as mixed EBCDIC, between shift-out and
// shift-in.
ByteString StackItemDbcsString::asNationalString(const TNnational_string&) const
{
    const unsigned char out = shiftOut;
    const unsigned char in = shiftIn;
    return convertToNational(ByteString(&out, 1, value_.data(), value_.length(), &in, 1));
}

NationalEdited StackItemDbcsString::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(asNationalString(TNnational_string{}), record);
}

ByteString StackItemDbcsString::asDbcsString(const TNdbcs_string&) const
{
    return value_;
}

DbcsEdited StackItemDbcsString::asDbcsEdited(const TNdbcs_edited& record) const
{
    return DbcsEdited(value_, record);
}

ByteString StackItemDbcsString::asAlphaNumericGroup(const TNclass&) const
{
    return value_;
}
