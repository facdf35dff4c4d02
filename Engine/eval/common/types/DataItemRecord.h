#ifndef NORVEXA_TYPES_DATAITEMRECORD_H
#define NORVEXA_TYPES_DATAITEMRECORD_H

#include "HostRecords.h"

// Filling and comparing the type records of the COBOL-style data items.
// A filled record starts zeroed; the builders write the fields their shape
// needs. Equality compares the fields that decide whether a created type can
// be reused for a record (the rest, pictures included where noted, is
// ignored).
class DataItemRecord {
public:
    // Digits after the decimal point for a scale: -scale when negative.
    static unsigned char placesOf(signed char scale) { return scale < 0 ? static_cast<unsigned char>(-scale) : 0; }
    // Storage length of a packed decimal of precision digits.
    static unsigned char packedLength(unsigned char precision) { return static_cast<unsigned char>(precision / 2 + 1); }
    // Storage length of a binary item of precision digits: 2, 4 or 8.
    static unsigned char binaryLength(unsigned char precision) { return precision <= 4 ? 2 : (precision <= 9 ? 4 : 8); }

    static TNpacked_decimal packedDecimal(unsigned char precision, signed char scale, bool isSigned,
                                          const char* picture);
    static TNpacked_decimal packedDecimal(unsigned char precision, unsigned char places);
    static TNzoned_decimal zonedDecimal(unsigned char precision, signed char scale, bool isSigned, const char* picture,
                                        TN_DecimalSign sign);
    static TNzoned_decimal zonedDecimal(unsigned char precision, unsigned char places);
    static TNnational_decimal nationalDecimal(unsigned char precision, signed char scale, bool isSigned,
                                              const char* picture, TN_DecimalSign sign);
    static TNnational_decimal nationalDecimal(unsigned char precision, unsigned char places);
    static TNfixed_point_binary fixedPointBinary(unsigned char precision, signed char scale, bool isSigned,
                                                 const char* picture);
    static TNindex_name indexName(unsigned char byteLength, unsigned int elementLength);
    static TNindex_data_item indexDataItem(unsigned char byteLength);
    template <class Edited>
    static Edited edited(UBYTE4 leaf, unsigned int length, const char* picture)
    {
        Edited r{};
        r.leaf = leaf;
        r.length = length;
        r.picture = picture;
        return r;
    }
    template <class NumericEdited>
    static NumericEdited numericEdited(UBYTE4 leaf, unsigned int length, unsigned char precision, signed char scale,
                                       const char* picture)
    {
        NumericEdited r{};
        r.leaf = leaf;
        r.length = length;
        r.precision = precision;
        r.scale = scale;
        r.picture = picture;
        return r;
    }
    template <class String>
    static String string(UBYTE4 leaf, unsigned int length, const char* picture)
    {
        String r{};
        r.leaf = leaf;
        r.size.length = length;
        r.flags = 0;
        r.picture = picture;
        r.expressionLength = 0;
        return r;
    }
    static TNdbcs_string dbcsString(unsigned int length, const char* picture);

    static bool same(const TNpacked_decimal& a, const TNpacked_decimal& b);
    static bool same(const TNzoned_decimal& a, const TNzoned_decimal& b);
    static bool same(const TNnational_decimal& a, const TNnational_decimal& b);
    static bool same(const TNfixed_point_binary& a, const TNfixed_point_binary& b);
    static bool same(const TNindex_name& a, const TNindex_name& b);
    static bool same(const TNindex_data_item& a, const TNindex_data_item& b);
    // The edited and external floating-point records: leaf, length and
    // picture (a null picture on either side matches).
    static bool same(const TNexternal_float& a, const TNexternal_float& b);
    static bool same(const TNalpha_numeric_edited& a, const TNalpha_numeric_edited& b);
    static bool same(const TNnational_external_float& a, const TNnational_external_float& b);
    static bool same(const TNnational_edited& a, const TNnational_edited& b);
    static bool same(const TNdbcs_edited& a, const TNdbcs_edited& b);
    static bool same(const TNnumeric_edited& a, const TNnumeric_edited& b);
    static bool same(const TNnational_numeric_edited& a, const TNnational_numeric_edited& b);
    // Strings: leaf, length, (character strings: flags), picture (both null
    // or the same text); the string-kind flags are compared by the caller.
    static bool same(const TNcharstring& a, const TNcharstring& b);
    static bool same(const TNnational_string& a, const TNnational_string& b);
    // DBCS strings: leaf, length and picture (a null picture on either side
    // matches).
    static bool same(const TNdbcs_string& a, const TNdbcs_string& b);

    // Pictures: equal when either is null, else by text.
    static bool picturesMatchLoosely(const char* a, const char* b);
    // Pictures: equal when both are null, different when one is, else by
    // text.
    static bool picturesMatchStrictly(const char* a, const char* b);
};

#endif
