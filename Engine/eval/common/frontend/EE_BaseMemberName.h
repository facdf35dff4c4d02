#ifndef EE_BASEMEMBERNAME_H
#define EE_BASEMEMBERNAME_H

#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_Name.h"

// A member reached through base classes: the name carries the chain of the
// base-class stores on the way, first to last.
class EE_BaseMemberName : public EE_Name {
public:
    EE_BaseMemberName(EE_StorageArena* a, EE_Declaration* d) : EE_Name(a, d), chainHead(nullptr), chainTail(nullptr) {}

    EE_BaseNameLookupChain* baseLookupChain() const override;
    // When both names have a chain, the other's chain goes in front of this
    // one: the other's last link is joined to this name's first link, and the
    // other's first link becomes this name's first.
    void prependChainOnChain(EE_Name& other) override;
    EE_BaseMemberName* asBaseMemberName() override;

    // Puts a single link (one without a successor) at the head of the chain;
    // a link that already has a successor raises EE_Exception code 2.
    void prependComponent(EE_BaseNameLookupChain& link);

    EE_BaseNameLookupChain* chainHead;
    EE_BaseNameLookupChain* chainTail;
};

#endif
