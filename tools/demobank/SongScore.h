#pragma once
// The notes a singer sings in a project file, as the third generation's
// score records (symbol, start and duration in seconds, the note's pitch
// name as its timbre), in time order.
#include <string>

#include "engine/SynthScoreV3.h"

namespace demobank {

// Throws std::runtime_error when the project cannot be read or the singer
// sings nothing in it.
HalvorenEngine::SynthScoreV3 songScore(const std::string& projectPath, const std::string& singer);

}  // namespace demobank
