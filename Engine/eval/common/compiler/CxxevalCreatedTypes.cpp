// The query interface: types made for COBOL data.

#include "compiler/CxxevalInterface.h"
#include "compiler/InterfaceGuards.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeItem.h"

namespace {

bool flag(unsigned char flags, unsigned bit)
{
    return (flags >> bit & 1) != 0;
}

} // namespace

const TypeItem* createCharstringType(int, unsigned length, unsigned char flags)
{
    return CreatedTypeItem::findOrCreateCharstringType(length, flag(flags, 0), flag(flags, 1), flag(flags, 2), nullptr);
}

const TypeItem* createNationalStringType(int, unsigned length, unsigned char flags)
{
    return CreatedTypeItem::findOrCreateNationalStringType(length, flag(flags, 0), flag(flags, 1), flag(flags, 2),
                                                           nullptr);
}

const TypeItem* createDbcsStringType(int, unsigned length, unsigned char flags)
{
    return CreatedTypeItem::findOrCreateDbcsStringType(length, flag(flags, 0), flag(flags, 1), flag(flags, 2), nullptr);
}

const TypeItem* createExternalFloatType(int, const char* picture, unsigned length)
{
    return CreatedTypeItem::findOrCreateExternalFloatType(length, picture);
}

const TypeItem* createNationalExternalFloatType(int, const char* picture, unsigned length)
{
    return CreatedTypeItem::findOrCreateNationalExternalFloatType(length, picture);
}

const TypeItem* createAlphaNumericEditedType(int, const char* picture, unsigned length)
{
    return CreatedTypeItem::findOrCreateAlphaNumericEditedType(length, picture);
}

const TypeItem* createNationalEditedType(int, const char* picture, unsigned length)
{
    return CreatedTypeItem::findOrCreateNationalEditedType(length, picture);
}

const TypeItem* createDbcsEditedType(int, const char* picture, unsigned length)
{
    return CreatedTypeItem::findOrCreateDbcsEditedType(length, picture);
}

const TypeItem* createNumericEditedType(int, const char* picture, unsigned length, unsigned digits, int scale)
{
    return CreatedTypeItem::findOrCreateNumericEditedType(length, static_cast<unsigned char>(digits),
                                                          static_cast<signed char>(scale), picture);
}

const TypeItem* createNationalNumericEditedType(int, const char* picture, unsigned length, unsigned digits, int scale)
{
    return CreatedTypeItem::findOrCreateNationalNumericEditedType(length, static_cast<unsigned char>(digits),
                                                                  static_cast<signed char>(scale), picture);
}

const TypeItem* createIndexNameType(int, unsigned byteLength, unsigned elementLength)
{
    return CreatedTypeItem::findOrCreateIndexNameType(static_cast<unsigned char>(byteLength), elementLength);
}

const TypeItem* createIndexDataItemType(int, unsigned byteLength)
{
    return CreatedTypeItem::findOrCreateIndexDataItemType(static_cast<unsigned char>(byteLength));
}

const TypeItem* createRefModType(int kind, const TypeItem* type)
{
    validateType(type, "const TypeItem* createRefModType(TypeKind, const TypeItem*)", __LINE__);
    const unsigned size = type->typeSize();
    switch (kind) {
    case t_characterString: return CreatedTypeItem::findOrCreateCharstringType(size, false, false, false, nullptr);
    case t_nationalString: return CreatedTypeItem::findOrCreateNationalStringType(size, false, false, false, nullptr);
    case t_dbcsString: return CreatedTypeItem::findOrCreateDbcsStringType(size, false, false, false, nullptr);
    default: return nullptr;
    }
}

const TypeItem* createFixedPointType(int kind, unsigned digits, int scale, bool isSigned, unsigned signKind)
{
    const unsigned char precision = static_cast<unsigned char>(digits);
    const signed char places = static_cast<signed char>(scale);
    switch (kind) {
    case t_packedDecimal: return CreatedTypeItem::findOrCreatePackedDecimalType(precision, places, isSigned, nullptr);
    case t_fixedPointBinary:
        return CreatedTypeItem::findOrCreateFixedPointBinaryType(precision, places, isSigned, nullptr);
    case t_zonedDecimal:
        return CreatedTypeItem::findOrCreateZonedDecimalType(precision, places, isSigned, nullptr,
                                                             static_cast<TN_DecimalSign>(signKind));
    case t_nationalDecimal:
        return CreatedTypeItem::findOrCreateNationalDecimalType(precision, places, isSigned, nullptr,
                                                                static_cast<TN_DecimalSign>(signKind));
    default: return nullptr;
    }
}
