#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "SpeechAnalysis.h"
#include "SpeechTail.h"
#include "SyllableMarks.h"
#include "SyllableSpeech.h"
#include "Upsample.h"

namespace {

// The autocorrelation f0 of samples [from, to), its peak refined by a parabola.
double autocorrelationF0(const std::vector<std::int16_t>& x, std::size_t from, std::size_t to, int rate)
{
    auto r = [&](int lag) {
        double num = 0.0, a = 0.0, b = 0.0;
        for (std::size_t i = from; i + lag < to; ++i) {
            num += double(x[i]) * x[i + lag];
            a += double(x[i]) * x[i];
            b += double(x[i + lag]) * x[i + lag];
        }
        return num / std::sqrt(a * b + 1e-9);
    };
    int best = rate / 500;
    for (int lag = rate / 500; lag <= rate / 80; ++lag)
        if (r(lag) > r(best))
            best = lag;
    const double a = r(best - 1), b = r(best), c = r(best + 1);
    const double shift = 0.5 * (a - c) / (a - 2.0 * b + c);
    return rate / (best + shift);
}

std::vector<demobank::PhonemeEvent> doubled(std::vector<demobank::PhonemeEvent> events)
{
    for (auto& e : events)
        e.sample *= 2;
    return events;
}

struct Spoken {
    const char* syllable;
    bool hasInitial, nasalFinal, aspirated;
};

// Real speech: the analysed vowel's f0 agrees with the recording's own
// within 2 %, and an aspirated "t" has no peaks.
TEST(SpeechAnalysis, VowelPitchOfRealSpeechAndAnUnvoicedAspiration)
{
    for (const Spoken s : {Spoken{"la", true, false, false}, Spoken{"tian", true, true, true}}) {
        const demobank::Speech speech = demobank::speakWord(std::string(s.syllable) + "1");
        const std::vector<std::int16_t> up = demobank::upsampleTwice(speech.samples);
        const demobank::SpeechAnalysis analysis = demobank::analyseSpeech(s.syllable, up);
        const demobank::SyllableMarks m =
            demobank::syllableMarks(s.syllable, doubled(speech.events), s.hasInitial, s.nasalFinal, analysis.voiced());
        const double measured = autocorrelationF0(up, std::size_t(m.param3) * 128, std::size_t(m.param4) * 128, 44100);
        for (std::int32_t i = m.param3; i < m.param4; ++i)
            EXPECT_NEAR(analysis.f0[std::size_t(i)], measured, 0.02 * measured) << s.syllable << " frame " << i;
        EXPECT_GT(measured, 150.0) << s.syllable;  // pitch 99: about 166 Hz
        EXPECT_LT(measured, 180.0) << s.syllable;
        if (s.aspirated) {
            // The middle of "th" and two frames on either side.
            const std::int32_t mid = (m.beginPos + m.endPos) / 2;
            for (std::int32_t i = mid - 2; i <= mid + 2; ++i)
                EXPECT_EQ(analysis.f0[std::size_t(i)], 0.0f) << s.syllable << " frame " << i;
        }
    }
}

std::vector<std::int16_t> harmonicTone(double f0, std::size_t count)
{
    std::vector<std::int16_t> out(count);
    for (std::size_t i = 0; i < count; ++i) {
        double v = 0.0;
        for (int k = 1; k * f0 < 4000.0; ++k)
            v += std::sin(2.0 * std::numbers::pi * k * f0 * i / 44100.0) / k;
        out[i] = static_cast<std::int16_t>(std::lround(4000.0 * v));
    }
    return out;
}

// A stretch read below what the window resolves becomes unvoiced, frame by
// frame; one at the voice's pitch stays as it is.
TEST(SpeechAnalysis, StretchBelow115HzBecomesUnvoiced)
{
    demobank::SpeechAnalysis low = demobank::analyseSpeech("low", harmonicTone(100.0, 44100 / 2));
    ASSERT_GT(low.f0[80], 0.0f);
    const std::vector<std::int32_t> changed = demobank::unvoiceUnresolvable(low, 40, 120);
    ASSERT_EQ(changed.size(), 81u);  // 40 .. 120
    EXPECT_EQ(changed.front(), 40);
    for (std::int32_t i = 40; i <= 120; ++i)
        EXPECT_EQ(low.f0[std::size_t(i)], 0.0f) << i;
    EXPECT_GT(low.f0[121], 0.0f);
    demobank::SpeechAnalysis high = demobank::analyseSpeech("high", harmonicTone(166.0, 44100 / 2));
    EXPECT_TRUE(demobank::unvoiceUnresolvable(high, 40, 120).empty());
}

// An f0 within 8 % of the voice's pitch over 2, 3, ... counts that many
// times over; the voice's pitch of a record is the median of its frames so
// counted.
TEST(SpeechAnalysis, ARunOfPeriodsTakenForOneCountsAsTheVoicesPitch)
{
    struct Case {
        float f0, voice;
        int fraction;
    } cases[] = {
        {392.0f, 784.0f, 2}, {262.0f, 784.0f, 3}, {365.0f, 784.0f, 2},  // 730 is 6.9 % under 784
        {784.0f, 784.0f, 1}, {600.0f, 784.0f, 1}, {330.0f, 784.0f, 1},  // 660 and 990 both over 8 % away
        {392.0f, 0.0f, 1},   {0.0f, 784.0f, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(demobank::fractionOfVoice(c.f0, c.voice), c.fraction) << c.f0 << " against " << c.voice;
    // Three of five voiced frames read an octave low: the median of
    // 784, 786, 788, 790, 792 is 788.
    const std::vector<float> f0 = {0.0f, 392.0f, 393.0f, 788.0f, 790.0f, 396.0f, 0.0f};
    EXPECT_FLOAT_EQ(demobank::voicePitch(f0, 0, 6, 784.0f), 788.0f);
    EXPECT_FLOAT_EQ(demobank::voicePitch(f0, 0, 6, 0.0f), 396.0f);  // 392, 393, 396, 788, 790
    EXPECT_FLOAT_EQ(demobank::voicePitch(f0, 0, 0, 784.0f), 0.0f);
}

// A tone that stops dead: the tail is the shortest one, 12 frames, and
// falls as a raised cosine over 13 steps: frame 6 at 0.5 (1 + cos(6 pi / 13))
// = 0.5603 (-5.03 dB), frame 12 at 0.5 (1 + cos(12 pi / 13)) = 0.0145
// (-36.8 dB); every level of the frame falls alike.
TEST(SpeechTail, ASpeechThatStopsDeadFadesOverTheShortestTail)
{
    std::vector<std::int16_t> tone = harmonicTone(166.0, 128 * 100);
    tone.resize(128 * 150, 0);
    // Frame 97's window (samples 12288 .. 12543) lies inside the tone.
    EXPECT_EQ(demobank::tailLength(tone, 97), 12);
    bankwriter::PlainFrame last;
    last.harmonicsDb = {-10.0f, -20.0f};
    last.bands.assign(64, -30.0f);
    const std::vector<bankwriter::PlainFrame> tail = demobank::tailFrames(tone, 97, 12, last);
    ASSERT_EQ(tail.size(), 12u);
    EXPECT_NEAR(tail[5].harmonicsDb[0], -10.0f - 5.03f, 0.01f);
    EXPECT_NEAR(tail[5].harmonicsDb[1], -20.0f - 5.03f, 0.01f);
    EXPECT_NEAR(tail[5].bands[0], -30.0f - 5.03f, 0.01f);
    EXPECT_NEAR(tail[11].harmonicsDb[0], -10.0f - 36.8f, 0.05f);
    for (std::size_t k = 1; k < tail.size(); ++k)
        EXPECT_LE(tail[k].harmonicsDb[0], tail[k - 1].harmonicsDb[0]) << k;
}

}  // namespace
