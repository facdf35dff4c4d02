#include "types/CreatedTypeIndex.h"

#include <algorithm>

#include "types/CreatedTypeItem.h"

void CreatedTypeIndex::clear()
{
    for (auto& bucket : buckets_)
        bucket.clear();
    pending_.clear();
    seen_ = 0;
}

void CreatedTypeIndex::collect(const List<CreatedTypeItem*>& list, Key kind, const TYPE_INDEX& key, Positions& out)
{
    catchUp(list);
    for (unsigned position = list.count(); position > seen_; --position)
        out.push(position - 1);
    static const std::vector<unsigned> none;
    const auto& bucket = buckets_[static_cast<int>(kind)];
    const auto found = bucket.find(keyOf(key));
    const std::vector<unsigned>& keyed = found != bucket.end() ? found->second : none;
    // Both lists are oldest first: merge them from the newest.
    std::size_t k = keyed.size();
    std::size_t p = pending_.size();
    while (k > 0 || p > 0) {
        if (p == 0 || (k > 0 && keyed[k - 1] > pending_[p - 1]))
            out.push(keyed[--k]);
        else
            out.push(pending_[--p]);
    }
}

void CreatedTypeIndex::catchUp(const List<CreatedTypeItem*>& list)
{
    // Keying a type may make and look up types: such a lookup finds the
    // types not keyed yet among its candidates, and leaves the keying to
    // the one under way.
    if (keying_)
        return;
    keying_ = true;
    try {
        if (list.count() < seen_)
            clear();
        if (!pending_.empty()) {
            std::vector<unsigned> still;
            for (unsigned position : std::vector<unsigned>(pending_)) {
                const CreatedTypeItem* type = position < list.count() ? list[position] : nullptr;
                if (type != nullptr && !type->isConstructed())
                    still.push_back(position);
                else if (type != nullptr)
                    addKeys(*type, position);
            }
            pending_.swap(still);
        }
        // seen_ moves past a type only once it is keyed, so that a lookup
        // made meanwhile still tests it.
        while (seen_ < list.count()) {
            const CreatedTypeItem* type = list[seen_];
            if (type != nullptr && type->isConstructed())
                addKeys(*type, seen_);
            else if (type != nullptr)
                pending_.push_back(seen_);
            ++seen_;
        }
    } catch (...) {
        keying_ = false;
        throw;
    }
    keying_ = false;
}

void CreatedTypeIndex::addKeys(const CreatedTypeItem& type, unsigned position)
{
    // Positions stay sorted: a type keyed late lands among newer ones.
    auto add = [&](Key kind, const TYPE_INDEX& key) {
        std::vector<unsigned>& positions = buckets_[static_cast<int>(kind)][keyOf(key)];
        positions.insert(std::upper_bound(positions.begin(), positions.end(), position), position);
    };
    add(Key::ownIndex, type.unsimplifiedTypeIndex());
    // A created pointer to a primitive that simplification folded into the
    // pointer-to-primitive form still holds its record.
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr)
        e = &type.inlineEntry();
    if (e->leaf == TE_POINTER) {
        TypeItem target(TYPE_INDEX(e->pointer.target));
        target.simplify();
        const EvaluatorTypeIndex& simplified = target.typeIndex();
        add(Key::pointerTarget, TYPE_INDEX{simplified.module(), simplified.index()});
    }
}
