#include "types/SymbolListEntry.h"

#include <vector>

#include "services/InvalidOp.h"
#include "types/SymbolItem.h"

SymbolListEntry::SymbolListEntry(SymbolItem& symbol) : symbol_(&symbol) {}

void SymbolListEntry::addQualifier(SymbolItem& q)
{
    // The owner chain is followed iteratively; a symbol met twice means the
    // chain is cyclic and would never end.
    std::vector<const SymbolItem*> added;
    for (SymbolItem* current = &q; current != nullptr; current = current->ownerSymbol()) {
        for (const SymbolItem* earlier : added)
            if (earlier == current)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__,
                                "The owner chain of a qualifier is cyclic");
        added.push_back(current);
        qualifiers_.append(current);
        if (current->dataType().hasFlag(TypeFlags::array))
            symbol_->addArrayQualifier();
        symbol_->setAttributeD(current->attributeD());
    }
}

SymbolItem* SymbolListEntry::outermostQualifier() const
{
    const unsigned n = qualifiers_.count();
    return n == 0 ? nullptr : qualifiers_[n - 1];
}

SymbolItem* SymbolListEntry::setIteratorToClosestQualifier()
{
    if (qualifiers_.count() == 0)
        return nullptr;
    position_ = 0;
    started_ = true;
    return qualifiers_[0];
}

SymbolItem* SymbolListEntry::advanceIteratorToNextQualifier()
{
    const unsigned n = qualifiers_.count();
    if (n == 0 || !started_ || position_ >= n)
        return nullptr;
    ++position_;
    return position_ < n ? qualifiers_[position_] : nullptr;
}
