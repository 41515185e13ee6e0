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

// The detector may take a run of two or three periods for one: an f0 near a
// whole fraction (a half, a third, ...) of the voice's pitch `voice` counts
// that many times over. fractionOfVoice is that count (1 for any other f0,
// or when voice is 0).
int fractionOfVoice(float f0, float voice);

// The median over frames first .. last of each voiced frame's f0 times its
// fractionOfVoice; 0 when none is voiced.
float voicePitch(const std::vector<float>& f0, std::int32_t first, std::int32_t last, float voice);

// The analysis window cannot resolve harmonics below 115 Hz, far under the
// speech's own pitch: a frame in first .. last (inclusive) read that low is
// a consonant's noise or a transition taken for a lower voice. It becomes
// unvoiced; returns the frames changed.
std::vector<std::int32_t> unvoiceUnresolvable(SpeechAnalysis& analysis, std::int32_t first, std::int32_t last);

}  // namespace demobank
