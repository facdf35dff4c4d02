#ifndef NORVEXA_TYPES_CREATEDPACKEDDECIMALTYPEITEM_H
#define NORVEXA_TYPES_CREATEDPACKEDDECIMALTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created packed decimal type (leaf 50).
class CreatedPackedDecimalTypeItem : public CreatedRecordTypeItem<TNpacked_decimal> {
public:
    explicit CreatedPackedDecimalTypeItem(const TNpacked_decimal& source)
        : CreatedRecordTypeItem<TNpacked_decimal>(source)
    {}
    // The type makePackedDecimalType describes, named "Decimal(precision,places)".
    CreatedPackedDecimalTypeItem(unsigned char precision, unsigned char places);
    ~CreatedPackedDecimalTypeItem() override = default;
};

#endif
