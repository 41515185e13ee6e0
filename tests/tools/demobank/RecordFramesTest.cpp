#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "LevelCalibration.h"
#include "RecordFrames.h"
#include "SpeechAnalysis.h"
#include "SungLevel.h"
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
std::vector<short> sing(const std::vector<bankwriter::PlainFrame>& frames, int first, int last)
{
    HalvorenEngineV3::FrameSynth synth(44100.0f, kHop, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0, 3.0f, 3000.0f, 1000.0f);
    HalvorenEngine::OutputBuffer buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, 512, kHop);
    writer.appendZeros(last + 2);
    for (int i = first; i < last; ++i) {
        const bankwriter::PlainFrame& f = frames[std::size_t(i)];
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
    std::vector<bankwriter::PlainFrame> frames;
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
    h.frames = maker.frames(h.samples, h.analysis, 0, std::int32_t(h.analysis.f0.size()) - 1);
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

// Real speech, "la" and "tian" over their bodies: every harmonic peak the
// analysis finds lies within one bin (44100 / 4096 = 10.8 Hz) of k f0, and
// the harmonic part (the recording minus the residual) is at least 15 dB
// above the residual. The aspirated "t" of "tian" is stored without peaks.
TEST(RecordFrames, RealSpeechHarmonicsStandOnTheirPitch)
{
    struct Spoken {
        const char* syllable;
        bool nasal;
    };
    for (const Spoken s : {Spoken{"la", false}, Spoken{"tian", true}}) {
        const Heard h = hear(s.syllable, s.nasal);
        const Halvoren::PeakTracks& peaks = h.analysis.model->peaks;
        double harmonic = 0.0, residual = 0.0;
        for (std::int32_t i = h.marks.param3; i < h.marks.param4; ++i) {
            const bankwriter::PlainFrame& f = h.frames[std::size_t(i)];
            ASSERT_FALSE(f.harmonicsDb.empty()) << s.syllable << " frame " << i;
            const Halvoren::PeakList& list = peaks.frame(std::size_t(i));
            // The strong harmonics: between weak ones a maximum of the noise can be nearer.
            const float loudest = list.maxMagDb();
            for (std::size_t k = 0; k < list.size(); ++k)
                if (list.mags[k] > loudest - 20.0f) {
                    EXPECT_NEAR(list.freqs[k], f.f0Step * float(k + 1), 10.8f)
                        << s.syllable << " frame " << i << " harmonic " << k + 1;
                }
            for (int n = 0; n < kHop; ++n) {
                const std::size_t at = std::size_t(i) * kHop + std::size_t(n);
                const double r = h.analysis.model->residual.ptrBegin()[at];
                harmonic += (h.samples[at] - r) * (h.samples[at] - r);
                residual += r * r;
            }
        }
        EXPECT_GE(10.0 * std::log10(harmonic / residual), 15.0) << s.syllable;
        if (std::string(s.syllable) == "tian") {
            // The middle of "th" and two frames on either side.
            const std::int32_t mid = (h.marks.beginPos + h.marks.endPos) / 2;
            for (std::int32_t i = mid - 2; i <= mid + 2; ++i) {
                EXPECT_TRUE(h.frames[std::size_t(i)].harmonicsDb.empty()) << "frame " << i;
                EXPECT_TRUE(h.frames[std::size_t(i)].bands.empty()) << "frame " << i;
            }
        }
    }
}

// 0.3 s of silence, 1 s of a 190 Hz tone with five harmonics of amplitude
// 0.1 of full scale, 0.3 s of silence.
std::vector<std::int16_t> fiveHarmonics()
{
    std::vector<std::int16_t> out(std::size_t(1.6 * 44100), 0);
    for (std::size_t i = 0; i < 44100; ++i) {
        double v = 0.0;
        for (int k = 1; k <= 5; ++k)
            v += 0.1 * std::sin(2.0 * std::numbers::pi * 190.0 * k * double(i) / 44100.0);
        out[std::size_t(0.3 * 44100) + i] = static_cast<std::int16_t>(std::lround(32767.0 * v));
    }
    return out;
}

TEST(RecordFrames, HarmonicToneInTheAnalysisConventionPlusCalibration)
{
    const std::vector<std::int16_t> tone = fiveHarmonics();
    const demobank::SpeechAnalysis analysis = demobank::analyseSpeech("tone", tone);
    const std::vector<bankwriter::PlainFrame> plain = demobank::RecordFrameMaker({0.0f, 0.0f}).frames(tone, analysis, 0, std::int32_t(analysis.f0.size()) - 1);
    const std::vector<bankwriter::PlainFrame> shifted = demobank::RecordFrameMaker({3.0f, -2.0f}).frames(tone, analysis, 0, std::int32_t(analysis.f0.size()) - 1);
    ASSERT_EQ(plain.size(), analysis.f0.size());

    // The middle of the tone, frame 0.8 s * 44100 / 128 = 275.
    const bankwriter::PlainFrame& f = plain[275];
    EXPECT_NEAR(f.f0Step, 190.0f, 0.2f);
    // Harmonics 1 .. 52 lie below 10 kHz (52 * 190 = 9880, 53 * 190 = 10070).
    ASSERT_EQ(f.harmonicsDb.size(), 52u);
    for (std::size_t k = 0; k < 5; ++k)  // amplitude 0.1 reads 20 log10(0.1 / 2) = -26.02 dB
        EXPECT_NEAR(f.harmonicsDb[k], -26.02f, 0.2f) << "harmonic " << k + 1;
    for (std::size_t k = 5; k < 52; ++k)  // no energy there: the spectrum's own floor
        EXPECT_LT(f.harmonicsDb[k], -80.0f) << "harmonic " << k + 1;
    ASSERT_EQ(f.bands.size(), 64u);

    // Told the voice lies at 380 Hz, the maker takes the detector's 190 Hz
    // for two periods read as one: every second harmonic at 380 Hz steps,
    // 26 of them below 10 kHz (26 * 380 = 9880).
    const bankwriter::PlainFrame octave =
        demobank::RecordFrameMaker({0.0f, 0.0f}).frames(tone, analysis, 275, 275, 380.0f).at(0);
    EXPECT_NEAR(octave.f0Step, 380.0f, 0.4f);
    ASSERT_EQ(octave.harmonicsDb.size(), 26u);
    EXPECT_NEAR(octave.harmonicsDb[0], -26.02f, 0.2f);  // the tone's 2nd and 4th
    EXPECT_NEAR(octave.harmonicsDb[1], -26.02f, 0.2f);
    EXPECT_LT(octave.harmonicsDb[2], -80.0f);  // its 6th

    // Frame 10 lies 0.03 s into the leading silence: nothing voiced, a
    // residual of zeros at the floor.
    const bankwriter::PlainFrame& quiet = plain[10];
    EXPECT_TRUE(quiet.harmonicsDb.empty());
    EXPECT_TRUE(quiet.bands.empty());
    EXPECT_EQ(quiet.magsA, std::vector<float>(257, -120.0f));
    EXPECT_EQ(quiet.magsB, std::vector<float>(257, -120.0f));

    // Harmonics and bands carry the harmonic constant, magsA and magsB the noise one.
    for (std::size_t i : {std::size_t(10), std::size_t(275)}) {
        const bankwriter::PlainFrame& a = plain[i];
        const bankwriter::PlainFrame& b = shifted[i];
        ASSERT_EQ(a.harmonicsDb.size(), b.harmonicsDb.size());
        for (std::size_t k = 0; k < a.harmonicsDb.size(); ++k)
            EXPECT_FLOAT_EQ(b.harmonicsDb[k] - a.harmonicsDb[k], 3.0f) << "frame " << i;
        for (std::size_t k = 0; k < a.bands.size(); ++k)
            EXPECT_FLOAT_EQ(b.bands[k] - a.bands[k], 3.0f) << "frame " << i;
        for (std::size_t k = 0; k < 257; ++k) {
            EXPECT_FLOAT_EQ(b.magsA[k] - a.magsA[k], -2.0f) << "frame " << i;
            EXPECT_FLOAT_EQ(b.magsB[k] - a.magsB[k], -2.0f) << "frame " << i;
        }
    }
}

}  // namespace

