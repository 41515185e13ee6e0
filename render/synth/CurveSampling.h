#pragma once
// Sampling of a segment curve into timed points for the engines, with the
// value conversions of the curve kinds.
#include <vector>

#include "engine/SynthScoreV1.h"
#include "model/current/NodeContainer.h"
#include "model/current/TempoMap.h"

// 220 * 2^((5850 - v) / 1200) in float: 5850 (key 58) is 220 Hz.
float pitchToHz(int value);
// value / 128 - 1, clamped to -1..1.
float toSigned(int value);
// value / 256, clamped to 0..1.
float toUnit(int value);

// Kind 0 is pitch (pitchToHz), kinds 1 to 5 the signed curves (Amplitude,
// Power, Breath, Gender, Brightness), kind 6 Cross (toUnit).
float convertCurveValue(int kind, int value);

// Appends the nodes that cover [fromTick, toTick] (segment ticks): the last
// node before fromTick, every node after it up to and including the first at
// or after toTick. A curve whose first node is at or after fromTick starts
// there; one whose nodes all lie before fromTick gives its last node only.
// A point's time is tickToSec(pos + segPos) - segStart.
void sampleCurve(int kind, std::vector<HalvorenEngine::CurvePoint>& out, const HVCurrentModel::NodeContainer& curve,
                 int fromTick, int toTick, const HVCurrentModel::TempoMap& tempo, int segPos, float segStart);
