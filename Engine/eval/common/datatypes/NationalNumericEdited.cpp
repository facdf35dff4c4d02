#include "datatypes/NationalNumericEdited.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/EditedSupport.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/SVC.h"

using dataitem::refuse;

namespace {

TNnational_numeric_edited emptyRecord()
{
    TNnational_numeric_edited r{};
    r.leaf = TE_NATIONAL_NUMERIC_EDITED;
    return r;
}

} // namespace

NationalNumericEdited::NationalNumericEdited() : record_(emptyRecord()) {}

NationalNumericEdited::NationalNumericEdited(const TypeItem& type)
    : record_(dataitem::recordOf<TNnational_numeric_edited>(type, TE_NATIONAL_NUMERIC_EDITED, __PRETTY_FUNCTION__,
                                                            __LINE__))
{
    if (record_.length == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, "NationalNumericEdited::NationalNumericEdited(const TypeItem&)", 182);
}

NationalNumericEdited::NationalNumericEdited(const char* text, const TypeItem& type)
    : text_(edited::textOf(text)),
      record_(dataitem::recordOf<TNnational_numeric_edited>(type, TE_NATIONAL_NUMERIC_EDITED, __PRETTY_FUNCTION__,
                                                            __LINE__))
{}

NationalNumericEdited::NationalNumericEdited(const TNnational_numeric_edited& record, char* text)
    : text_(edited::textOf(text)), record_(record)
{}

NationalNumericEdited::NationalNumericEdited(const TNnational_numeric_edited& record, ByteString& text)
    : text_(text), record_(record)
{}

NationalNumericEdited::NationalNumericEdited(const void* bytes, const TNnational_numeric_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{}

void NationalNumericEdited::fill(const void* bytes, const TNnational_numeric_edited& record)
{
    record_ = record;
    text_ = edited::bytesAt(bytes, record.length);
}

TNnumeric_edited NationalNumericEdited::narrowRecord() const
{
    TNnumeric_edited r{};
    r.leaf = TE_NUMERIC_EDITED;
    r.length = record_.length / 2;
    r.precision = record_.precision;
    r.scale = record_.scale;
    r.picture = record_.picture;
    return r;
}

void NationalNumericEdited::takeOver(const NumericEdited& narrow)
{
    text_ = narrow.convertToNationalNumericEdited().bytes();
}

NationalNumericEdited::NationalNumericEdited(const PackedDecimal& source, const TNnational_numeric_edited& record)
    : record_(record)
{
    takeOver(NumericEdited(source, narrowRecord()));
}

NationalNumericEdited::NationalNumericEdited(const FixedPointBinary& source, const TNnational_numeric_edited& record)
    : record_(record)
{
    takeOver(NumericEdited(source, narrowRecord()));
}

NationalNumericEdited::NationalNumericEdited(const NationalDecimal& source, const TNnational_numeric_edited& record)
    : record_(record)
{
    takeOver(NumericEdited(source, narrowRecord()));
}

NationalNumericEdited::NationalNumericEdited(const ZonedDecimal& source, const TNnational_numeric_edited& record)
    : record_(record)
{
    takeOver(NumericEdited(source, narrowRecord()));
}

NationalNumericEdited::NationalNumericEdited(const ByteString& digits, const TNnational_numeric_edited& record)
    : record_(record)
{
    takeOver(NumericEdited(digits, narrowRecord()));
}

NationalNumericEdited::NationalNumericEdited(const PackedDecimal& source) : record_(emptyRecord())
{
    // The packed class offers no long double: this refuses as it does.
    text_ = edited::eNotation(static_cast<long double>(source), 6);
}

NationalNumericEdited::NationalNumericEdited(const FixedPointBinary& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.precision())), record_(emptyRecord())
{
    record_.length = text_.length();
    record_.precision = static_cast<UBYTE1>(source.precision());
    record_.scale = static_cast<signed char>(source.scale());
}

