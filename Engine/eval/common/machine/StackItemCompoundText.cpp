#include "machine/StackItemCompound.h"

#include <algorithm>
#include <cstring>

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DbcsEdited.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/ByteOrder.h"
#include "services/InvalidOp.h"

// The group side of a compound item: its bytes taken as alphanumeric text,
// compared with other items and made into the COBOL data types.

namespace {

constexpr unsigned char ebcdicSpace = 0x40;

} // namespace

ByteString StackItemCompound::text() const
{
    const auto* bytes = static_cast<const unsigned char*>(resultBuffer());
    const std::uint64_t n = inner_ != nullptr ? inner_->size() : size();
    return ByteString(bytes, static_cast<unsigned>(n));
}

ByteString StackItemCompound::paddedText(std::uint64_t n) const
{
    ByteString t = text();
    while (t.length() < n)
        t += ebcdicSpace;
    return t;
}

int StackItemCompound::compareAsGroup(const StackItem& right) const
{
    const _TYPE_ENTRY* entry = type_.typeEntry();
    if (entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    ByteString left = text();
    ByteString other = right.asAlphaNumericGroup(entry->klass);
    while (left.length() < other.length())
        left += ebcdicSpace;
    while (other.length() < left.length())
        other += ebcdicSpace;
    const int c = std::memcmp(left.data(), other.data(), left.length());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int StackItemCompound::genEQ(const StackItem& right)
{
    return compareAsGroup(right) == 0;
}
int StackItemCompound::genNE(const StackItem& right)
{
    return compareAsGroup(right) != 0;
}
int StackItemCompound::genLT(const StackItem& right)
{
    return compareAsGroup(right) < 0;
}
int StackItemCompound::genLE(const StackItem& right)
{
    return compareAsGroup(right) <= 0;
}
int StackItemCompound::genGT(const StackItem& right)
{
    return compareAsGroup(right) > 0;
}
int StackItemCompound::genGE(const StackItem& right)
{
    return compareAsGroup(right) >= 0;
}

void StackItemCompound::genConvert(const StackItem& source)
{
    if (isEnumeration()) {
        inner_->genConvert(source);
        return;
    }
    const _TYPE_ENTRY* entry = type_.typeEntry();
    if (entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    const ByteString t = source.asAlphaNumericGroup(entry->klass);
    const std::uint64_t n = size();
    unsigned char* target = buffer();
    for (std::uint64_t i = 0; i < n; ++i)
        target[i] = i < t.length() ? t[static_cast<unsigned>(i)] : ebcdicSpace;
}

ByteString StackItemCompound::asAlphaNumericGroup(const TNclass& record) const
{
    return paddedText(record.size.byteSize);
}

ByteString StackItemCompound::asCharstring(const TNcharstring& record) const
{
    return paddedText(record.size.length);
}

ByteString StackItemCompound::asNationalString(const TNnational_string& record) const
{
    return paddedText(record.size.length);
}

ByteString StackItemCompound::asDbcsString(const TNdbcs_string& record) const
{
    return paddedText(record.length);
}

NumericEdited StackItemCompound::asNumericEdited(const TNnumeric_edited& record) const
{
    return NumericEdited(paddedText(record.length).data(), record);
}

AlphaNumericEdited StackItemCompound::asAlphaNumericEdited(const TNalpha_numeric_edited& record) const
{
    return AlphaNumericEdited(paddedText(record.length).data(), record);
}

ExternalFloat StackItemCompound::asExternalFloat(const TNexternal_float& record) const
{
    return ExternalFloat(paddedText(record.length).data(), record);
}

NationalExternalFloat StackItemCompound::asNationalExternalFloat(const TNnational_external_float& record) const
{
    return NationalExternalFloat(paddedText(record.length).data(), record);
}

NationalNumericEdited StackItemCompound::asNationalNumericEdited(const TNnational_numeric_edited& record) const
{
    return NationalNumericEdited(paddedText(record.length).data(), record);
}

NationalEdited StackItemCompound::asNationalEdited(const TNnational_edited& record) const
{
    return NationalEdited(paddedText(record.length).data(), record);
}

DbcsEdited StackItemCompound::asDbcsEdited(const TNdbcs_edited& record) const
{
    return DbcsEdited(paddedText(record.length).data(), record);
}

PackedDecimal StackItemCompound::asPackedDecimal(const TNpacked_decimal& record) const
{
    return PackedDecimal(paddedText(record.byteLength).data(), record);
}

ZonedDecimal StackItemCompound::asZonedDecimal(const TNzoned_decimal& record) const
{
    return ZonedDecimal(paddedText(record.byteLength).data(), record);
}

NationalDecimal StackItemCompound::asNationalDecimal(const TNnational_decimal& record) const
{
    return NationalDecimal(paddedText(record.byteLength).data(), record);
}

FixedPointBinary StackItemCompound::asFixedPointBinary(const TNfixed_point_binary& record) const
{
    if (record.byteLength != 2 && record.byteLength != 4 && record.byteLength != 8)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    // The first bytes are the debuggee's big-endian binary image; the value
    // class takes them in host order.
    unsigned char host[8];
    byteorder::reverseCopy(host, paddedText(record.byteLength).data(), record.byteLength);
    return FixedPointBinary(host, record);
}
