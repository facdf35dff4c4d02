#include "types/SymbolListMap.h"

#include "types/SymbolList.h"

SymbolListMap::~SymbolListMap()
{
    for (auto& kept : lists_)
        delete kept.second;
    lists_.clear();
}

SymbolList* SymbolListMap::findOrCreateList(const char* name)
{
    if (name == nullptr || *name == '\0')
        return nullptr;
    auto found = lists_.find(name);
    if (found != lists_.end())
        return found->second;
    SymbolList* list = new SymbolList;
    add(name, *list);
    return list;
}

void SymbolListMap::add(const char* name, SymbolList& list)
{
    if (name == nullptr || *name == '\0')
        return;
    SymbolList*& slot = lists_[name];
    // A list replaced by another would otherwise be lost.
    if (slot != nullptr && slot != &list)
        delete slot;
    slot = &list;
}

void SymbolListMap::remove(const char* name)
{
    if (name == nullptr || *name == '\0')
        return;
    auto found = lists_.find(name);
    if (found == lists_.end())
        return;
    delete found->second;
    lists_.erase(found);
}
