#ifndef NORVEXA_TYPES_CREATEDCHARSTRINGTYPEITEM_H
#define NORVEXA_TYPES_CREATEDCHARSTRINGTYPEITEM_H

#include "types/CreatedRecordTypeItem.h"

// A created character string type.
class CreatedCharstringTypeItem : public CreatedRecordTypeItem<TNcharstring> {
public:
    explicit CreatedCharstringTypeItem(const TNcharstring& source) : CreatedRecordTypeItem<TNcharstring>(source) {}
    // A copy of the record with the three string-kind flags.
    CreatedCharstringTypeItem(const TNcharstring& source, bool first, bool second, bool third)
        : CreatedRecordTypeItem<TNcharstring>(source)
    {
        setStringKinds(first, second, third);
    }
    ~CreatedCharstringTypeItem() override = default;
};

#endif
