#ifndef NORVEXA_TYPES_SYMBOLLISTENTRY_H
#define NORVEXA_TYPES_SYMBOLLISTENTRY_H

#include <cstdint>

#include <plomkit/List.h>

class SymbolItem;

// One symbol a name denotes, with the chain of its qualifiers (the symbols
// that contain it, closest first, outermost last). Neither the symbol nor its
// qualifiers are owned: their scopes own them.
class SymbolListEntry {
public:
    explicit SymbolListEntry(SymbolItem& symbol);

    SymbolListEntry(const SymbolListEntry&) = delete;
    SymbolListEntry& operator=(const SymbolListEntry&) = delete;

    SymbolItem* getSymbol() const { return symbol_; }
    unsigned numberOfQualifiers() const { return qualifiers_.count(); }
    SymbolItem* qualifier(unsigned i) const { return qualifiers_[i]; }

    // Appends q, then q's owner and the owner's owner up to the outermost
    // container. Each array-typed qualifier raises the symbol's count of
    // array qualifiers; q's attribute D is copied into the symbol. A cyclic
    // owner chain raises InvalidOp RTRC_Other.
    void addQualifier(SymbolItem& q);
    // The last qualifier, or null.
    SymbolItem* outermostQualifier() const;

    // Starts at the closest qualifier; null when there is none.
    SymbolItem* setIteratorToClosestQualifier();
    // The next qualifier; null at the end, and null when the iteration was
    // never started.
    SymbolItem* advanceIteratorToNextQualifier();

private:
    SymbolItem* symbol_;
    List<SymbolItem*> qualifiers_;
    std::uint32_t position_ = 0;
    bool started_ = false;
};

#endif
