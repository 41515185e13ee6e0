#pragma once
// Converts ticks to seconds and back from the project's tempo markers. It
// caches a copy of the markers and the time at which each one begins, and
// rebuilds both only when a marker's position or tempo changed.
#include <cstdint>
#include <vector>

#include "model/current/Markers.h"

namespace HVCurrentModel {

class TempoMap {
public:
    TempoMap() = default;
    explicit TempoMap(const std::vector<Tempo*>& tempos) { update(tempos); }

    // Brings the cache up to date with the list (cheap when nothing changed).
    void update(const std::vector<Tempo*>& tempos);

    // Seconds at a tick; before the first marker the first marker's tempo is
    // extrapolated backwards. 0 on an empty map.
    float tickToSec(int32_t tick) const;
    // Tick at a time, truncated toward zero; before the first marker the
    // first marker's tempo is extrapolated backwards. 0 on an empty map.
    int32_t secToTick(float sec) const;

    // Seconds per tick of a tempo value; a tempo of 0 or below counts as 12000.
    static double secondsPerTick(int32_t tempo);

    const std::vector<float>& seconds() const { return seconds_; }
    // How often the table was rebuilt.
    uint64_t rebuildCount() const { return rebuilds_; }

private:
    std::vector<float> seconds_;
    std::vector<Tempo> markers_;
    uint64_t rebuilds_ = 0;
};

}  // namespace HVCurrentModel
