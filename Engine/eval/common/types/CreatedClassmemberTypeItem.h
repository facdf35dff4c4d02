#ifndef NORVEXA_TYPES_CREATEDCLASSMEMBERTYPEITEM_H
#define NORVEXA_TYPES_CREATEDCLASSMEMBERTYPEITEM_H

#include <string>
#include <vector>

#include "types/CreatedTypeItem.h"

// A data member (leaf 8) made by the evaluator: a copy of the member record
// that owns its name, and its location expression or storage name.
class CreatedClassmemberTypeItem : public CreatedTypeItem {
public:
    explicit CreatedClassmemberTypeItem(const TNclassmember& source);
    ~CreatedClassmemberTypeItem() override = default;

    const TNclassmember& memberRecord() const { return record.member; }

private:
    std::vector<UBYTE1> expression_;
    std::string storageName_;
    std::string name_;
};

#endif
