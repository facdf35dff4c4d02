#include "types/CreatedPackedDecimalTypeItem.h"

#include <cstdio>

#include "types/DataItemRecord.h"

CreatedPackedDecimalTypeItem::CreatedPackedDecimalTypeItem(unsigned char precision, unsigned char places)
    : CreatedRecordTypeItem<TNpacked_decimal>(DataItemRecord::packedDecimal(precision, places))
{
    char text[32];
    std::snprintf(text, sizeof text, "Decimal(%d,%d)", precision, places);
    setName(*this, text);
}
