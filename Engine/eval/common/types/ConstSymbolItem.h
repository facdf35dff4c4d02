#ifndef NORVEXA_TYPES_CONSTSYMBOLITEM_H
#define NORVEXA_TYPES_CONSTSYMBOLITEM_H

#include <cstdint>

#include "HostRecords.h"
#include "types/SymbolItem.h"

// An enumeration constant found in a class scope. It carries a constant
// entry of its own (the enumerator's name, the enumeration's type and a
// pointer to the value cell behind it), so that it answers the constant
// queries as a host constant does.
class ConstSymbolItem : public SymbolItem {
public:
    // name is the enumerator's name text (kept by the host record); value
    // its 64-bit value; underlyingSize the size of the enumeration's
    // integer type.
    ConstSymbolItem(const TypeItem& enumeration, ScopeItem& scope, const char* name, std::uint64_t value,
                    std::uint32_t underlyingSize);
    ~ConstSymbolItem() override = default;

    std::uint64_t value() const { return value_; }

private:
    _SYMBOL_ENTRY pseudoEntry_{};
    std::uint64_t value_;
};

#endif
