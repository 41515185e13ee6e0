#include "model/current/Vibrato.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/current/ParabolicSin.h"
#include "model/current/TickRange.h"
#include "shell/services/AppConfig.h"

namespace HVCurrentModel {

namespace {

// Truncates toward zero, saturating at the int range (NaN gives 0).
int32_t truncToInt(double v)
{
    if (std::isnan(v)) return 0;
    if (v <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (v >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

void assignNodes(ParamCurve& curve, const std::vector<std::pair<int, int>>& nodes)
{
    curve.nodes.clear();
    for (const auto& [pos, value] : nodes) curve.nodes.pushBack({pos, value});
}

// One cycle of the wave, computed once and shared by every table.
const std::shared_ptr<std::vector<float>>& computedWave()
{
    static const std::shared_ptr<std::vector<float>> wave = [] {
        auto values = std::make_shared<std::vector<float>>(VibratoCycle::kTableSize, 0.0f);
        for (int i = 0; i < VibratoCycle::kTableSize; ++i) {
            const float theta = static_cast<float>(i * 0.0009765625 * -2.0 * 3.1415927410125732);
            (*values)[i] = parabolicSin(theta);
        }
        return values;
    }();
    return wave;
}

}  // namespace

CycleTable::CycleTable() : values_(computedWave()) {}

void CycleTable::assign(std::vector<float> values)
{
    if (values == *computedWave())
        values_ = computedWave();
    else
        values_ = std::make_shared<std::vector<float>>(std::move(values));
}

void CycleTable::set(size_t i, float value)
{
    // Values another table (or the computed wave) still holds are copied first.
    if (values_.use_count() > 1) values_ = std::make_shared<std::vector<float>>(*values_);
    (*values_)[i] = value;
}

bool CycleTable::sharesComputedWave() const { return values_ == computedWave(); }

Vibrato::Vibrato()
    : vibAmp{{-1, 0}, {100001, 0}},
      vibFreq{{-1, 0}, {100001, 0}}
{
}

void Vibrato::assign(const Vibrato& other)
{
    vibAmp.nodes.assign(other.vibAmp.nodes);
    vibFreq.nodes.assign(other.vibFreq.nodes);
    vibCurve.nodes.assign(other.vibCurve.nodes);
}

void Vibrato::assign(const VibratoPreset& preset)
{
    assignNodes(vibAmp, preset.vibAmp);
    assignNodes(vibFreq, preset.vibFreq);
    vibCurve.nodes.clear();
}

void Vibrato::buildPitchCurve(int32_t lengthMs, int32_t percent, const VibratoCycle& cycle)
{
    vibCurve.nodes.clear();
    // The percent comes from files and presets: only the share the editor
    // can set (none to all of the note) is meaningful.
    percent = std::clamp(percent, 0, 100);
    const int64_t length = lengthMs;
    const int64_t start = (100 - int64_t{percent}) * length / 100;
    if (percent != 100) vibCurve.nodes.pushBack({0, 0});

    vibAmp.resetCursor();
    vibFreq.resetCursor();
    int32_t phase = 0;
    const float span = static_cast<float>(length - start);
    const size_t tableSize = cycle.table.size();
    // A node every 10 ms; a vibrato too long for kMaxVibratoNodes of them
    // gets wider steps, and the phase advances by the wider step.
    const int64_t widest = 10 * (kMaxVibratoNodes - 1);
    const int64_t step = std::max<int64_t>(10, (length - start + widest - 1) / widest * 10);

    for (int64_t x = start; x < length + step; x += step) {
        const int64_t t = x - start;
        // A vibrato of no length has only its start.
        const float u = span != 0.0f ? static_cast<float>(t / span) : 0.0f;
        const int32_t q = truncToInt(u * 100000.0);
        const int32_t a = vibAmp.valueAt(q);
        const int32_t f = vibFreq.valueAt(q);
        const int32_t amp = truncToInt(a * 150.0 / 10000.0);
        const int32_t period = f != 0 ? 1000000 / f : 0;
        if (period != 0) {
            // A negative rate runs the wave backwards; keep the index inside the table.
            int32_t idx = phase % VibratoCycle::kTableSize;
            if (idx < 0) idx += VibratoCycle::kTableSize;
            const float wave = size_t(idx) < tableSize ? cycle.table[idx] : 0.0f;
            vibCurve.nodes.pushBack({clampTick(x), truncToInt(wave * amp)});
            phase = truncToInt(double(step) / period * 1024.0 + idx);
        } else {
            vibCurve.nodes.pushBack({clampTick(x), 0});
            phase = 0;
        }
    }
}

void buildNoteBendCurve(int32_t bendLen, int32_t bendDep, int32_t lengthMs, ParamCurve& out)
{
    const int32_t dep = std::clamp(bendDep, 0, 100);
    const int32_t shape = std::clamp(bendLen, 0, 100);
    const double d = dep * -300.0 / 100.0;

    int32_t a, b;
    if (shape > 50) {
        a = static_cast<int32_t>((shape - 50) * 0.02f * 300.0 + 300.0);
        a = static_cast<int32_t>(a * 0.5);
        b = a;
    } else {
        a = static_cast<int32_t>(shape * 0.02f * 50.0 + 100.0);
        b = 300 - a;
    }
    const int64_t length = lengthMs;
    const int32_t start = static_cast<int32_t>(std::min(0.5 * length, 100.0));
    const int64_t rest = length - start;
    if (rest < a + b) {
        a = truncToInt(double(a) / (a + b) * rest);
        b = truncToInt(double(rest - a));
    }

    out.nodes.clear();
    out.nodes.pushBack({0, 0});
    if (dep != 0) {
        out.nodes.pushBack({start, static_cast<int32_t>(-d)});
        const float h = static_cast<float>(d * 0.5);
        for (int32_t t = 10; t < a; t += 10) {
            const float s = parabolicSin(double(t) / a * 1.570796251296997 - 1.570796251296997);
            out.nodes.pushBack({start + t, static_cast<int32_t>(s * h - h)});
        }
        for (int32_t t = 0; t < b; t += 10) {
            const float s = parabolicSin(double(t) / b * 1.570796251296997);
            out.nodes.pushBack({start + a + t, static_cast<int32_t>(s * h - h)});
        }
    }
    out.nodes.pushBack({lengthMs, 0});
}

}  // namespace HVCurrentModel
