#include "render/export/OpeningFade.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void fadeInOpening(std::vector<int16_t>& stereo) {
    if (stereo.size() < 2 || (stereo[0] == 0 && stereo[1] == 0)) return;
    const size_t frames = std::min<size_t>(stereo.size() / 2, kOpeningFadeFrames);
    for (size_t i = 0; i < frames; ++i) {
        const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / kOpeningFadeFrames);
        for (size_t c = 2 * i; c < 2 * i + 2; ++c)
            stereo[c] = static_cast<int16_t>(std::lround(stereo[c] * gain));
    }
}
