#ifndef NORVEXA_TYPES_SYMBOLLIST_H
#define NORVEXA_TYPES_SYMBOLLIST_H

#include <cstdint>

#include <plomkit/List.h>

class SymbolItem;
class SymbolListEntry;

// Every symbol a name denotes from one scope, each with its qualifier chain,
// so that a qualified COBOL reference can be matched against them. The list
// owns its entries (not the symbols).
class SymbolList {
public:
    SymbolList() = default;
    ~SymbolList();

    SymbolList(const SymbolList&) = delete;
    SymbolList& operator=(const SymbolList&) = delete;

    // A new entry for s; s's owner chain becomes its qualifiers.
    void addEntry(SymbolItem& s);
    // addQualifier(q) on every entry, in order.
    void addQualifierToAllEntries(SymbolItem& q);
    // Moves other's entries to the end of this list; other is left empty.
    void append(SymbolList& other);

    unsigned count() const { return entries_.count(); }
    SymbolListEntry* entry(unsigned i) const { return entries_[i]; }

    // Starts at the first entry; null for an empty list.
    SymbolListEntry* setIteratorToFront();
    // The next entry; null at the end and when never started.
    SymbolListEntry* advanceIterator();

private:
    List<SymbolListEntry*> entries_;
    std::uint32_t position_ = 0;
    bool started_ = false;
};

#endif
