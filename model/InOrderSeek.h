#pragma once

#include <iterator>

// Finds keys in a std::map that are asked for in ascending order, as a batch of
// values comes. Such keys mostly stand a step or two apart in the map, so each is
// reached by stepping on from the previous one, and searched for from the root
// only when a few steps do not reach it. Keys in any other order are still found.
template <class Map> class InOrderSeek {
public:
    using Iterator = typename Map::iterator;
    using Key = typename Map::key_type;

    explicit InOrderSeek(Map& map) : map_(map), at_(map.begin()) {}

    // The first entry whose key is not before the given one.
    Iterator lowerBound(const Key& key)
    {
        for (int step = 0; step < stepsBeforeSearching && at_ != map_.end() && at_->first < key; ++step)
            ++at_;
        if (!atLowerBound(key))
            at_ = map_.lower_bound(key);
        return at_;
    }

    // The entry with the given key, or the map's end.
    Iterator find(const Key& key)
    {
        const Iterator found = lowerBound(key);
        return found != map_.end() && !(key < found->first) ? found : map_.end();
    }

    // The next search starts from here (an entry just put in, say).
    void standAt(Iterator at) { at_ = at; }

private:
    static constexpr int stepsBeforeSearching = 4;

    bool atLowerBound(const Key& key) const
    {
        if (at_ != map_.end() && at_->first < key)
            return false;
        return at_ == map_.begin() || std::prev(at_)->first < key;
    }

    Map& map_;
    Iterator at_;
};
