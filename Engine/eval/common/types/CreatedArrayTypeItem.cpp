#include "types/CreatedArrayTypeItem.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "services/InvalidOp.h"

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
    const std::uint64_t elementSize = element.typeSize();
    // The type is registered with the environment already: a name that
    // cannot be made must not leave it half built.
    std::string text;
    try {
        text = element.demangledTypeName();
    } catch (const InvalidOp&) {
        text = "??";
    }
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
