#include "types/CreatedZonedDecimalTypeItem.h"

#include <cstdio>

#include "types/DataItemRecord.h"

CreatedZonedDecimalTypeItem::CreatedZonedDecimalTypeItem(unsigned char precision, unsigned char places)
    : CreatedRecordTypeItem<TNzoned_decimal>(DataItemRecord::zonedDecimal(precision, places))
{
    char text[32];
    std::snprintf(text, sizeof text, "Decimal(%d,%d)", precision, places);
    setName(*this, text);
}
