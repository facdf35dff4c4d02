#include "types/DataItemRecord.h"

#include <cstring>

namespace {

template <class Decimal>
Decimal decimal(UBYTE4 leaf, unsigned char precision, signed char scale, bool isSigned, const char* picture)
{
    Decimal r{};
    r.leaf = leaf;
    r.precision = precision;
    r.decimalPlaces = DataItemRecord::placesOf(scale);
    r.flags = isSigned ? (TN_DecimalSigned | TN_DecimalPictureForm) : TN_DecimalPictureForm;
    r.scale = scale;
    r.picture = picture;
    return r;
}

template <class Decimal>
Decimal madeDecimal(UBYTE4 leaf, unsigned char precision, unsigned char places)
{
    Decimal r{};
    r.leaf = leaf;
    r.precision = precision;
    r.decimalPlaces = places;
    r.flags = TN_DecimalSigned;
    r.scale = static_cast<signed char>(-static_cast<int>(places));
    r.picture = nullptr;
    return r;
}

template <class ZonedLike>
bool sameZonedLike(const ZonedLike& a, const ZonedLike& b)
{
    return a.leaf == b.leaf && a.precision == b.precision && a.decimalPlaces == b.decimalPlaces &&
           a.byteLength == b.byteLength && a.flags == b.flags && a.scale == b.scale && a.signKind == b.signKind;
}

template <class Edited>
bool sameEdited(const Edited& a, const Edited& b)
{
    return a.leaf == b.leaf && a.length == b.length && DataItemRecord::picturesMatchLoosely(a.picture, b.picture);
}

} // namespace

bool DataItemRecord::picturesMatchLoosely(const char* a, const char* b)
{
    return a == nullptr || b == nullptr || std::strcmp(a, b) == 0;
}

bool DataItemRecord::picturesMatchStrictly(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
}

TNpacked_decimal DataItemRecord::packedDecimal(unsigned char precision, signed char scale, bool isSigned,
                                               const char* picture)
{
    TNpacked_decimal r = decimal<TNpacked_decimal>(TE_PACKED_DECIMAL, precision, scale, isSigned, picture);
    r.byteLength = packedLength(precision);
    return r;
}

TNpacked_decimal DataItemRecord::packedDecimal(unsigned char precision, unsigned char places)
{
    TNpacked_decimal r = madeDecimal<TNpacked_decimal>(TE_PACKED_DECIMAL, precision, places);
    r.byteLength = packedLength(precision);
    return r;
}

TNzoned_decimal DataItemRecord::zonedDecimal(unsigned char precision, signed char scale, bool isSigned,
                                             const char* picture, TN_DecimalSign sign)
{
    TNzoned_decimal r = decimal<TNzoned_decimal>(TE_ZONED_DECIMAL, precision, scale, isSigned, picture);
    r.signKind = sign;
    bool separate = sign == TN_SignLeadingSeparate || sign == TN_SignTrailingSeparate;
    r.byteLength = static_cast<UBYTE1>(precision + (separate ? 1 : 0));
    return r;
}

TNzoned_decimal DataItemRecord::zonedDecimal(unsigned char precision, unsigned char places)
{
    TNzoned_decimal r = madeDecimal<TNzoned_decimal>(TE_ZONED_DECIMAL, precision, places);
    r.signKind = TN_SignTrailingEmbedded;
    r.byteLength = precision;
    return r;
}

TNnational_decimal DataItemRecord::nationalDecimal(unsigned char precision, signed char scale, bool isSigned,
                                                   const char* picture, TN_DecimalSign sign)
{
    TNnational_decimal r = decimal<TNnational_decimal>(TE_NATIONAL_DECIMAL, precision, scale, isSigned, picture);
    r.signKind = sign;
    r.byteLength = static_cast<UBYTE1>(2 * precision + (isSigned ? 2 : 0));
    return r;
}

TNnational_decimal DataItemRecord::nationalDecimal(unsigned char precision, unsigned char places)
{
    TNnational_decimal r = madeDecimal<TNnational_decimal>(TE_NATIONAL_DECIMAL, precision, places);
    r.signKind = TN_SignTrailingSeparate;
    r.byteLength = static_cast<UBYTE1>(2 * precision + 2);
    return r;
}

TNfixed_point_binary DataItemRecord::fixedPointBinary(unsigned char precision, signed char scale, bool isSigned,
                                                      const char* picture)
{
    TNfixed_point_binary r{};
    r.leaf = TE_FIXED_POINT_BINARY;
    r.flags = isSigned ? TN_BinarySigned : 0;
    r.byteLength = binaryLength(precision);
    r.precision = precision;
    r.scale = scale;
    r.picture = picture;
    return r;
}

TNindex_name DataItemRecord::indexName(unsigned char byteLength, unsigned int elementLength)
{
    TNindex_name r{};
    r.leaf = TE_INDEX_NAME;
    r.byteLength = byteLength;
    r.elementLength = elementLength;
    return r;
}

TNindex_data_item DataItemRecord::indexDataItem(unsigned char byteLength)
{
    TNindex_data_item r{};
    r.leaf = TE_INDEX_DATA_ITEM;
    r.byteLength = byteLength;
    return r;
}

TNdbcs_string DataItemRecord::dbcsString(unsigned int length, const char* picture)
{
    return edited<TNdbcs_string>(TE_DBCS_STRING, length, picture);
}

bool DataItemRecord::same(const TNpacked_decimal& a, const TNpacked_decimal& b)
{
    return a.leaf == b.leaf && a.precision == b.precision && a.decimalPlaces == b.decimalPlaces &&
           a.byteLength == b.byteLength && a.flags == b.flags && a.scale == b.scale;
}

bool DataItemRecord::same(const TNzoned_decimal& a, const TNzoned_decimal& b)
{
    return sameZonedLike(a, b);
}
bool DataItemRecord::same(const TNnational_decimal& a, const TNnational_decimal& b)
{
    return sameZonedLike(a, b);
}

bool DataItemRecord::same(const TNfixed_point_binary& a, const TNfixed_point_binary& b)
{
    return a.leaf == b.leaf && a.byteLength == b.byteLength && a.precision == b.precision && a.flags == b.flags &&
           a.scale == b.scale;
}

bool DataItemRecord::same(const TNindex_name& a, const TNindex_name& b)
{
    return a.leaf == b.leaf && a.byteLength == b.byteLength && a.elementLength == b.elementLength;
}

bool DataItemRecord::same(const TNindex_data_item& a, const TNindex_data_item& b)
{
    return a.leaf == b.leaf && a.byteLength == b.byteLength;
}

bool DataItemRecord::same(const TNexternal_float& a, const TNexternal_float& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNalpha_numeric_edited& a, const TNalpha_numeric_edited& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNnational_external_float& a, const TNnational_external_float& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNnational_edited& a, const TNnational_edited& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNdbcs_edited& a, const TNdbcs_edited& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNnumeric_edited& a, const TNnumeric_edited& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNnational_numeric_edited& a, const TNnational_numeric_edited& b)
{
    return sameEdited(a, b);
}
bool DataItemRecord::same(const TNdbcs_string& a, const TNdbcs_string& b)
{
    return sameEdited(a, b);
}

bool DataItemRecord::same(const TNcharstring& a, const TNcharstring& b)
{
    return a.leaf == b.leaf && a.size.length == b.size.length && a.flags == b.flags &&
           picturesMatchStrictly(a.picture, b.picture);
}

bool DataItemRecord::same(const TNnational_string& a, const TNnational_string& b)
{
    return a.leaf == b.leaf && a.size.length == b.size.length && picturesMatchStrictly(a.picture, b.picture);
}
