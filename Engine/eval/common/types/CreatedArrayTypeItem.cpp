#include "types/CreatedArrayTypeItem.h"

#include <cinttypes>
#include <cstdio>
#include <string>

CreatedArrayTypeItem::CreatedArrayTypeItem(std::uint32_t byteSize, const TypeItem& element)
{
    build(byteSize, element);
}

CreatedArrayTypeItem::CreatedArrayTypeItem(const TYPE_INDEX& element, std::uint32_t byteSize)
{
    TypeItem elementType(element);
    build(byteSize, elementType);
}

void CreatedArrayTypeItem::build(std::uint32_t byteSize, const TypeItem& element)
{
    TNarray& r = record.array;
    r.leaf = TE_ARRAY;
    r.size.byteSize = byteSize;
    r.elementType = element.unsimplifiedTypeIndex();
    r.name = "";
    useInlineEntry();
    const unsigned elementSize = element.typeSize();
    std::string text = element.demangledTypeName();
    if (elementSize == 0) {
        text += "[]";
    } else {
        char count[32];
        std::snprintf(count, sizeof count, "[%lld]", static_cast<long long>(byteSize / elementSize));
        text += count;
    }
    setName(element, text.c_str());
    finishConstruction();
}
