#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "LevelCalibration.h"
#include "RecordFrames.h"
#include "SpeechAnalysis.h"
#include "SyllableMarks.h"
#include "SyllableSpeech.h"
#include "Upsample.h"
#include "engine/v3/FrameSynth.h"

namespace {

constexpr int kHop = 128;

double rmsDb(const short* x, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(x[i]) * x[i];
    return 10.0 * std::log10(sum / double(to - from) + 1e-30);
}

// Frames first .. last - 1 sung at their own pitch with Amplitude 0.5; the
// output holds the samples of the same frames.
std::vector<short> sing(const std::vector<testbank::PlainFrame>& frames, int first, int last)
{
    HalvorenEngineV3::FrameSynth synth(44100.0f, kHop, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0, 3.0f, 3000.0f, 1000.0f);
    HalvorenEngine::OutputBuffer buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, 512, kHop);
    writer.appendZeros(last + 2);
    for (int i = first; i < last; ++i) {
        const testbank::PlainFrame& f = frames[std::size_t(i)];
        Halvoren::FrameMags mags;
        mags.putSamples(f.magsA.data(), static_cast<unsigned>(f.magsA.size()));
        Halvoren::PeakList peaks;
        for (std::size_t k = 0; k < f.harmonicsDb.size(); ++k)
            peaks.append(f.f0Step * float(k + 1), f.harmonicsDb[k], 0.0f);
        HalvorenEngine::SynthFrameV4 record;
        record.mags = &mags;
        record.peaks = &peaks;
        record.unvoiced = f.harmonicsDb.empty() ? 1 : 0;
        record.levelControl = 0.5f;
        // The writer's frame k is centred on sample k * hop + hop.
        record.index = i - 1;
        synth.renderFrame(record, writer);
    }
    writer.finish();
    return std::vector<short>(writer.data(), writer.data() + writer.length());
}

struct Heard {
    std::vector<std::int16_t> samples;
    demobank::SpeechAnalysis analysis;
    demobank::SyllableMarks marks;
    std::vector<testbank::PlainFrame> frames;
};

Heard hear(const std::string& syllable, bool nasal)
{
    Heard h;
    demobank::Speech speech = demobank::speakWord(syllable + "1");
    for (auto& e : speech.events)
        e.sample *= 2;
    h.samples = demobank::upsampleTwice(speech.samples);
    h.analysis = demobank::analyseSpeech(syllable, h.samples);
    h.marks = demobank::syllableMarks(syllable, speech.events, true, nasal, h.analysis.voiced());
    demobank::RecordFrameMaker maker(demobank::measureLevelCalibration());
    h.frames = maker.frames(h.samples, h.analysis);
    return h;
}

// "la" sung from its own frames at Amplitude 0.5 comes back within 3 dB of
// the recording over the body.
TEST(RecordFrames, CalibratedBodyComesBackAtTheRecordingsLevel)
{
    const Heard h = hear("la", false);
    const int first = h.marks.param3, last = h.marks.param4;
    const std::vector<short> sung = sing(h.frames, first - 4, last + 4);
    const std::size_t from = std::size_t(first) * kHop, to = std::size_t(last) * kHop;
    EXPECT_NEAR(rmsDb(sung.data(), from, to), rmsDb(h.samples.data(), from, to), 3.0);
}

}  // namespace
