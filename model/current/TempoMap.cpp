#include "model/current/TempoMap.h"

#include <cmath>
#include <limits>

namespace HVCurrentModel {

double TempoMap::secondsPerTick(int32_t tempo)
{
    // A marker of no tempo (a damaged file or import) plays at 120 BPM.
    if (tempo <= 0) tempo = 12000;
    const float bpm = static_cast<float>(tempo) * 0.01f;
    return 60.0 / bpm / 480.0;
}

void TempoMap::update(const std::vector<Tempo*>& tempos)
{
    const size_t n = tempos.size();
    if (markers_.size() == n) {
        bool same = true;
        for (size_t i = 0; i < n && same; ++i)
            same = markers_[i].pos == tempos[i]->pos && markers_[i].tempo == tempos[i]->tempo;
        if (same) return;
    }
    markers_.resize(n);
    for (size_t i = 0; i < n; ++i) markers_[i] = *tempos[i];

    seconds_.clear();
    if (n >= 1) seconds_.push_back(0.0f);
    float sum = 0.0f;
    for (size_t i = 1; i < n; ++i) {
        const double ticks = double(tempos[i]->pos) - tempos[i - 1]->pos;
        sum = static_cast<float>(sum + ticks * secondsPerTick(tempos[i - 1]->tempo));
        seconds_.push_back(sum);
    }
    ++rebuilds_;
}

float TempoMap::tickToSec(int32_t tick) const
{
    if (markers_.empty()) return 0.0f;
    size_t k = 0;
    while (k < markers_.size() && markers_[k].pos <= tick) ++k;
    const size_t j = k == 0 ? 0 : k - 1;
    const double ticks = double(tick) - markers_[j].pos;
    return static_cast<float>(seconds_[j] + ticks * secondsPerTick(markers_[j].tempo));
}

int32_t TempoMap::secToTick(float sec) const
{
    if (markers_.empty()) return 0;
    size_t k = 0;
    while (k < seconds_.size() && seconds_[k] <= sec) ++k;
    // Before the first marker the first tempo is extrapolated backwards.
    const size_t j = k == 0 ? 0 : k - 1;
    const double ticks = std::trunc((double(sec) - seconds_[j]) / secondsPerTick(markers_[j].tempo));
    const double tick = markers_[j].pos + ticks;
    if (std::isnan(tick)) return markers_[j].pos;
    if (tick <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (tick >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(tick);
}

}  // namespace HVCurrentModel
