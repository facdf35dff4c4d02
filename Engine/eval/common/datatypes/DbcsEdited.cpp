#include "datatypes/DbcsEdited.h"

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

constexpr UBYTE4 kLeaf = TE_DBCS_EDITED;

TNdbcs_edited emptyRecord()
{
    TNdbcs_edited r{};
    r.leaf = kLeaf;
    return r;
}

// A text kept without a picture (a number in E notation).
TNdbcs_edited plainRecord(const ByteString& text)
{
    TNdbcs_edited r = emptyRecord();
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

DbcsEdited::DbcsEdited() : record_(emptyRecord()) {}

DbcsEdited::DbcsEdited(const TypeItem& type)
    : record_(dataitem::recordOf<TNdbcs_edited>(type, kLeaf, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.length == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, "DbcsEdited::DbcsEdited(const TypeItem&)", 130);
}

DbcsEdited::DbcsEdited(const char* text, const TypeItem& type)
    : text_(edited::textOf(text)),
      record_(dataitem::recordOf<TNdbcs_edited>(type, kLeaf, __PRETTY_FUNCTION__, __LINE__))
{
}

DbcsEdited::DbcsEdited(const TNdbcs_edited& record, char* text)
    : text_(edited::textOf(text)), record_(record)
{
}

DbcsEdited::DbcsEdited(const TNdbcs_edited& record, ByteString& text) : text_(text), record_(record) {}

DbcsEdited::DbcsEdited(const void* bytes, const TNdbcs_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{
}

void DbcsEdited::fill(const void* bytes, const TNdbcs_edited& record)
{
    record_ = record;
    text_ = edited::bytesAt(bytes, record.length);
}

DbcsEdited::DbcsEdited(const ByteString& source, const TNdbcs_edited& record) : record_(record)
{
    edit(source, source.length());
}

DbcsEdited::DbcsEdited(const TNdbcs_edited& record, long double value)
    : text_(edited::eNotation(value, 6)), record_(record)
{
}

DbcsEdited::DbcsEdited(const ZonedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.record().precision)),
      record_(plainRecord(text_))
{
}

DbcsEdited::DbcsEdited(const FixedPointBinary& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.precision())), record_(plainRecord(text_))
{
}

DbcsEdited::DbcsEdited(const NationalDecimal&) : record_(emptyRecord())
{
    throw InvalidOp(InvalidOp::RTRC_Other, "DbcsEdited::DbcsEdited(const NationalDecimal&)", 223);
}

DbcsEdited::DbcsEdited(const PackedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(plainRecord(text_))
{
}

DbcsEdited::DbcsEdited(const PackedDecimal& source, const TNdbcs_edited& record)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(record)
{
}

DbcsEdited& DbcsEdited::convert(const DbcsEdited& other)
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

int DbcsEdited::getPicCount(char** cursor) const
{
    const char* c = *cursor;
    const int n = edited::pictureRepeatCount(&c);
    *cursor = const_cast<char*>(c);
    return n;
}

void DbcsEdited::getDbcsEditPicInfo(Pic_Info1& info) const
{
    unsigned n = 0;
    for (const char* p = record_.picture; p != nullptr && *p != '\0'; ++p) {
        if (std::strchr("/0BGNbgn", *p) == nullptr)
            continue;
        if (n == Pic_Info1::capacity)
            refuse(InvalidOp::RTRC_Other, "void DbcsEdited::getDbcsEditPicInfo(Pic_Info1&) const", __LINE__);
        const unsigned short c = static_cast<unsigned char>(*p);
        const int count = edited::pictureRepeatCount(&p);
        info.entries[n].character = c;
        info.entries[n].repeat = static_cast<unsigned short>(count <= 0 ? 1 : count > 0xFFFF ? 0xFFFF : count);
        ++n;
    }
    info.byteSize = 4 * n;
}

void DbcsEdited::moveDbcsToDbcsEdit(Pic_Info1& info, const char* source, int sourceLength)
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
        if (c == '/' || c == '0')
            continue;  // no DBCS form: nothing is written
        for (unsigned r = 0; r < info.entries[e].repeat && pos < limit; ++r) {
            if (c == 'B' || c == 'b') {
                put(0x40, 0x40);
            } else if (next + 1 < sourceLength) {
                put(static_cast<unsigned char>(source[next]), static_cast<unsigned char>(source[next + 1]));
                next += 2;
            } else {
                put(0x40, 0x40);
            }
        }
    }
}

void DbcsEdited::edit(const ByteString& source, unsigned sourceLength)
{
    Pic_Info1 info;
    getDbcsEditPicInfo(info);
    moveDbcsToDbcsEdit(info, reinterpret_cast<const char*>(source.data()),
                     static_cast<int>(sourceLength < source.length() ? sourceLength : source.length()));
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(text_.length()),
                static_cast<int>(text_.length()), reinterpret_cast<const char*>(text_.data()));
}

// --------------------------------------------------------------------------
// Other members

DbcsEdited::operator DecimalFloat() const
{
    return DecimalFloat(reinterpret_cast<const char*>(text_.data()), DecimalFloat::Size128);
}

int DbcsEdited::format(char*) const { return -1; }

void DbcsEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
}

int DbcsEdited::compare(const DbcsEdited& other) const { return edited::comparePrefix(text_, other.text_); }

DbcsEdited& DbcsEdited::operator+=(const DbcsEdited& other)
{
    text_ = other.text_;
    return *this;
}

DbcsEdited& DbcsEdited::operator-=(const DbcsEdited& other) { return *this += other; }
DbcsEdited& DbcsEdited::operator*=(const DbcsEdited& other) { return *this += other; }
DbcsEdited& DbcsEdited::operator/=(const DbcsEdited& other) { return *this += other; }

DbcsEdited DbcsEdited::operator+(const DbcsEdited& other) const
{
    DbcsEdited copy(*this);
    return copy += other;
}

DbcsEdited DbcsEdited::operator-(const DbcsEdited& other) const
{
    DbcsEdited copy(*this);
    return copy -= other;
}

DbcsEdited DbcsEdited::operator*(const DbcsEdited& other) const
{
    DbcsEdited copy(*this);
    return copy *= other;
}

DbcsEdited DbcsEdited::operator/(const DbcsEdited& other) const
{
    DbcsEdited copy(*this);
    return copy /= other;
}
