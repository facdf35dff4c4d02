#ifndef NORVEXA_TYPES_CREATEDNATIONALSTRINGTYPEITEM_H
#define NORVEXA_TYPES_CREATEDNATIONALSTRINGTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created national string type.
class CreatedNationalStringTypeItem : public CreatedRecordTypeItem<TNnational_string> {
public:
    explicit CreatedNationalStringTypeItem(const TNnational_string& source)
        : CreatedRecordTypeItem<TNnational_string>(source)
    {}
    // A copy of the record with the three string-kind flags.
    CreatedNationalStringTypeItem(const TNnational_string& source, bool first, bool second, bool third)
        : CreatedRecordTypeItem<TNnational_string>(source)
    {
        setStringKinds(first, second, third);
    }
    ~CreatedNationalStringTypeItem() override = default;
};

#endif
