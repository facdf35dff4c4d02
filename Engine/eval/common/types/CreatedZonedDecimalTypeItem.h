#ifndef NORVEXA_TYPES_CREATEDZONEDDECIMALTYPEITEM_H
#define NORVEXA_TYPES_CREATEDZONEDDECIMALTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created zoned decimal type (leaf 69).
class CreatedZonedDecimalTypeItem : public CreatedRecordTypeItem<TNzoned_decimal> {
public:
    explicit CreatedZonedDecimalTypeItem(const TNzoned_decimal& source) : CreatedRecordTypeItem<TNzoned_decimal>(source)
    {}
    // The type makeZonedDecimalType describes, named "Decimal(precision,places)".
    CreatedZonedDecimalTypeItem(unsigned char precision, unsigned char places);
    ~CreatedZonedDecimalTypeItem() override = default;
};

#endif
