#ifndef NORVEXA_TYPES_CREATEDCLASSTYPEITEM_H
#define NORVEXA_TYPES_CREATEDCLASSTYPEITEM_H

#include <string>

#include "types/CreatedTypeItem.h"

// A class found by name (leaf 6): a copy of the host's class record whose two
// name texts are the item's own.
class CreatedClassTypeItem : public CreatedTypeItem {
public:
    explicit CreatedClassTypeItem(const TNclass& source);
    ~CreatedClassTypeItem() override = default;

    const TNclass& classRecord() const { return record.klass; }

private:
    std::string name_;
    std::string name2_;
};

#endif
