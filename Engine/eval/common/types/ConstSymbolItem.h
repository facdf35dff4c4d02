#ifndef NORVEXA_TYPES_CONSTSYMBOLITEM_H
#define NORVEXA_TYPES_CONSTSYMBOLITEM_H

#include <cstdint>

#include "types/SymbolItem.h"

// An enumeration constant. It carries its own symbol entry of storage code 7
// (name, the enumeration's type index, a pointer to the value cell) and the
// 8-byte value cell itself, so that it reads like any host constant. Its
// address is known from the start (it has none to compute).
class ConstSymbolItem : public SymbolItem {
public:
    // name must outlive the symbol (it points into the host's records).
    ConstSymbolItem(const char* name, const TypeItem& enumeration, ScopeItem& scope, std::uint64_t value,
                    std::uint32_t underlyingSize);

    std::uint64_t value() const { return cell_; }

private:
    SYMBOL_ENTRY pseudo_{};
    std::uint64_t cell_;
};

#endif
