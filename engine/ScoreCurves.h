#pragma once
// The seven curves of a score as piecewise-linear lookups, read by a cell
// loop at each frame's time.
#include <array>

#include "dsp/LinearEnvelope.h"
#include "engine/SynthScoreV3.h"

namespace HalvorenEngine {

using ScoreCurveLookups = std::array<Halvoren::LinearEnvelope, kScoreCurveCount>;

// Replaces every lookup by the score's points, cursors at the start.
void loadScoreCurves(const SynthScoreV3& score, ScoreCurveLookups& curves);

}  // namespace HalvorenEngine
