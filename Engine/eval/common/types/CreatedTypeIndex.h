#ifndef NORVEXA_TYPES_CREATEDTYPEINDEX_H
#define NORVEXA_TYPES_CREATEDTYPEINDEX_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <plomkit/List.h>

#include "HostRecords.h"

class CreatedTypeItem;

// An index beside an environment's created list, so that the finders that
// look for a type by an index need not walk the list: for each key the
// positions in the list of the created types that have it, oldest first.
// A finder reads only the positions of its key and, among them, answers the
// newest type its own test accepts, as the walk from the newest would: a
// type that the walk could accept always has the key it is looked up by.
//
// Types are keyed when a lookup first sees them, once their construction
// has ended; one still being made is tested by every lookup until then.
// The environment clears the index when it deletes its created types.
class CreatedTypeIndex {
public:
    enum class Key {
        // The type's unsimplified index.
        ownIndex,
        // A created pointer's target, simplified.
        pointerTarget,
    };

    // The newest type of the list whose key of that kind is key and that
    // match accepts; null when none. A match may make types and look up
    // again: the candidates are taken before the first test.
    template <class Match>
    CreatedTypeItem* newest(const List<CreatedTypeItem*>& list, Key kind, const TYPE_INDEX& key, Match match)
    {
        Positions candidates;
        collect(list, kind, key, candidates);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            CreatedTypeItem* candidate = list[candidates[i]];
            if (candidate != nullptr && match(*candidate))
                return candidate;
        }
        return nullptr;
    }

    void clear();

private:
    // Positions newest first, in place while they are few.
    class Positions {
    public:
        void push(unsigned position)
        {
            if (more_.empty() && count_ < few_)
                first_[count_++] = position;
            else
                more_.push_back(position);
        }
        std::size_t size() const { return count_ + more_.size(); }
        unsigned operator[](std::size_t i) const { return i < count_ ? first_[i] : more_[i - count_]; }

    private:
        static constexpr std::size_t few_ = 16;
        unsigned first_[few_];
        std::size_t count_ = 0;
        std::vector<unsigned> more_;
    };

    // The positions a lookup tests, newest first: those not keyed yet (made
    // while a lookup keyed others), then those of the key and those still
    // being made.
    void collect(const List<CreatedTypeItem*>& list, Key kind, const TYPE_INDEX& key, Positions& out);
    static std::uint64_t keyOf(const TYPE_INDEX& index)
    {
        return static_cast<std::uint64_t>(index.module) << 32 | index.index;
    }
    // Keys the types made since the last lookup, and those whose
    // construction has ended since.
    void catchUp(const List<CreatedTypeItem*>& list);
    void addKeys(const CreatedTypeItem& type, unsigned position);

    std::unordered_map<std::uint64_t, std::vector<unsigned>> buckets_[2];
    std::vector<unsigned> pending_;
    unsigned seen_ = 0;
    bool keying_ = false;
};

#endif
