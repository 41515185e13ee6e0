#include "render/synth/CurveSampling.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "render/synth/TickMath.h"

float pitchToHz(int value)
{
    const float steps = static_cast<float>(5850 - static_cast<double>(value)) / 100.0f;
    return 220.0f * std::exp(steps * 0.6931472f / 12.0f);
}

float toSigned(int value)
{
    const float v = static_cast<float>(value) * 0.00390625f * 2.0f - 1.0f;
    return std::clamp(v, -1.0f, 1.0f);
}

float toUnit(int value) { return std::clamp(static_cast<float>(value) / 256.0f, 0.0f, 1.0f); }

float convertCurveValue(int kind, int value)
{
    if (kind == 0)
        return pitchToHz(value);
    if (kind == 6)
        return toUnit(value);
    return toSigned(value);
}

void sampleCurve(int kind, std::vector<HalvorenEngine::CurvePoint>& out, const HVCurrentModel::NodeContainer& curve,
                 int fromTick, int toTick, const HVCurrentModel::TempoMap& tempo, int segPos, float segStart)
{
    auto emit = [&](const HVCurrentModel::CurveNode& node) {
        out.push_back({tempo.tickToSec(addTicks(node.pos, segPos)) - segStart, convertCurveValue(kind, node.value)});
    };
    if (curve.empty())
        return;
    auto it = curve.begin();
    // A curve that begins inside the range starts at its first node.
    bool started = it->pos >= fromTick;
    while (!started) {
        const auto next = std::next(it);
        if (next == curve.end()) {
            emit(*it);  // every node lies before the range
            return;
        }
        started = next->pos >= fromTick && it->pos < fromTick;
        if (!started)
            it = next;
    }
    for (; it != curve.end(); ++it) {
        emit(*it);
        if (it->pos >= toTick)
            return;
    }
}
