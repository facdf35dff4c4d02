#ifndef NORVEXA_COMPILER_EE_LINK_H
#define NORVEXA_COMPILER_EE_LINK_H

// The link by which an arena object is chained in a keyed hash table: the
// element that follows it in the table's one chain.
template <class T>
class EE_Link {
public:
    T* nextLink = nullptr;
};

#endif
