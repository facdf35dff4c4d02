#ifndef NORVEXA_TYPES_CREATEDDBCSSTRINGTYPEITEM_H
#define NORVEXA_TYPES_CREATEDDBCSSTRINGTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created DBCS string type.
class CreatedDbcsStringTypeItem : public CreatedRecordTypeItem<TNdbcs_string> {
public:
    explicit CreatedDbcsStringTypeItem(const TNdbcs_string& source) : CreatedRecordTypeItem<TNdbcs_string>(source) {}
    // A copy of the record with the three string-kind flags.
    CreatedDbcsStringTypeItem(const TNdbcs_string& source, bool first, bool second, bool third)
        : CreatedRecordTypeItem<TNdbcs_string>(source)
    {
        setStringKinds(first, second, third);
    }
    ~CreatedDbcsStringTypeItem() override = default;
};

#endif
