#include "datatypes/AlphaNumericEdited.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/EditedSupport.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/SVC.h"

#include <cstring>
#include <vector>

using dataitem::refuse;

namespace {

TNalpha_numeric_edited emptyRecord()
{
    return edited::emptyRecord<TNalpha_numeric_edited>(TE_ALPHA_NUMERIC_EDITED);
}

bool repeats(char c)
{
    return c != '\0' && std::strchr("/09ABXabx", c) != nullptr;
}

// A text kept without a picture (a number in E notation).
TNalpha_numeric_edited plainRecord(const ByteString& text)
{
    return edited::plainRecord<TNalpha_numeric_edited>(TE_ALPHA_NUMERIC_EDITED, text);
}

} // namespace

AlphaNumericEdited::AlphaNumericEdited() : record_(emptyRecord()) {}

AlphaNumericEdited::AlphaNumericEdited(const TypeItem& type)
    : record_(dataitem::recordOf<TNalpha_numeric_edited>(type, TE_ALPHA_NUMERIC_EDITED, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.length == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, "AlphaNumericEdited::AlphaNumericEdited(const TypeItem&)", 373);
}

AlphaNumericEdited::AlphaNumericEdited(const char* text, const TypeItem& type)
    : text_(edited::textOf(text)),
      record_(dataitem::recordOf<TNalpha_numeric_edited>(type, TE_ALPHA_NUMERIC_EDITED, __PRETTY_FUNCTION__, __LINE__))
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d.str='%s'<", static_cast<int>(record_.length),
                text != nullptr ? text : "");
}

AlphaNumericEdited::AlphaNumericEdited(const TNalpha_numeric_edited& record, char* text)
    : text_(edited::textOf(text)), record_(record)
{}

AlphaNumericEdited::AlphaNumericEdited(const TNalpha_numeric_edited& record, ByteString& text)
    : text_(text), record_(record)
{}

AlphaNumericEdited::AlphaNumericEdited(const void* bytes, const TNalpha_numeric_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{}

void AlphaNumericEdited::fill(const void* bytes, const TNalpha_numeric_edited& record)
{
    record_ = record;
    text_ = edited::bytesAt(bytes, record.length);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d<", static_cast<int>(record_.length));
}

AlphaNumericEdited::AlphaNumericEdited(const ByteString& source, const TNalpha_numeric_edited& record) : record_(record)
{
    edit(source);
}

AlphaNumericEdited::AlphaNumericEdited(const ZonedDecimal& source, const TNalpha_numeric_edited& record)
    : record_(record)
{
    edit(source.toCharstring());
}

AlphaNumericEdited::AlphaNumericEdited(const TNalpha_numeric_edited& record, long double value)
    : text_(edited::eNotation(value, 6)), record_(record)
{}

AlphaNumericEdited::AlphaNumericEdited(const ZonedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.record().precision)), record_(plainRecord(text_))
{}

AlphaNumericEdited::AlphaNumericEdited(const FixedPointBinary& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.precision())), record_(plainRecord(text_))
{}

AlphaNumericEdited::AlphaNumericEdited(const NationalDecimal&) : record_(emptyRecord())
{
    throw InvalidOp(InvalidOp::RTRC_Other, "AlphaNumericEdited::AlphaNumericEdited(const NationalDecimal&)", 476);
}