namespace {

// A frame of harmonics 165 Hz apart: the first two at 0 dB, the rest at
// `upperDb`; flat bands at `bandsDb`.
bankwriter::PlainFrame nasalFrame(float upperDb, float bandsDb)
{
    bankwriter::PlainFrame f;
    f.f0Step = 165.0f;
    f.harmonicsDb.assign(60, upperDb);
    f.harmonicsDb[0] = f.harmonicsDb[1] = 0.0f;
    f.bands.assign(64, bandsDb);
    return f;
}

}  // namespace

// Held up for B4 (494 Hz), a frame 40 dB under the vowel there comes back
// 12 dB under it, from the harmonics B4 reads (its third, at 495 Hz, and the
// one below it, through which the envelope reaches 494 Hz) up; its first
// harmonic stays as recorded, so sung low it is no louder than recorded.
// One already within 12 dB, and an unvoiced one, stay. Bands are floored
// 12 dB under the vowel's, band by band.
TEST(SungLevel, HoldsRaiseOnlyWhatTheHeldNoteReads)
{
    const double b4 = 493.88;
    const bankwriter::PlainFrame vowel = nasalFrame(0.0f, 0.0f);
    struct Case {
        float upperDb;
        bool voiced;
        float bandsDb;
        double heldDb;  // the frame's level at B4 after the hold, against the vowel's
        float bandAfterDb;
    } cases[] = {{-40.0f, true, -30.0f, -12.0, -12.0f}, {-6.0f, true, -5.0f, -6.0, -5.0f},
                 {-40.0f, false, -30.0f, 0.0, -12.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upperDb);
        std::vector<bankwriter::PlainFrame> frames = {vowel, nasalFrame(c.upperDb, c.bandsDb)};
        if (!c.voiced)
            frames[1].harmonicsDb.clear();
        const double vowelDb = demobank::sungLevelDb(frames, 0, 1, b4);
        demobank::holdUp(frames, 1, 2, b4, vowelDb, 12.0);
        demobank::floorBands(frames, 1, 2, vowel.bands, 12.0f);
        if (c.voiced) {
            EXPECT_NEAR(demobank::sungLevelDb(frames, 1, 2, b4) - vowelDb, c.heldDb, 0.01);
            EXPECT_EQ(frames[1].harmonicsDb[0], 0.0f);
        }
        EXPECT_EQ(frames[1].bands[10], c.bandAfterDb);
    }
}
