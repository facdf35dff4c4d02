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
    return edited::emptyRecord<TNdbcs_edited>(kLeaf);
}

// A text kept without a picture (a number in E notation).
TNdbcs_edited plainRecord(const ByteString& text)
{
    return edited::plainRecord<TNdbcs_edited>(kLeaf, text);
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
{}

DbcsEdited::DbcsEdited(const TNdbcs_edited& record, char* text) : text_(edited::textOf(text)), record_(record) {}

DbcsEdited::DbcsEdited(const TNdbcs_edited& record, ByteString& text) : text_(text), record_(record) {}

DbcsEdited::DbcsEdited(const void* bytes, const TNdbcs_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{}

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
{}

DbcsEdited::DbcsEdited(const ZonedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.record().precision)), record_(plainRecord(text_))
{}

DbcsEdited::DbcsEdited(const FixedPointBinary& source)
    : text_(edited::eNotation(static_cast<long double>(source), source.precision())), record_(plainRecord(text_))
{}

DbcsEdited::DbcsEdited(const NationalDecimal&) : record_(emptyRecord())
{
    throw InvalidOp(InvalidOp::RTRC_Other, "DbcsEdited::DbcsEdited(const NationalDecimal&)", 223);
}

DbcsEdited::DbcsEdited(const PackedDecimal& source)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(plainRecord(text_))
{}

DbcsEdited::DbcsEdited(const PackedDecimal& source, const TNdbcs_edited& record)
    : text_(edited::eNotation(static_cast<long double>(source), 6)), record_(record)
{}

DbcsEdited& DbcsEdited::convert(const DbcsEdited& other)
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

int DbcsEdited::getPicCount(char** cursor) const
{
    const char* c = *cursor;
    const int n = edited::pictureRepeatCount(&c);
    *cursor = const_cast<char*>(c);
    return n;
}

namespace {

unsigned short dbcsSymbol(char c)
{
    return std::strchr("/0BGNbgn", c) == nullptr ? 0 : static_cast<unsigned char>(c);
}

// B is the DBCS space; / and 0 have no DBCS form and write nothing; G and N
// take the source.
int dbcsOutput(unsigned short c)
{
    if (c == '/' || c == '0')
        return Pic_Info1::nothing;
    if (c == 'B' || c == 'b')
        return 0x4040;
    return Pic_Info1::fromSource;
}

} // namespace

void DbcsEdited::getDbcsEditPicInfo(Pic_Info1& info) const
{
    info.read(record_.picture, dbcsSymbol, "void DbcsEdited::getDbcsEditPicInfo(Pic_Info1&) const");
}

void DbcsEdited::moveDbcsToDbcsEdit(Pic_Info1& info, const char* source, int sourceLength)
{
    const unsigned limit = record_.length;
    text_ = ByteString(ByteString(), 0, limit, 0x20);
    if (info.entryCount() == 0 || sourceLength < 1 || source == nullptr)
        return;
    info.move(source, sourceLength, text_.data(), limit, dbcsOutput, 0x4040);
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

int DbcsEdited::format(char*) const
{
    return -1;
}

void DbcsEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
}

int DbcsEdited::compare(const DbcsEdited& other) const
{
    return edited::comparePrefix(text_, other.text_);
}

DbcsEdited& DbcsEdited::operator+=(const DbcsEdited& other)
{
    text_ = other.text_;
    return *this;
}

DbcsEdited& DbcsEdited::operator-=(const DbcsEdited& other)
{
    return *this += other;
}
DbcsEdited& DbcsEdited::operator*=(const DbcsEdited& other)
{
    return *this += other;
}
DbcsEdited& DbcsEdited::operator/=(const DbcsEdited& other)
{
    return *this += other;
}

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
