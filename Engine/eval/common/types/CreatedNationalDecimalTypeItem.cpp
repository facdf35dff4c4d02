#include "types/CreatedNationalDecimalTypeItem.h"

#include <cstdio>

#include "types/DataItemRecord.h"

CreatedNationalDecimalTypeItem::CreatedNationalDecimalTypeItem(unsigned char precision, unsigned char places)
    : CreatedRecordTypeItem<TNnational_decimal>(DataItemRecord::nationalDecimal(precision, places))
{
    char text[40];
    std::snprintf(text, sizeof text, "National Decimal(%d,%d)", precision, places);
    setName(*this, text);
}
