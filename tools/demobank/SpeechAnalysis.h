#pragma once
// A spoken syllable at 44100 Hz analysed by the third engine generation's
// builder: harmonic peaks per frame of 128 samples and the residual.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dsp/HPR_model.h"

namespace demobank {

struct SpeechAnalysis {
    std::unique_ptr<Halvoren::HPR_model> model = std::make_unique<Halvoren::HPR_model>();
    std::vector<float> f0;  // per frame, 0 when unvoiced
    std::vector<bool> voiced() const;
};

// Throws std::runtime_error naming the syllable when the builder refuses the
// recording.
SpeechAnalysis analyseSpeech(const std::string& syllable, const std::vector<std::int16_t>& samples);

// The analysis window cannot resolve harmonics below 115 Hz, far under the
// speech's own pitch: a frame in first .. last (inclusive) read that low is
// a consonant's noise or a transition taken for a lower voice. It becomes
// unvoiced; returns the frames changed.
std::vector<std::int32_t> unvoiceUnresolvable(SpeechAnalysis& analysis, std::int32_t first, std::int32_t last);

}  // namespace demobank
