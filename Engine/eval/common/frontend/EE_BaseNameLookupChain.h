#ifndef EE_BASENAMELOOKUPCHAIN_H
#define EE_BASENAMELOOKUPCHAIN_H

class EE_DeclarationStore;

// One link of a base-member name's chain: the store of one base class
// through which the member is reached.
class EE_BaseNameLookupChain {
public:
    explicit EE_BaseNameLookupChain(EE_DeclarationStore* s) : next(nullptr), store(s) {}

    EE_BaseNameLookupChain* next;
    EE_DeclarationStore* store;
};

#endif
