#include "types/SymbolList.h"

#include <memory>

#include "types/SymbolItem.h"
#include "types/SymbolListEntry.h"

SymbolList::~SymbolList()
{
    for (unsigned i = 0; i < entries_.count(); ++i)
        delete entries_[i];
    entries_.deleteItems();
}

void SymbolList::addEntry(SymbolItem& s)
{
    std::unique_ptr<SymbolListEntry> entry(new SymbolListEntry(s));
    if (SymbolItem* owner = s.ownerSymbol())
        entry->addQualifier(*owner);
    entries_.append(entry.get());
    entry.release();
}

void SymbolList::addQualifierToAllEntries(SymbolItem& q)
{
    for (unsigned i = 0; i < entries_.count(); ++i)
        entries_[i]->addQualifier(q);
}

void SymbolList::append(SymbolList& other)
{
    if (&other == this)
        return;
    for (unsigned i = 0; i < other.entries_.count(); ++i)
        entries_.append(other.entries_[i]);
    other.entries_.deleteItems();
    other.position_ = 0;
    other.started_ = false;
}

SymbolListEntry* SymbolList::setIteratorToFront()
{
    if (entries_.count() == 0)
        return nullptr;
    position_ = 0;
    started_ = true;
    return entries_[0];
}

SymbolListEntry* SymbolList::advanceIterator()
{
    const unsigned n = entries_.count();
    if (n == 0 || !started_ || position_ >= n)
        return nullptr;
    ++position_;
    return position_ < n ? entries_[position_] : nullptr;
}
