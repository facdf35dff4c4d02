#ifndef NORVEXA_TYPES_CONDVARSCOPEITEM_H
#define NORVEXA_TYPES_CONDVARSCOPEITEM_H

#include <plomkit/List.h>

#include "HostRecords.h"
#include "types/ScopeItem.h"

// The scope of the level-88 condition names of one COBOL data item. Each
// condition name looked up here becomes a symbol of storage code 16385 with
// the boolean type, made from a pseudo symbol entry the scope keeps.
class CondvarScopeItem : public ScopeItem {
public:
    // The condition scope of a data item's condition record: the one made
    // before in this request, else a new one inside parent. Null outside
    // COBOL.
    static CondvarScopeItem* getCondVarScope(const TNcobolCondVar& record, ScopeItem& parent);

    CondvarScopeItem(const TNcobolCondVar& record, ScopeItem& parent);
    ~CondvarScopeItem() override;

    // The condition called name (case-sensitive); made from the record when
    // create is non-zero.
    SymbolItem* findVariable(const char* name, int create) const override;

    const TNcobolCondVar& conditionRecord() const { return *record_; }
    unsigned pseudoEntryCount() const { return pseudoEntries_.count(); }

private:
    const TNcobolCondVar* record_;
    mutable List<SYMBOL_ENTRY*> pseudoEntries_;
};

#endif
