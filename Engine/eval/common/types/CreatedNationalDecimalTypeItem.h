#ifndef NORVEXA_TYPES_CREATEDNATIONALDECIMALTYPEITEM_H
#define NORVEXA_TYPES_CREATEDNATIONALDECIMALTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created national decimal type (leaf 73).
class CreatedNationalDecimalTypeItem : public CreatedRecordTypeItem<TNnational_decimal> {
public:
    explicit CreatedNationalDecimalTypeItem(const TNnational_decimal& source)
        : CreatedRecordTypeItem<TNnational_decimal>(source)
    {}
    // The type makeNationalDecimalType describes, named
    // "National Decimal(precision,places)".
    CreatedNationalDecimalTypeItem(unsigned char precision, unsigned char places);
    ~CreatedNationalDecimalTypeItem() override = default;
};

#endif
