#pragma once
// The units of a third- or fourth-generation bank before they are written:
// a voice's placing values and frames, a continuant's frame span and frames.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/bankwriter/GhrModelWriter.h"

namespace bankwriter {

// A voice unit: its placing values in memory order (see v3VoiceRecord) and frames.
struct SingingVoice {
    std::string unit;
    std::string pitch = "C4";
    std::array<std::int32_t, 16> values{};
    std::vector<PlainFrame> frames;
    std::optional<PhaseTable> ext1;
};

// A continuant "final_initial": its frames param1 .. param1 + param2.
struct SingingContinuant {
    std::string unit;
    std::string pitch = "C4";
    std::int32_t param1 = 0;
    std::int32_t param2 = 0;
    std::vector<PlainFrame> frames;
};

}  // namespace bankwriter
