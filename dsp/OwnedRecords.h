#pragma once
// Vectors of owned entries kept in rising order of a leading float key, with
// a nearest-key lookup.
#include <memory>
#include <vector>

namespace Halvoren {

// The entry whose key is nearest x, the lower one on a tie; the first entry
// at or below its key (and for NaN), the last at or above its key. Entry has
// a float `key`; keys rise. Null for no entries.
template <class Entry>
const Entry* findEntryForKey(const std::vector<std::unique_ptr<Entry>>& entries, float x)
{
    if (entries.empty())
        return nullptr;
    if (!(x > entries.front()->key))
        return entries.front().get();
    if (x >= entries.back()->key)
        return entries.back().get();
    std::size_t i = 0;
    while (i + 2 < entries.size() && !(x <= entries[i + 1]->key))
        ++i;
    const Entry& lo = *entries[i];
    const Entry& hi = *entries[i + 1];
    return (hi.key - x < x - lo.key) ? entries[i + 1].get() : entries[i].get();
}

}  // namespace Halvoren
