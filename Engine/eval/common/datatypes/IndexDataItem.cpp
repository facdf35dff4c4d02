#include "datatypes/IndexDataItem.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/IndexValueSupport.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"

using dataitem::refuse;

namespace {

TNindex_data_item recordForDigits(unsigned digits)
{
    TNindex_data_item r{};
    r.leaf = TE_INDEX_DATA_ITEM;
    r.byteLength = dataitem::binaryLengthForDigits(digits);
    return r;
}

} // namespace

IndexDataItem::IndexDataItem() : value_(0), record_{}
{
    record_.leaf = TE_INDEX_DATA_ITEM;
}

IndexDataItem::IndexDataItem(const TypeItem& type)
    : value_(0), record_(dataitem::recordOf<TNindex_data_item>(type, TE_INDEX_DATA_ITEM, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.byteLength == 0)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

IndexDataItem::IndexDataItem(const TNindex_data_item& record, unsigned long long value) : value_(value), record_(record)
{}

IndexDataItem::IndexDataItem(const void* bytes, const TNindex_data_item& record) : value_(0), record_(record)
{
    fill(bytes, record);
}

IndexDataItem::IndexDataItem(const TNindex_data_item& record, long double value)
    : value_(indexvalue::truncated(value)), record_(record)
{}

IndexDataItem::IndexDataItem(const char* text, const TypeItem& type) : IndexDataItem(type)
{
    value_ = indexvalue::fromText(text);
}

IndexDataItem::IndexDataItem(const PackedDecimal& source)
    : value_(indexvalue::integerOf(source)), record_(recordForDigits(source.record().precision))
{}

IndexDataItem::IndexDataItem(const ZonedDecimal& source)
    : value_(indexvalue::integerOf(source)), record_(recordForDigits(source.record().precision))
{}

IndexDataItem::IndexDataItem(const PackedDecimal& source, const TNindex_data_item& record)
    : value_(indexvalue::integerInto(source)), record_(record)
{}

IndexDataItem::IndexDataItem(const NationalDecimal&) : value_(0), record_{}
{
    refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

int IndexDataItem::compare(const IndexDataItem& other) const
{
    return value_ < other.value_ ? -1 : value_ > other.value_ ? 1 : 0;
}

IndexDataItem::operator long double() const
{
    return static_cast<long double>(value_);
}

IndexDataItem::operator long long() const
{
    return static_cast<long long>(value_);
}

IndexDataItem::operator unsigned long long() const
{
    return value_;
}

IndexDataItem::operator DecimalFloat() const
{
    return DecimalFloat(static_cast<unsigned long long>(value_), DecimalFloat::Size128);
}

IndexDataItem& IndexDataItem::convert(const IndexDataItem& source)
{
    value_ = source.value_;
    return *this;
}

void IndexDataItem::fill(const void* bytes, const TNindex_data_item& record)
{
    record_ = record;
    value_ = indexvalue::read(bytes, record_.byteLength, __PRETTY_FUNCTION__, __LINE__);
}

void IndexDataItem::format(void* bytes, unsigned int size) const
{
    indexvalue::write(value_, bytes, size, __PRETTY_FUNCTION__, __LINE__);
}

int IndexDataItem::format(char*) const
{
    return -1;
}
