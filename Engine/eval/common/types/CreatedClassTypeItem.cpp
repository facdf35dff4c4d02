#include "types/CreatedClassTypeItem.h"

#include <cstring>

CreatedClassTypeItem::CreatedClassTypeItem(const TNclass& source)
    : name_(source.name != nullptr ? source.name : ""), name2_(source.name2 != nullptr ? source.name2 : "")
{
    std::memcpy(static_cast<void*>(&record), &source, sizeof source);
    record.klass.name = name_.c_str();
    record.klass.name2 = name2_.c_str();
    useInlineEntry();
    finishConstruction();
}
