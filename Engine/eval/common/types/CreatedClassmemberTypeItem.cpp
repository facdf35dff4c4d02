#include "types/CreatedClassmemberTypeItem.h"

#include <cstring>

CreatedClassmemberTypeItem::CreatedClassmemberTypeItem(const TNclassmember& source)
    : name_(source.name != nullptr ? source.name : "")
{
    std::memcpy(static_cast<void*>(&record), &source, sizeof source);
    TNclassmember& r = record.member;
    if (r.flags & TNclassmember_LocationIsExpression) {
        if (source.location.expression != nullptr)
            expression_.assign(source.location.expression, source.location.expression + source.expressionLength);
        r.location.expression = expression_.empty() ? nullptr : expression_.data();
    } else if (r.flags & TNclassmember_Static) {
        storageName_ = source.location.storageName != nullptr ? source.location.storageName : "";
        r.location.storageName = storageName_.c_str();
    }
    r.name = name_.c_str();
    useInlineEntry();
    finishConstruction();
}
