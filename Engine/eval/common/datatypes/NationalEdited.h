#ifndef NORVEXA_DATATYPES_NATIONALEDITED_H
#define NORVEXA_DATATYPES_NATIONALEDITED_H

#include "HostRecords.h"

#include <plomkit/ByteString.h>

class TypeItem;
class PackedDecimal;
class ZonedDecimal;
class NationalDecimal;
class FixedPointBinary;
class DecimalFloat;

// An analysed national- or DBCS-edited picture: (character, repeat) entries
// in picture order.
struct Pic_Info1 {
    // Entries a picture may have; a picture with more is refused.
    static constexpr unsigned capacity = 512;

    struct Entry {
        unsigned short character;
        unsigned short repeat; // 1 when the picture gives none or 0
    };
    unsigned int byteSize; // four times the number of entries
    Entry entries[capacity];

    unsigned entryCount() const { return byteSize / 4; }

    // Reads a picture's symbols into the entries, in picture order:
    // symbolOf gives a symbol's entry character, 0 for a symbol passed over.
    // A picture of more than capacity entries is refused with RTRC_Other in
    // the name of where.
    void read(const char* picture, unsigned short (*symbolOf)(char), const char* where);

    // What an entry character writes at each of its positions.
    static constexpr int fromSource = -1; // the next two source bytes
    static constexpr int nothing = -2;    // nothing; the position is not used

    // Edits source (sourceLength bytes, two a position) into out, limit
    // bytes long, never writing past it: outputOf gives what an entry
    // character writes (fromSource, nothing, or a 16-bit value); a position
    // left when the source is used up gets pad.
    void move(const char* source, int sourceLength, unsigned char* out, unsigned limit, int (*outputOf)(unsigned short),
              unsigned short pad) const;
};

// The value of a national-edited item (leaf 81): UTF-16BE text shaped by a
// picture of N positions and the insertion characters B, 0 and /.
class NationalEdited {
public:
    NationalEdited();
    explicit NationalEdited(const TypeItem& type);
    NationalEdited(const char* text, const TypeItem& type);
    NationalEdited(const TNnational_edited& record, char* text);
    NationalEdited(const TNnational_edited& record, ByteString& text);
    NationalEdited(const void* bytes, const TNnational_edited& record);
    NationalEdited(const NationalEdited&) = default;
    NationalEdited& operator=(const NationalEdited&) = default;
    ~NationalEdited() = default;

    NationalEdited(const ByteString& source, const TNnational_edited& record);
    NationalEdited(const TNnational_edited& record, long double value);
    explicit NationalEdited(const ZonedDecimal& source);
    explicit NationalEdited(const FixedPointBinary& source);
    explicit NationalEdited(const NationalDecimal& source);
    explicit NationalEdited(const PackedDecimal& source);
    NationalEdited(const PackedDecimal& source, const TNnational_edited& record);

    void fill(const void* bytes, const TNnational_edited& record);
    NationalEdited& convert(const NationalEdited& other);

    operator long long() const { return 0; }
    operator unsigned long long() const { return 0; }
    operator long double() const { return 0; }
    operator DecimalFloat() const;
    bool operator!() const { return false; }

    int format(char* text) const;
    void format(void* bytes, unsigned int size) const;
    int compare(const NationalEdited& other) const;

    NationalEdited& operator+=(const NationalEdited& other);
    NationalEdited& operator-=(const NationalEdited& other);
    NationalEdited& operator*=(const NationalEdited& other);
    NationalEdited& operator/=(const NationalEdited& other);
    NationalEdited operator+(const NationalEdited& other) const;
    NationalEdited operator-(const NationalEdited& other) const;
    NationalEdited operator*(const NationalEdited& other) const;
    NationalEdited operator/(const NationalEdited& other) const;
    NationalEdited operator-() const { return *this; }

    int getPicCount(char** cursor) const;
    void getNatEditPicInfo(Pic_Info1& info) const;
    // Edits source (sourceLength bytes) into this text of the record's
    // length; never writes past it.
    void moveNatToNatEdit(Pic_Info1& info, const char* source, int sourceLength);

    const ByteString& bytes() const { return text_; }
    const TNnational_edited& record() const { return record_; }

private:
    void edit(const ByteString& source, unsigned sourceLength);

    ByteString text_;
    TNnational_edited record_;
};

#endif
