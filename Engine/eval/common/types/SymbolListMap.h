#ifndef NORVEXA_TYPES_SYMBOLLISTMAP_H
#define NORVEXA_TYPES_SYMBOLLISTMAP_H

#include <map>
#include <string>

class SymbolList;

// A scope's symbol lists by name (names compared bytewise). The map owns its
// lists.
class SymbolListMap {
public:
    SymbolListMap() = default;
    ~SymbolListMap();

    SymbolListMap(const SymbolListMap&) = delete;
    SymbolListMap& operator=(const SymbolListMap&) = delete;

    // The list kept for name, else a new empty one registered under it; null
    // for a null or empty name.
    SymbolList* findOrCreateList(const char* name);
    // Keeps list (owned) under name, replacing (and deleting) a different
    // list kept there; nothing for a null or empty name.
    void add(const char* name, SymbolList& list);
    // Deletes the list kept under name and forgets the name.
    void remove(const char* name);

    unsigned size() const { return static_cast<unsigned>(lists_.size()); }

private:
    std::map<std::string, SymbolList*> lists_;
};

#endif
