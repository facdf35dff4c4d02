#include "datatypes/NationalEdited.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/EditedSupport.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/SVC.h"

#include <cstring>

using dataitem::refuse;

namespace {

constexpr UBYTE4 kLeaf = TE_NATIONAL_EDITED;

TNnational_edited emptyRecord()
{
    return edited::emptyRecord<TNnational_edited>(kLeaf);
}

// A text kept without a picture (a number in E notation).
TNnational_edited plainRecord(const ByteString& text)
{
    return edited::plainRecord<TNnational_edited>(kLeaf, text);
}

} // namespace

NationalEdited::NationalEdited() : record_(emptyRecord()) {}

NationalEdited::NationalEdited(const TypeItem& type)
    : record_(dataitem::recordOf<TNnational_edited>(type, kLeaf, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.length == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, "NationalEdited::NationalEdited(const TypeItem&)", 130);
}

NationalEdited::NationalEdited(const char* text, const TypeItem& type)
    : text_(edited::textOf(text)),
      record_(dataitem::recordOf<TNnational_edited>(type, kLeaf, __PRETTY_FUNCTION__, __LINE__))
{}

NationalEdited::NationalEdited(const TNnational_edited& record, char* text)
    : text_(edited::textOf(text)), record_(record)
{}

NationalEdited::NationalEdited(const TNnational_edited& record, ByteString& text) : text_(text), record_(record) {}

NationalEdited::NationalEdited(const void* bytes, const TNnational_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{}

void NationalEdited::fill(const void* bytes, const TNnational_edited& record)
{
    record_ = record;
    text_ = edited::bytesAt(bytes, record.length);
}

NationalEdited::NationalEdited(const ByteString& source, const TNnational_edited& record) : record_(record)
{
    edit(source, source.length());
}

NationalEdited::NationalEdited(const TNnational_edited& record, long double value)
    : text_(edited::eNotation(value, 6)), record_(record)
{}

NationalEdited::NationalEdited(const ZonedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.record().precision)), record_(plainRecord(text_))
{}

NationalEdited::NationalEdited(const FixedPointBinary& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.precision())), record_(plainRecord(text_))
{}

NationalEdited::NationalEdited(const NationalDecimal&) : record_(emptyRecord())
{
    throw InvalidOp(InvalidOp::RTRC_Other, "NationalEdited::NationalEdited(const NationalDecimal&)", 223);
}

