#ifndef NORVEXA_TYPES_CREATEDBUILTINPROCEDURETYPEITEM_H
#define NORVEXA_TYPES_CREATEDBUILTINPROCEDURETYPEITEM_H

#include <string>

#include "types/CreatedTypeItem.h"

// The type of a built-in procedure (leaf 16384): its result type, two counts,
// the list of its argument types and its name (owned).
class CreatedBuiltinProcedureTypeItem : public CreatedTypeItem {
public:
    CreatedBuiltinProcedureTypeItem(const TypeItem& result, const char* procedureName, unsigned first, unsigned second,
                                    const TYPE_INDEX& argumentList);
    ~CreatedBuiltinProcedureTypeItem() override = default;

private:
    std::string name_;
};

#endif