AlphaNumericEdited::AlphaNumericEdited(const PackedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(plainRecord(text_))
{}

AlphaNumericEdited::AlphaNumericEdited(const PackedDecimal& source, const TNalpha_numeric_edited& record)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(record)
{}

AlphaNumericEdited& AlphaNumericEdited::convert(const AlphaNumericEdited& other)
{
    text_ = other.text_;
    record_ = other.record_;
    return *this;
}

// --------------------------------------------------------------------------
// The edit

int AlphaNumericEdited::getPicCount(char** cursor) const
{
    const char* c = *cursor;
    const int n = edited::pictureRepeatCount(&c);
    *cursor = const_cast<char*>(c);
    return n;
}

unsigned AlphaNumericEdited::getExpandedPicLength() const
{
    unsigned long length = 0;
    for (const char* p = record_.picture; p != nullptr && *p != '\0'; ++p) {
        int n = 1;
        if (repeats(*p)) {
            n = edited::pictureRepeatCount(&p);
            if (n <= 0)
                n = 1;
        }
        length += static_cast<unsigned>(n);
        if (length > maxExpandedLength)
            refuse(InvalidOp::RTRC_Other, "unsigned AlphaNumericEdited::getExpandedPicLength() const", __LINE__);
    }
    return static_cast<unsigned>(length);
}

void AlphaNumericEdited::expandAlphaNumEditPic(char* out) const
{
    unsigned length = 0;
    for (const char* p = record_.picture; p != nullptr && *p != '\0'; ++p) {
        const char c = *p;
        int n = 1;
        if (repeats(c)) {
            n = edited::pictureRepeatCount(&p);
            if (n <= 0)
                n = 1;
        }
        if (length + static_cast<unsigned>(n) > maxExpandedLength)
            refuse(InvalidOp::RTRC_Other, "void AlphaNumericEdited::expandAlphaNumEditPic(char*) const", __LINE__);
        std::memset(out + length, c, static_cast<size_t>(n));
        length += static_cast<unsigned>(n);
    }
}

void AlphaNumericEdited::moveToAlphaNumEdit(LITDATA& picture, const char* source, long long sourceLength, char* out)
{
    const unsigned limit = record_.length;
    long long next = 0;
    for (int i = 0; i < picture.count && static_cast<unsigned>(i) < limit; ++i) {
        const char c = picture.chars[i];
        unsigned char b;
        if (c == 'B' || c == 'b')
            b = 0x40;
        else if (c == '/')
            b = 0x61;
        else if (c == '0')
            b = 0xF0;
        else if (source != nullptr && next < sourceLength)
            b = static_cast<unsigned char>(source[next++]);
        else
            b = 0x40;
        out[i] = static_cast<char>(b);
    }
}

void AlphaNumericEdited::edit(const ByteString& source)
{
    // Positions the picture does not reach keep this prefill.
    text_ = ByteString(ByteString(), 0, record_.length, 0x30);
    const unsigned length = getExpandedPicLength();
    std::vector<char> chars(length + 1, '\0');
    expandAlphaNumEditPic(chars.data());
    LITDATA picture{static_cast<short>(length), 0, chars.data()};
    moveToAlphaNumEdit(picture, reinterpret_cast<const char*>(source.data()), source.length(),
                       reinterpret_cast<char*>(text_.data()));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(text_.length()),
                static_cast<int>(text_.length()), reinterpret_cast<const char*>(text_.data()));
}

// --------------------------------------------------------------------------
// Other members

AlphaNumericEdited::operator DecimalFloat() const
{
    return DecimalFloat(reinterpret_cast<const char*>(text_.data()), DecimalFloat::Size128);
}

int AlphaNumericEdited::format(char*) const
{
    return -1;
}

void AlphaNumericEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " buf=%08x:%08x", edited::traceWord(text_, 0),
                edited::traceWord(text_, 4));
}

int AlphaNumericEdited::compare(const AlphaNumericEdited& other) const
{
    return edited::comparePrefix(text_, other.text_);
}

AlphaNumericEdited& AlphaNumericEdited::operator+=(const AlphaNumericEdited& other)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "v2=%.*s (%d)", static_cast<int>(other.text_.length()),
                reinterpret_cast<const char*>(other.text_.data()), static_cast<int>(other.record_.length));
    text_ = other.text_;
    return *this;
}

AlphaNumericEdited& AlphaNumericEdited::operator-=(const AlphaNumericEdited& other)
{
    return *this += other;
}
AlphaNumericEdited& AlphaNumericEdited::operator*=(const AlphaNumericEdited& other)
{
    return *this += other;
}
AlphaNumericEdited& AlphaNumericEdited::operator/=(const AlphaNumericEdited& other)
{
    return *this += other;
}

AlphaNumericEdited AlphaNumericEdited::operator+(const AlphaNumericEdited& other) const
{
    AlphaNumericEdited copy(*this);
    return copy += other;
}

AlphaNumericEdited AlphaNumericEdited::operator-(const AlphaNumericEdited& other) const
{
    AlphaNumericEdited copy(*this);
    return copy -= other;
}

AlphaNumericEdited AlphaNumericEdited::operator*(const AlphaNumericEdited& other) const
{
    AlphaNumericEdited copy(*this);
    return copy *= other;
}

AlphaNumericEdited AlphaNumericEdited::operator/(const AlphaNumericEdited& other) const
{
    AlphaNumericEdited copy(*this);
    return copy /= other;
}
