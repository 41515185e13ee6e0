#pragma once
// Frame synthesis set up as a bank at 44100 Hz would: a Power bump of 6 dB
// at 3000 Hz, 1000 Hz wide, and frame records over owned envelopes and peaks.
#include <memory>
#include <vector>

#include "dsp/SampleOutWriter.h"
#include "engine/v3/FrameSynth.h"

namespace v3test {

inline constexpr float kRate = 44100.0f;

inline std::unique_ptr<HalvorenEngineV3::FrameSynth> makeFrameSynth(int hop, float powerWidth = 1000.0f)
{
    return std::make_unique<HalvorenEngineV3::FrameSynth>(kRate, hop, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0, 6.0f,
                                                          3000.0f, powerWidth);
}

// An output laid out for `frames` frames of 512 samples at `hop`.
struct Output {
    Output(int hop, int frames) : writer(buffer, 512, hop) { writer.appendZeros(frames); }
    std::vector<short> samples() const
    {
        return std::vector<short>(writer.data(), writer.data() + writer.length());
    }
    HalvorenEngine::OutputBuffer buffer{4096};
    HalvorenEngine::SampleOutWriter writer;
};

// A frame's envelope and peaks, and a record pointing at them.
struct OwnedFrame {
    explicit OwnedFrame(int index, float envelopeDb = -50.0f, int envelopeBins = 257)
    {
        const std::vector<float> values(static_cast<std::size_t>(envelopeBins), envelopeDb);
        mags.putSamples(values.data(), static_cast<unsigned>(envelopeBins));
        record.mags = &mags;
        record.peaks = &peaks;
        record.index = index;
    }
    OwnedFrame(const OwnedFrame&) = delete;
    Halvoren::FrameMags mags;
    Halvoren::PeakList peaks;
    HalvorenEngine::SynthFrameV4 record;
};

// Four peaks at 200, 400, 600, 800 Hz and -6, 0, -9, -3 dB: loudest first
// they rank 400, 800, 200, 600 Hz.
inline constexpr float kRankedLevels[4] = {-6.0f, 0.0f, -9.0f, -3.0f};
inline void appendRankedPeaks(Halvoren::PeakList& peaks)
{
    for (int i = 0; i < 4; ++i)
        peaks.append(200.0f * static_cast<float>(i + 1), kRankedLevels[i], 0.0f);
}

}  // namespace v3test
