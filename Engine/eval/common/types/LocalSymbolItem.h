#ifndef NORVEXA_TYPES_LOCALSYMBOLITEM_H
#define NORVEXA_TYPES_LOCALSYMBOLITEM_H

#include <cstdint>

#include "types/SymbolItem.h"

// A symbol of the locals view: named as the view shows the entry, its
// address classified once (register, frame offset, or the general rules)
// and taken from the stack base the view selects.
class LocalSymbolItem : public SymbolItem {
public:
    enum AddressKind : std::uint32_t {
        notClassified = 0,
        inRegister = 1,
        frameOffset = 2,
        general = 3,
        beingClassified = 4,
    };

    LocalSymbolItem(SYMBOL_ENTRY& entry, ScopeItem& scope, std::uint32_t stackBaseSelector);

    const DebuggeeLocation& debuggeeAddress(int frame) const override;

    AddressKind addressKind() const { return kind_; }
    std::uint32_t stackBaseSelector() const { return selector_; }

private:
    mutable AddressKind kind_ = notClassified;
    mutable std::uint64_t registerOrOffset_ = 0;
    std::uint32_t selector_;
};

#endif
