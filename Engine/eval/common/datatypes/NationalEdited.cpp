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
    TNnational_edited r{};
    r.leaf = kLeaf;
    return r;
}

// A text kept without a picture (a number in E notation).
TNnational_edited plainRecord(const ByteString& text)
{
    TNnational_edited r = emptyRecord();
    r.length = text.length();
    return r;
}

bool samePicture(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
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
{
}

NationalEdited::NationalEdited(const TNnational_edited& record, char* text)
    : text_(edited::textOf(text)), record_(record)
{
}

NationalEdited::NationalEdited(const TNnational_edited& record, ByteString& text) : text_(text), record_(record) {}

NationalEdited::NationalEdited(const void* bytes, const TNnational_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{
}

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
{
}

NationalEdited::NationalEdited(const ZonedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.record().precision)),
      record_(plainRecord(text_))
{
}

NationalEdited::NationalEdited(const FixedPointBinary& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.precision())), record_(plainRecord(text_))
{
}

NationalEdited::NationalEdited(const NationalDecimal&) : record_(emptyRecord())
{
    throw InvalidOp(InvalidOp::RTRC_Other, "NationalEdited::NationalEdited(const NationalDecimal&)", 223);
}

NationalEdited::NationalEdited(const PackedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(plainRecord(text_))
{
}

NationalEdited::NationalEdited(const PackedDecimal& source, const TNnational_edited& record)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(record)
{
}

NationalEdited& NationalEdited::convert(const NationalEdited& other)
{
    if (record_.length == other.record_.length && samePicture(record_.picture, other.record_.picture)) {
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

void NationalEdited::getNatEditPicInfo(Pic_Info1& info) const
{
    unsigned n = 0;
    for (const char* p = record_.picture; p != nullptr && *p != '\0'; ++p) {
        unsigned short c;
        switch (*p) {
        case 'N': case 'n': case '/': case '0':
            c = static_cast<unsigned char>(*p);
            break;
        case 'B': case 'b':
            c = 0x20;
            break;
        default:
            continue;
        }
        if (n == Pic_Info1::capacity)
            refuse(InvalidOp::RTRC_Other, "void NationalEdited::getNatEditPicInfo(Pic_Info1&) const", __LINE__);
        const int count = edited::pictureRepeatCount(&p);
        info.entries[n].character = c;
        info.entries[n].repeat = static_cast<unsigned short>(count <= 0 ? 1 : count > 0xFFFF ? 0xFFFF : count);
        ++n;
    }
    info.byteSize = 4 * n;
}

void NationalEdited::moveNatToNatEdit(Pic_Info1& info, const char* source, int sourceLength)
{
    const unsigned limit = record_.length;
    text_ = ByteString(ByteString(), 0, limit, 0x20);
    if (info.entryCount() == 0 || sourceLength < 1 || source == nullptr)
        return;
    unsigned char* out = text_.data();
    unsigned pos = 0;
    int next = 0;
    auto put = [&](unsigned char high, unsigned char low) {
        if (pos < limit)
            out[pos] = high;
        if (pos + 1 < limit)
            out[pos + 1] = low;
        pos += 2;
    };
    for (unsigned e = 0; e < info.entryCount() && e < Pic_Info1::capacity && pos < limit; ++e) {
        const unsigned short c = info.entries[e].character;
        for (unsigned r = 0; r < info.entries[e].repeat && pos < limit; ++r) {
            if (c == 0x20 || c == '/' || c == '0') {
                put(0x00, static_cast<unsigned char>(c == 0x20 ? 0x20 : c == '/' ? 0x2F : 0x30));
            } else if (next + 1 < sourceLength) {
                put(static_cast<unsigned char>(source[next]), static_cast<unsigned char>(source[next + 1]));
                next += 2;
            } else {
                put(0x00, 0x20);
            }
        }
    }
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

int NationalEdited::format(char*) const { return -1; }

void NationalEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
}

int NationalEdited::compare(const NationalEdited& other) const { return edited::comparePrefix(text_, other.text_); }

NationalEdited& NationalEdited::operator+=(const NationalEdited& other)
{
    text_ = other.text_;
    return *this;
}

NationalEdited& NationalEdited::operator-=(const NationalEdited& other) { return *this += other; }
NationalEdited& NationalEdited::operator*=(const NationalEdited& other) { return *this += other; }
NationalEdited& NationalEdited::operator/=(const NationalEdited& other) { return *this += other; }

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
