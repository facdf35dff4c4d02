#include "machine/StackItemIndexName.h"

#include <cstring>

#include "datatypes/FixedPointBinary.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/IndexStorage.h"

namespace {

// The occurrence number as a number of the other kinds: unsigned, 8 bytes,
// 20 digits, scale 0.
TNfixed_point_binary occurrenceRecord()
{
    TNfixed_point_binary r{};
    r.leaf = TE_FIXED_POINT_BINARY;
    r.byteLength = 8;
    r.precision = 20;
    return r;
}

} // namespace

StackItemIndexName::StackItemIndexName(EvaluationEnvironment& environment, const IndexName& value, const TypeItem& type)
    : StackItem(environment, type), value_(value.record(), static_cast<unsigned long long>(value.value()))
{
    setHasValue(true);
}

StackItemIndexName::StackItemIndexName(const StackItemIndexName& other)
    : StackItem(other), value_(other.value_.record(), static_cast<unsigned long long>(other.value_.value()))
{
    std::memcpy(raw_, other.raw_, sizeof raw_);
}

StackItemIndexName::~StackItemIndexName() = default;

StackItem* StackItemIndexName::clone() const
{
    return new StackItemIndexName(*this);
}

std::uint64_t StackItemIndexName::size() const
{
    return type_.typeSize();
}

void StackItemIndexName::load(const DebuggeeLocation& where)
{
    unsigned char image[8] = {};
    indexstorage::load(*this, where, image);
    value_ = IndexName(image, type_.typeEntry()->indexName);
    location_ = where;
    setHasValue(true);
}

void* StackItemIndexName::resultBuffer() const
{
    const unsigned n = indexstorage::length(*this);
    value_.format(raw_, n);
    indexstorage::toImage(raw_, n);
    return raw_;
}

void StackItemIndexName::move(std::uint64_t count, bool forwards)
{
    if (value_.record().elementLength != 0) {
        if (forwards)
            value_ += count;
        else
            value_ -= count;
        return;
    }
    // Without an element size the value is the occurrence number itself,
    // which a move between two such indexes takes over unchanged.
    const std::uint64_t number = forwards ? value_.value() + count : value_.value() - count;
    value_.convert(IndexName(value_.record(), static_cast<unsigned long long>(number)));
}

void StackItemIndexName::genAdd(const StackItem& right)
{
    move(right.asUnsigned(), true);
}

void StackItemIndexName::genSubtract(const StackItem& right)
{
    move(right.asUnsigned(), false);
}

void StackItemIndexName::genConvert(const StackItem& source)
{
    value_.convert(source.asIndexName(value_.record()));
}

int StackItemIndexName::compareWith(const StackItem& right) const
{
    const std::uint64_t own = value_.occurrenceNumber();
    const std::uint64_t other = right.asIndexName(value_.record()).occurrenceNumber();
    return own < other ? -1 : own > other ? 1 : 0;
}

int StackItemIndexName::genEQ(const StackItem& right)
{
    return compareWith(right) == 0;
}
int StackItemIndexName::genNE(const StackItem& right)
{
    return compareWith(right) != 0;
}
int StackItemIndexName::genLT(const StackItem& right)
{
    return compareWith(right) < 0;
}
int StackItemIndexName::genLE(const StackItem& right)
{
    return compareWith(right) <= 0;
}
int StackItemIndexName::genGT(const StackItem& right)
{
    return compareWith(right) > 0;
}
int StackItemIndexName::genGE(const StackItem& right)
{
    return compareWith(right) >= 0;
}

std::uint64_t StackItemIndexName::asUnsigned() const
{
    return value_.value();
}

FixedPointBinary StackItemIndexName::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    return FixedPointBinary(record, static_cast<unsigned long long>(value_.occurrenceNumber()));
}

PackedDecimal StackItemIndexName::asPackedDecimal(const TNpacked_decimal&) const
{
    return PackedDecimal(asFixedPointBinary(occurrenceRecord()));
}

ZonedDecimal StackItemIndexName::asZonedDecimal(const TNzoned_decimal&) const
{
    return ZonedDecimal(asFixedPointBinary(occurrenceRecord()));
}

NationalDecimal StackItemIndexName::asNationalDecimal(const TNnational_decimal&) const
{
    return NationalDecimal(asFixedPointBinary(occurrenceRecord()));
}

IndexName StackItemIndexName::asIndexName(const TNindex_name&) const
{
    return IndexName(value_.record(), static_cast<unsigned long long>(value_.value()));
}

IndexDataItem StackItemIndexName::asIndexDataItem(const TNindex_data_item& record) const
{
    return IndexDataItem(record, static_cast<unsigned long long>(value_.value()));
}
