#pragma once
// A first- or second-generation voice bank that sings: the units "ma", "a"
// and "la" and the continuant "a_m", all recorded at A3, each frame the
// harmonics of 220 Hz under the two-formant vowel envelope of the
// third-generation singing bank, over a residual of seeded noise 50 dB
// below full scale. Voices have the marks 0/5/10/40/15 (beginPos, endPos,
// param3, param4, param5), param7 1, param8 20, param9 10, param10 2.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/bank/SingingBank.h"
#include "tools/bankwriter/HprBankWriter.h"

namespace testbank {

struct HprSingingOptions {
    int generation = 1;
    std::int32_t hop = 256;
    float sampleRate = 44100.0f;
    int voiceFrames = 60;       // marks up to 55
    int continuantFrames = 12;  // param2 10
    int unvoicedHead = 0;       // frames at a voice's start without harmonics
    int noiseGain = 1;          // the residual noise this many times up
    // Every harmonic at this level instead of the vowel's envelope (FLT_MAX:
    // values the synthesis cannot use).
    std::optional<float> everyLevelDb;
};

// n samples of uniform noise of peak amplitude 32767 * 10^(-50/20) (about
// 104), from seed.
inline std::vector<std::int16_t> seededNoise(int n, std::uint32_t seed)
{
    std::vector<std::int16_t> out(static_cast<std::size_t>(n));
    std::uint32_t x = seed;
    for (auto& s : out) {
        x = x * 1664525u + 1013904223u;
        s = static_cast<std::int16_t>(static_cast<int>(x >> 24) * 104 / 128 - 104);
    }
    return out;
}

inline std::string hprSingingMaterial(const HprSingingOptions& o, int frames, std::uint32_t seed)
{
    const VoiceTone tone;
    std::vector<std::int16_t> residual = seededNoise((frames + 1) * o.hop, seed);
    for (auto& s : residual)
        s = static_cast<std::int16_t>(s * o.noiseGain);
    const std::size_t head = std::size_t(std::clamp(o.unvoicedHead, 0, frames));
    if (o.generation == 2) {
        std::vector<float> mags;
        for (float f = tone.f0; f < 10000.0f; f += tone.f0)
            mags.push_back(o.everyLevelDb.value_or(toneEnvelopeDb(tone, f)));
        std::vector<std::vector<float>> all(std::size_t(frames), mags);
        std::fill_n(all.begin(), head, std::vector<float>{});
        return harmonicMaterial(tone.f0, all, residual);
    }
    PeakListFrame frame;
    for (float f = tone.f0; f < 10000.0f; f += tone.f0) {
        frame.freqs.push_back(f);
        frame.mags.push_back(o.everyLevelDb.value_or(toneEnvelopeDb(tone, f)));
        frame.phases.push_back(0.0f);
    }
    std::vector<PeakListFrame> all(std::size_t(frames), frame);
    std::fill_n(all.begin(), head, PeakListFrame{});
    return peakListMaterial(all, residual);
}

inline std::string hprSingingVoice(const HprSingingOptions& o, std::uint32_t seed)
{
    const std::string material = hprSingingMaterial(o, o.voiceFrames, seed);
    const std::array<std::int32_t, 12> v12 = {0, 5, 10, 40, 15, floatBits(1.0f), 20, 10, floatBits(2.0f), o.hop,
                                              floatBits(0.0f), floatBits(0.0f)};
    if (o.generation == 1)
        return hprVoiceRecord<12>(v12, material);
    std::array<std::int32_t, 15> v15{};
    std::copy(v12.begin(), v12.end(), v15.begin());
    v15[12] = v15[13] = v15[14] = floatBits(0.5f);
    return hprVoiceRecord<15>(v15, material);
}

inline PackageFiles writeHprSingingBank(const HprSingingOptions& o)
{
    HprBankDescription bank;
    bank.generation = o.generation;
    bank.header.hopSize = o.hop;
    bank.header.sampleRate = o.sampleRate;
    // The second generation's tilt is the first's fixed one.
    bank.header.param3 = -26.3583f;
    bank.header.param4 = -0.000190626f;
    bank.header.param5 = 69.9409f;
    bank.variants = {{"ma", "A3", 0, hprSingingVoice(o, 1)},
                     {"a", "A3", 0, hprSingingVoice(o, 2)},
                     {"la", "A3", 0, hprSingingVoice(o, 3)},
                     {"a_m", "A3", 0,
                      hprContinuantRecord(0, 10, o.hop, hprSingingMaterial(o, o.continuantFrames, 4))}};
    return writeHprPackage(bank);
}

}  // namespace testbank