NationalNumericEdited::NationalNumericEdited(const TNnational_numeric_edited& record, long double value)
    : text_(edited::eNotation(value, 6)), record_(record)
{}

NumericEdited NationalNumericEdited::convertToNumericEdited() const
{
    const TNnumeric_edited narrow = narrowRecord();
    ByteString text(ByteString(), 0, narrow.length, 0x20);
    unsigned char* out = text.data();
    for (unsigned i = 1, k = 0; i < record_.length && k < narrow.length; i += 2, ++k) {
        // A text shorter than the record leaves the prefill.
        if (i >= text_.length())
            break;
        const unsigned char c = text_[i];
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
            case '/': b = 0x61; break;
            case 'C': b = 0xC3; break;
            case 'D': b = 0xC4; break;
            case 'B': b = 0xC2; break;
            case 'R': b = 0xD9; break;
            case '$': b = 0x5B; break;
            case '*': b = 0x5C; break;
            default: SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "char=%c", static_cast<char>(c)); break;
            }
        }
        out[k] = b;
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(text.length()),
                static_cast<int>(text.length()), reinterpret_cast<const char*>(text.data()));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " value=%08x:%08x", edited::traceWord(text, 0),
                edited::traceWord(text, 4));
    return NumericEdited(narrow, text);
}

NationalNumericEdited& NationalNumericEdited::convert(const NationalNumericEdited& other)
{
    NumericEdited narrow = convertToNumericEdited();
    narrow.convert(other.convertToNumericEdited());
    return *this;
}

NationalNumericEdited::operator long double() const
{
    return static_cast<long double>(convertToNumericEdited());
}

NationalNumericEdited::operator DecimalFloat() const
{
    return DecimalFloat(reinterpret_cast<const char*>(text_.data()), DecimalFloat::Size128);
}

int NationalNumericEdited::format(char*) const
{
    return -1;
}

void NationalNumericEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
}

int NationalNumericEdited::compare(const NationalNumericEdited& other) const
{
    return edited::comparePrefix(text_, other.text_);
}

NationalNumericEdited& NationalNumericEdited::operator+=(const NationalNumericEdited& other)
{
    text_ = other.text_;
    return *this;
}

NationalNumericEdited& NationalNumericEdited::operator-=(const NationalNumericEdited& other)
{
    return *this += other;
}
NationalNumericEdited& NationalNumericEdited::operator*=(const NationalNumericEdited& other)
{
    return *this += other;
}
NationalNumericEdited& NationalNumericEdited::operator/=(const NationalNumericEdited& other)
{
    return *this += other;
}

NationalNumericEdited NationalNumericEdited::operator+(const NationalNumericEdited& other) const
{
    NationalNumericEdited copy(*this);
    return copy += other;
}

NationalNumericEdited NationalNumericEdited::operator-(const NationalNumericEdited& other) const
{
    NationalNumericEdited copy(*this);
    return copy -= other;
}

NationalNumericEdited NationalNumericEdited::operator*(const NationalNumericEdited& other) const
{
    NationalNumericEdited copy(*this);
    return copy *= other;
}

NationalNumericEdited NationalNumericEdited::operator/(const NationalNumericEdited& other) const
{
    NationalNumericEdited copy(*this);
    return copy /= other;
}

// --------------------------------------------------------------------------
// The decimal classes' conversions from national numeric-edited values:
// narrowed, then de-edited, which is refused.

ZonedDecimal::ZonedDecimal(const NationalNumericEdited& source) : ZonedDecimal(source.convertToNumericEdited()) {}

PackedDecimal::PackedDecimal(const NationalNumericEdited& source, const TNpacked_decimal& record)
    : PackedDecimal(source.convertToNumericEdited(), record)
{}

NationalDecimal::NationalDecimal(const NationalNumericEdited& source, const TNnational_decimal& record)
    : NationalDecimal(source.convertToNumericEdited(), record)
{}
