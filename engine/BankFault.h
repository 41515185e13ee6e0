#pragma once
// The line that says why a store cannot read its bank whole or sing it: the
// index file and what the index reader found wrong with it, or, for an
// index read whole, what the store refuses in it; failing both, the first
// record of a content file that could not be read.
#include <cstdint>
#include <ostream>
#include <string>

namespace HalvorenEngine {

// A store's fault fixed when it is built: "<basePath>HVI: <what is wrong>",
// "" when the index was read whole and the store refuses nothing (refusal
// ""). A refusal is written to log as "fail to read package index file
// <basePath>HVI: <refusal>", once a run, unless the index reader has already
// said what is wrong with the index.
std::string refuseBank(std::ostream& log, const std::string& basePath, const std::string& indexFault,
                       const std::string& refusal);

// The store's fault now: the fixed one, else the content fault its loads
// have met so far ("" for none).
inline std::string bankFaultNow(const std::string& fixedFault, const std::string& contentFault)
{
    return fixedFault.empty() ? contentFault : fixedFault;
}

// What a store says of a hop and rate it cannot sing at.
inline std::string hopAndRateRefusal(std::int32_t hop, float rate, std::int32_t maxHop)
{
    return "hop " + std::to_string(hop) + " at " + std::to_string(rate) + " Hz: the engine sings a hop of 1.." +
           std::to_string(maxHop) + " at a finite positive rate";
}

}  // namespace HalvorenEngine
