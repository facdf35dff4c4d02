#ifndef NORVEXA_TYPES_LOCALSYMBOLITEM_H
#define NORVEXA_TYPES_LOCALSYMBOLITEM_H

#include <cstdint>

#include "types/SymbolItem.h"

// A symbol of the locals view of a frame. The first request for its address
// sorts the entry into a kind (register, frame offset, anything else), which
// later requests reuse.
class LocalSymbolItem : public SymbolItem {
public:
    enum AddressKind : std::uint32_t {
        notClassified = 0,
        registerKind = 1,
        frameOffsetKind = 2,
        generalKind = 3,
        unresolvedKind = 4,  // an automatic variable no context of the frame holds
    };

    // A symbol of entry shown under the view's display name, whose stack
    // base is the one selected by stackBase (0 the frame's own, higher the
    // OpenMP levels).
    LocalSymbolItem(SYMBOL_ENTRY* entry, ScopeItem& scope, unsigned stackBase);
    ~LocalSymbolItem() override = default;

    // InvalidOp RTRC_NotSupported outside the locals view, for a register
    // unless frame 0 is shown, and for an automatic variable no context
    // holds.
    const DebuggeeLocation& debuggeeAddress(int frame) const override;

    AddressKind addressKind() const { return kind_; }
    std::uint64_t registerOrOffset() const { return value_; }
    unsigned stackBaseSelector() const { return stackBase_; }

private:
    void classify() const;

    mutable AddressKind kind_ = notClassified;
    mutable std::uint64_t value_ = 0;
    unsigned stackBase_;
};

#endif
