#include "machine/StackItemIndexDataItem.h"

#include <cstring>

#include "datatypes/IndexName.h"
#include "machine/IndexStorage.h"

StackItemIndexDataItem::StackItemIndexDataItem(EvaluationEnvironment& environment, const IndexDataItem& value,
                                               const TypeItem& type)
    : StackItem(environment, type), value_(value)
{
    setHasValue(true);
}

StackItemIndexDataItem::StackItemIndexDataItem(const StackItemIndexDataItem& other)
    : StackItem(other), value_(other.value_)
{
    std::memcpy(raw_, other.raw_, sizeof raw_);
}

StackItemIndexDataItem::~StackItemIndexDataItem() = default;

StackItem* StackItemIndexDataItem::clone() const
{
    return new StackItemIndexDataItem(*this);
}

std::uint64_t StackItemIndexDataItem::size() const
{
    return type_.typeSize();
}

void StackItemIndexDataItem::load(const DebuggeeLocation& where)
{
    unsigned char image[8] = {};
    indexstorage::load(*this, where, image);
    value_ = IndexDataItem(image, type_.typeEntry()->indexDataItem);
    location_ = where;
    setHasValue(true);
}

void* StackItemIndexDataItem::resultBuffer() const
{
    const unsigned n = indexstorage::length(*this);
    value_.format(raw_, n);
    indexstorage::toImage(raw_, n);
    return raw_;
}

void StackItemIndexDataItem::genConvert(const StackItem& source)
{
    value_.convert(source.asIndexDataItem(value_.record()));
}

int StackItemIndexDataItem::compareWith(const StackItem& right) const
{
    return value_.compare(right.asIndexDataItem(value_.record()));
}

int StackItemIndexDataItem::genEQ(const StackItem& right)
{
    return compareWith(right) == 0;
}
int StackItemIndexDataItem::genNE(const StackItem& right)
{
    return compareWith(right) != 0;
}
int StackItemIndexDataItem::genLT(const StackItem& right)
{
    return compareWith(right) < 0;
}
int StackItemIndexDataItem::genLE(const StackItem& right)
{
    return compareWith(right) <= 0;
}
int StackItemIndexDataItem::genGT(const StackItem& right)
{
    return compareWith(right) > 0;
}
int StackItemIndexDataItem::genGE(const StackItem& right)
{
    return compareWith(right) >= 0;
}

IndexName StackItemIndexDataItem::asIndexName(const TNindex_name& record) const
{
    return IndexName(record, static_cast<unsigned long long>(value_.value()));
}

IndexDataItem StackItemIndexDataItem::asIndexDataItem(const TNindex_data_item&) const
{
    return value_;
}
