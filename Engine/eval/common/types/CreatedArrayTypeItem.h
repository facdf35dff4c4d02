#ifndef NORVEXA_TYPES_CREATEDARRAYTYPEITEM_H
#define NORVEXA_TYPES_CREATEDARRAYTYPEITEM_H

#include <cstdint>

#include "types/CreatedTypeItem.h"

// A C array (leaf 1) made by the evaluator, named after its element:
// "int[3]", or "int[]" when the element has no size.
class CreatedArrayTypeItem : public CreatedTypeItem {
public:
    CreatedArrayTypeItem(std::uint32_t byteSize, const TypeItem& element);
    CreatedArrayTypeItem(const TYPE_INDEX& element, std::uint32_t byteSize);
    ~CreatedArrayTypeItem() override = default;

private:
    void build(std::uint32_t byteSize, const TypeItem& element);
};

#endif
