#include <gtest/gtest.h>

#include "support/engine/FrameFixtures.h"
#include "support/engine/SinusoidFit.h"

namespace {

using v3test::OwnedFrame;
using v3test::Output;

// `frames` frames of one partial at `freq` and -12 dB, Amplitude 0 and a
// silent envelope. The level offset of 20 log10(0.5) and the drawing of one
// half of a real sinusoid's spectrum cancel: the output sits at -12 dBFS.
std::vector<short> renderPartial(float freq, int hop, int frames)
{
    auto synth = v3test::makeFrameSynth(hop);
    Output out(hop, frames);
    for (int k = 0; k < frames; ++k) {
        OwnedFrame f(k, -200.0f);
        f.peaks.append(freq, -12.0f, 0.0f);
        synth->renderFrame(f.record, out.writer);
    }
    out.writer.finish();
    return out.samples();
}

struct SoundCase {
    float freq;
    int hop;
    double levelTolerance;
    double minRemainderDb;
};

TEST(FrameSound, SteadyPartialKeepsItsFrequencyLevelAndPurity)
{
    const SoundCase cases[] = {
        {110.0f, 128, 0.5, 45.0},  {220.0f, 128, 0.5, 45.0},  {1000.0f, 128, 0.5, 45.0}, {3000.0f, 128, 0.5, 45.0},
        // At hop 256 a frame fills the whole window and its tails are divided
        // by small window values: the remainder is pinned lower.
        {110.0f, 256, 1.0, 25.0},  {220.0f, 256, 1.0, 25.0},  {1000.0f, 256, 1.0, 25.0}, {3000.0f, 256, 1.0, 25.0},
    };
    for (const SoundCase& c : cases) {
        const std::vector<short> out = renderPartial(c.freq, c.hop, 400);
        const enginetest::SinusoidMeasure m = enginetest::measureSinusoid(out, 40 * c.hop, 360 * c.hop, c.freq, 44100.0);
        const std::string where = std::to_string(c.freq) + " Hz at hop " + std::to_string(c.hop);
        EXPECT_NEAR(m.frequency, c.freq, 0.002 * c.freq) << where;
        EXPECT_NEAR(m.meanLevelDb, -12.0, c.levelTolerance) << where;
        EXPECT_LE(m.levelSpreadDb, 0.5) << where;
        EXPECT_LE(m.remainderDb, -c.minRemainderDb) << where;
        std::printf("%s: %.5f Hz, %.3f dB, spread %.3f dB, remainder %.1f dB\n", where.c_str(), m.frequency,
                    m.meanLevelDb, m.levelSpreadDb, m.remainderDb);
    }
}

TEST(FrameSound, HighPartialsStayInTuneOverALongPhrase)
{
    // 3500 frames at hop 128 are 10.2 s; measured over the last 300 frames.
    for (float freq : {3000.0f, 8000.0f}) {
        const std::vector<short> out = renderPartial(freq, 128, 3500);
        const enginetest::SinusoidMeasure m =
            enginetest::measureSinusoid(out, 3200 * 128, 3500 * 128, freq, 44100.0);
        EXPECT_NEAR(m.frequency, freq, 0.01) << freq;
        EXPECT_LE(m.remainderDb, -45.0) << freq;
        std::printf("%.0f Hz after 3200 frames: %.5f Hz, remainder %.1f dB\n", freq, m.frequency, m.remainderDb);
    }
}

}  // namespace
