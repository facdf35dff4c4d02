#include "frontend/EE_BaseMemberName.h"

#include "frontend/EE_Exception.h"

EE_BaseNameLookupChain* EE_BaseMemberName::baseLookupChain() const
{
    return chainHead;
}

void EE_BaseMemberName::prependChainOnChain(EE_Name& other)
{
    EE_BaseMemberName* outer = other.asBaseMemberName();
    // Joining a chain to itself would make it run in a circle.
    if (chainHead == nullptr || outer == nullptr || outer == this || outer->chainHead == nullptr)
        return;
    if (outer->chainTail == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    outer->chainTail->next = chainHead;
    chainHead = outer->chainHead;
}

EE_BaseMemberName* EE_BaseMemberName::asBaseMemberName()
{
    return this;
}

void EE_BaseMemberName::prependComponent(EE_BaseNameLookupChain& link)
{
    if (link.next != nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (chainHead == nullptr) {
        chainHead = &link;
        chainTail = &link;
        return;
    }
    link.next = chainHead;
    chainHead = &link;
}
