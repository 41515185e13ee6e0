#include "model/current/Vibrato.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/current/ParabolicSin.h"
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

}  // namespace

VibratoCycle::VibratoCycle() : table(kTableSize, 0.0f)
{
    for (int i = 0; i < kTableSize; ++i) {
        const float theta = static_cast<float>(i * 0.0009765625 * -2.0 * 3.1415927410125732);
        table[i] = parabolicSin(theta);
    }
}

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
    const int64_t length = lengthMs;
    const int64_t start = (100 - int64_t{percent}) * length / 100;
    if (percent != 100) vibCurve.nodes.pushBack({0, 0});

    vibAmp.resetCursor();
    vibFreq.resetCursor();
    int32_t phase = 0;
    const float span = static_cast<float>(length - start);
    const size_t tableSize = cycle.table.size();

    for (int64_t x = start; x < length + 10; x += 10) {
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
            vibCurve.nodes.pushBack({static_cast<int32_t>(x), truncToInt(wave * amp)});
            phase = truncToInt(10.0 / period * 1024.0 + idx);
        } else {
            vibCurve.nodes.pushBack({static_cast<int32_t>(x), 0});
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
