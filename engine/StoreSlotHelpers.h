#pragma once
// What the package stores of every generation from the third on answer
// alike: whether a bank's hop and rate can be rendered, a record served only
// at the pitch it was recorded at, and the names of one timbre.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "voicebank/NoteName.h"
#include "voicebank/package/IndexHeader.h"
#include "voicebank/package/UnitIndex.h"

namespace HalvorenEngine {

// The largest hop a frame of 512 samples can be overlap-added at.
inline constexpr std::int32_t kMaxStoreHop = 256;

// A hop of 1..256 samples and a finite, positive sample rate.
inline bool hopAndRateRenderable(const Halvoren::IndexHeader& h)
{
    return h.hopSize >= 1 && h.hopSize <= kMaxStoreHop && std::isfinite(h.sampleRate) && h.sampleRate > 0.0f;
}

// The record that packager's loader reads for the unit's variant nearest
// pitch, only when that variant's semitone is pitch's; null otherwise.
template <class Record, class Packager, class Loader>
std::unique_ptr<Record> loadRecordAtPitch(const Packager& packager, const std::string& unit,
                                          const std::string& pitch, Loader loader)
{
    std::int32_t offset = 0;
    std::int32_t part = 0;
    const std::string stored = packager.findRecordKey(unit, pitch, offset, part);
    if (stored.empty() || parseNoteName(stored) != parseNoteName(pitch))
        return nullptr;
    return (packager.*loader)(unit, pitch, offset, part);
}

// Clears the three names, then copies entry index of the table when it has one.
inline void copyTimbreNames(const std::vector<Halvoren::TimbreEntry>& table, std::int32_t index, std::string& low,
                            std::string& middle, std::string& high)
{
    low.clear();
    middle.clear();
    high.clear();
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return;
    const Halvoren::TimbreEntry& entry = table[static_cast<std::size_t>(index)];
    low = entry.low;
    middle = entry.middle;
    high = entry.high;
}

}  // namespace HalvorenEngine
