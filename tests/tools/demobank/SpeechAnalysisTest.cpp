#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "SpeechAnalysis.h"
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
        EXPECT_NO_THROW(demobank::requireResolvablePitch(s.syllable, analysis, m.endPos, m.param4 + m.param5));
        if (s.aspirated) {
            // The middle of "th" (events at frames 24 and 43 at 44100 Hz).
            const std::int32_t mid = (m.beginPos + m.endPos) / 2;
            for (std::int32_t i = mid - 3; i <= mid + 3; ++i)
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

// A vowel below what the window resolves stops the build with its name; one
// at the voice's pitch passes.
TEST(SpeechAnalysis, VowelBelow115HzStopsNamingTheSyllable)
{
    const demobank::SpeechAnalysis low = demobank::analyseSpeech("low", harmonicTone(100.0, 44100 / 2));
    try {
        demobank::requireResolvablePitch("low", low, 40, 120);
        ADD_FAILURE() << "a 100 Hz vowel was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"low\""), std::string::npos) << e.what();
    }
    const demobank::SpeechAnalysis high = demobank::analyseSpeech("high", harmonicTone(166.0, 44100 / 2));
    EXPECT_NO_THROW(demobank::requireResolvablePitch("high", high, 40, 120));
}

}  // namespace
