#include "datatypes/IndexName.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/IndexValueSupport.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"

using dataitem::refuse;

namespace {

TNindex_name recordForDigits(unsigned digits)
{
    TNindex_name r{};
    r.leaf = TE_INDEX_NAME;
    r.byteLength = dataitem::binaryLengthForDigits(digits);
    r.elementLength = 0;
    return r;
}

} // namespace

IndexName::IndexName() : value_(0), record_{}
{
    record_.leaf = TE_INDEX_NAME;
}

IndexName::IndexName(const TypeItem& type)
    : value_(0), record_(dataitem::recordOf<TNindex_name>(type, TE_INDEX_NAME, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.byteLength == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

IndexName::IndexName(const TNindex_name& record, unsigned long long value) : value_(value), record_(record) {}

IndexName::IndexName(const void* bytes, const TNindex_name& record) : value_(0), record_(record)
{
    fill(bytes, record);
}

IndexName::IndexName(const TNindex_name& record, long double value)
    : value_(indexvalue::truncated(value)), record_(record)
{}

IndexName::IndexName(const char* text, const TypeItem& type) : IndexName(type)
{
    value_ = indexvalue::fromText(text);
}

IndexName::IndexName(const PackedDecimal& source)
    : value_(indexvalue::integerOf(source)), record_(recordForDigits(source.record().precision))
{}

IndexName::IndexName(const ZonedDecimal& source)
    : value_(indexvalue::integerOf(source)), record_(recordForDigits(source.record().precision))
{}

IndexName::IndexName(const NationalDecimal& source)
    : value_(indexvalue::integerOf(source)), record_(recordForDigits(source.record().precision))
{}

IndexName::IndexName(const FixedPointBinary& source)
    : value_(source.value()), record_(recordForDigits(source.record().precision))
{}

IndexName::IndexName(const PackedDecimal& source, const TNindex_name& record)
    : value_(indexvalue::integerInto(source)), record_(record)
{}

int IndexName::compare(const IndexName& other) const
{
    return value_ < other.value_ ? -1 : value_ > other.value_ ? 1 : 0;
}

IndexName::operator long double() const
{
    return static_cast<long double>(value_);
}

IndexName::operator long long() const
{
    return static_cast<long long>(value_);
}

IndexName::operator unsigned long long() const
{
    return value_;
}

IndexName::operator DecimalFloat() const
{
    return DecimalFloat(static_cast<unsigned long long>(value_), DecimalFloat::Size128);
}

std::uint64_t IndexName::occurrenceNumber() const
{
    return record_.elementLength != 0 ? value_ / record_.elementLength + 1 : value_;
}

IndexName& IndexName::operator+=(unsigned long long count)
{
    value_ += count * record_.elementLength;
    return *this;
}

IndexName& IndexName::operator-=(unsigned long long count)
{
    value_ -= count * record_.elementLength;
    return *this;
}

IndexName& IndexName::convert(const IndexName& source)
{
    std::uint64_t q;
    if (source.record_.elementLength != 0)
        q = source.value_ / source.record_.elementLength;
    else
        q = source.value_ - 1;
    if (record_.elementLength != 0)
        value_ = q * record_.elementLength;
    else
        value_ = source.record_.elementLength != 0 ? q : source.value_;
    return *this;
}

IndexName& IndexName::operator=(const IndexName& source)
{
    const std::uint64_t q =
        source.record_.elementLength != 0 ? source.value_ / source.record_.elementLength : source.value_;
    value_ = record_.elementLength != 0 ? q * record_.elementLength : q;
    return *this;
}

void IndexName::fill(const void* bytes, const TNindex_name& record)
{
    record_ = record;
    value_ = indexvalue::read(bytes, record_.byteLength, __PRETTY_FUNCTION__, __LINE__);
}

void IndexName::format(void* bytes, unsigned int size) const
{
    indexvalue::write(value_, bytes, size, __PRETTY_FUNCTION__, __LINE__);
}

int IndexName::format(char*) const
{
    return -1;
}
