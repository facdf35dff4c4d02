#include "frontend/EE_MemberAccessList.h"

#include "frontend/EE_StorageArena.h"

void EE_MemberAccessList::append(const EE_String& qualifier)
{
    Link* link = new (*arena) Link(qualifier, arena);
    if (last == nullptr)
        first = link;
    else
        last->next = link;
    last = link;
}