NationalEdited::NationalEdited(const PackedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(plainRecord(text_))
{}

NationalEdited::NationalEdited(const PackedDecimal& source, const TNnational_edited& record)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(record)
{}

NationalEdited& NationalEdited::convert(const NationalEdited& other)
{
    if (record_.length == other.record_.length && edited::samePicture(record_.picture, other.record_.picture)) {
        text_ = other.text_;
        return *this;
    }
    // The other's full length, but never more than its text holds.
    const unsigned length = other.record_.length < other.text_.length() ? other.record_.length : other.text_.length();
    const ByteString source = other.text_;
    edit(source, length);
    return *this;
}

// --------------------------------------------------------------------------
// The edit

int NationalEdited::getPicCount(char** cursor) const
{
    const char* c = *cursor;
    const int n = edited::pictureRepeatCount(&c);
    *cursor = const_cast<char*>(c);
    return n;
}

namespace {

unsigned short nationalSymbol(char c)
{
    switch (c) {
    case 'N':
    case 'n':
    case '/':
    case '0': return static_cast<unsigned char>(c);
    case 'B':
    case 'b': return 0x20;
    default: return 0;
    }
}

// B, 0 and / are inserted as their UTF-16 characters; N takes the source.
int nationalOutput(unsigned short c)
{
    switch (c) {
    case 0x20: return 0x0020;
    case '/': return 0x002F;
    case '0': return 0x0030;
    default: return Pic_Info1::fromSource;
    }
}

} // namespace

void Pic_Info1::read(const char* picture, unsigned short (*symbolOf)(char), const char* where)
{
    unsigned n = 0;
    for (const char* p = picture; p != nullptr && *p != '\0'; ++p) {
        const unsigned short c = symbolOf(*p);
        if (c == 0)
            continue;
        if (n == capacity)
            refuse(InvalidOp::RTRC_Other, where, __LINE__);
        const int count = edited::pictureRepeatCount(&p);
        entries[n].character = c;
        entries[n].repeat = static_cast<unsigned short>(count <= 0 ? 1 : count > 0xFFFF ? 0xFFFF : count);
        ++n;
    }
    byteSize = 4 * n;
}

void Pic_Info1::move(const char* source, int sourceLength, unsigned char* out, unsigned limit,
                     int (*outputOf)(unsigned short), unsigned short pad) const
{
    unsigned pos = 0;
    int next = 0;
    auto put = [&](unsigned char high, unsigned char low) {
        if (pos < limit)
            out[pos] = high;
        if (pos + 1 < limit)
            out[pos + 1] = low;
        pos += 2;
    };
    for (unsigned e = 0; e < entryCount() && e < capacity && pos < limit; ++e) {
        const int output = outputOf(entries[e].character);
        if (output == nothing)
            continue;
        for (unsigned r = 0; r < entries[e].repeat && pos < limit; ++r) {
            if (output != fromSource) {
                put(static_cast<unsigned char>(output >> 8), static_cast<unsigned char>(output));
            } else if (next + 1 < sourceLength) {
                put(static_cast<unsigned char>(source[next]), static_cast<unsigned char>(source[next + 1]));
                next += 2;
            } else {
                put(static_cast<unsigned char>(pad >> 8), static_cast<unsigned char>(pad));
            }
        }
    }
}

void NationalEdited::getNatEditPicInfo(Pic_Info1& info) const
{
    info.read(record_.picture, nationalSymbol, "void NationalEdited::getNatEditPicInfo(Pic_Info1&) const");
}

void NationalEdited::moveNatToNatEdit(Pic_Info1& info, const char* source, int sourceLength)
{
    const unsigned limit = record_.length;
    text_ = ByteString(ByteString(), 0, limit, 0x20);
    if (info.entryCount() == 0 || sourceLength < 1 || source == nullptr)
        return;
    info.move(source, sourceLength, text_.data(), limit, nationalOutput, 0x0020);
}

void NationalEdited::edit(const ByteString& source, unsigned sourceLength)
{
    Pic_Info1 info;
    getNatEditPicInfo(info);
    moveNatToNatEdit(info, reinterpret_cast<const char*>(source.data()),
                     static_cast<int>(sourceLength < source.length() ? sourceLength : source.length()));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(text_.length()),
                static_cast<int>(text_.length()), reinterpret_cast<const char*>(text_.data()));
}

// --------------------------------------------------------------------------
// Other members

NationalEdited::operator DecimalFloat() const
{
    return DecimalFloat(reinterpret_cast<const char*>(text_.data()), DecimalFloat::Size128);
}

int NationalEdited::format(char*) const
{
    return -1;
}

void NationalEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
}

int NationalEdited::compare(const NationalEdited& other) const
{
    return edited::comparePrefix(text_, other.text_);
}

NationalEdited& NationalEdited::operator+=(const NationalEdited& other)
{
    text_ = other.text_;
    return *this;
}

NationalEdited& NationalEdited::operator-=(const NationalEdited& other)
{
    return *this += other;
}
NationalEdited& NationalEdited::operator*=(const NationalEdited& other)
{
    return *this += other;
}
NationalEdited& NationalEdited::operator/=(const NationalEdited& other)
{
    return *this += other;
}

NationalEdited NationalEdited::operator+(const NationalEdited& other) const
{
    NationalEdited copy(*this);
    return copy += other;
}

NationalEdited NationalEdited::operator-(const NationalEdited& other) const
{
    NationalEdited copy(*this);
    return copy -= other;
}

NationalEdited NationalEdited::operator*(const NationalEdited& other) const
{
    NationalEdited copy(*this);
    return copy *= other;
}

NationalEdited NationalEdited::operator/(const NationalEdited& other) const
{
    NationalEdited copy(*this);
    return copy /= other;
}
