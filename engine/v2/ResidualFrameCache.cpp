#include "engine/v2/ResidualFrameCache.h"

#include <algorithm>
#include <functional>

namespace HalvorenEngineV2 {

std::size_t ResidualFrameCache::KeyHash::operator()(const Key& k) const
{
    const std::size_t a = std::hash<const void*>()(k.residual);
    const std::size_t b = std::hash<int>()(k.position) * 2 + (k.withPhases ? 1 : 0);
    return a ^ (b + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
}

bool ResidualFrameCache::restore(const Key& key, Halvoren::FreqMagAndPhaseBox& box)
{
    const auto found = index_.find(key);
    if (found == index_.end())
        return false;
    entries_.splice(entries_.begin(), entries_, found->second);
    const Entry& e = *found->second;
    std::copy(e.mags.begin(), e.mags.end(), box.mags.begin());
    std::copy(e.phases.begin(), e.phases.end(), box.phases.begin());
    return true;
}

void ResidualFrameCache::keep(const Key& key, const Halvoren::FreqMagAndPhaseBox& box)
{
    if (entries_.size() < kCapacity) {
        entries_.emplace_front();
    } else {
        // The one used longest ago makes room, its storage reused.
        index_.erase(entries_.back().key);
        entries_.splice(entries_.begin(), entries_, std::prev(entries_.end()));
    }
    Entry& e = entries_.front();
    e.key = key;
    const auto bins = static_cast<std::ptrdiff_t>(box.n / 2 + 1);
    e.mags.assign(box.mags.begin(), box.mags.begin() + bins);
    if (key.withPhases)
        e.phases.assign(box.phases.begin(), box.phases.begin() + bins);
    else
        e.phases.clear();
    index_[key] = entries_.begin();
}

void ResidualFrameCache::forget()
{
    index_.clear();
    entries_.clear();
}

}  // namespace HalvorenEngineV2
