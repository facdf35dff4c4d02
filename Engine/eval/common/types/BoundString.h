#ifndef NORVEXA_TYPES_BOUNDSTRING_H
#define NORVEXA_TYPES_BOUNDSTRING_H

#include "types/BoundTypeItem.h"

// The data of a COBOL table whose length (OCCURS DEPENDING ON) the program sets at run time: the symbol's location, which the target type shares.
class BoundStringData : public BoundTypeItem::Data {
public:
    explicit BoundStringData(TypeItem* owner) : BoundTypeItem::Data(owner) {}
    void setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry) override;
    // Whether the display name changed since it was last made.
    bool hasTypeStructureChanged(TypeItem& type) const override;
};

// The bound type of a COBOL table whose length (OCCURS DEPENDING ON) the program sets at run time.
class BoundString : public BoundTypeItem {
public:
    BoundString(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex);
    ~BoundString() override;

private:
    BoundStringData data_;
};

#endif
