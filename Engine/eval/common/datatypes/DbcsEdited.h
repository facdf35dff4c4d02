#ifndef NORVEXA_DATATYPES_DBCSEDITED_H
#define NORVEXA_DATATYPES_DBCSEDITED_H

#include "HostRecords.h"
#include "datatypes/NationalEdited.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class DecimalFloat;

// The value of a DBCS-edited item (leaf 87): DBCS text shaped by a picture
// of G and N positions and the DBCS space B (0x4040).
class DbcsEdited {
public:
    DbcsEdited();
    explicit DbcsEdited(const TypeItem& type);
    DbcsEdited(const char* text, const TypeItem& type);
    DbcsEdited(const TNdbcs_edited& record, char* text);
    DbcsEdited(const TNdbcs_edited& record, ByteString& text);
    DbcsEdited(const void* bytes, const TNdbcs_edited& record);
    DbcsEdited(const DbcsEdited&) = default;
    DbcsEdited& operator=(const DbcsEdited&) = default;
    ~DbcsEdited() = default;

    DbcsEdited(const ByteString& source, const TNdbcs_edited& record);
    DbcsEdited(const TNdbcs_edited& record, long double value);
    explicit DbcsEdited(const ZonedDecimal& source);
    explicit DbcsEdited(const FixedPointBinary& source);
    explicit DbcsEdited(const NationalDecimal& source);
    explicit DbcsEdited(const PackedDecimal& source);
    DbcsEdited(const PackedDecimal& source, const TNdbcs_edited& record);

    void fill(const void* bytes, const TNdbcs_edited& record);
    DbcsEdited& convert(const DbcsEdited& other);

    operator long long() const { return 0; }
    operator unsigned long long() const { return 0; }
    operator long double() const { return 0; }
    operator DecimalFloat() const;
    bool operator!() const { return false; }

    int format(char* text) const;
    void format(void* bytes, unsigned int size) const;
    int compare(const DbcsEdited& other) const;

    DbcsEdited& operator+=(const DbcsEdited& other);
    DbcsEdited& operator-=(const DbcsEdited& other);
    DbcsEdited& operator*=(const DbcsEdited& other);
    DbcsEdited& operator/=(const DbcsEdited& other);
    DbcsEdited operator+(const DbcsEdited& other) const;
    DbcsEdited operator-(const DbcsEdited& other) const;
    DbcsEdited operator*(const DbcsEdited& other) const;
    DbcsEdited operator/(const DbcsEdited& other) const;
    DbcsEdited operator-() const { return *this; }

    int getPicCount(char** cursor) const;
    void getDbcsEditPicInfo(Pic_Info1& info) const;
    // Edits source (sourceLength bytes) into this text; '/' and '0' have no
    // DBCS form and write nothing. Writes into this text of the record's
    // length; never writes past it.
    void moveDbcsToDbcsEdit(Pic_Info1& info, const char* source, int sourceLength);

    const ByteString& bytes() const { return text_; }
    const TNdbcs_edited& record() const { return record_; }

private:
    void edit(const ByteString& source, unsigned sourceLength);

    ByteString text_;
    TNdbcs_edited record_;
};

#endif
