#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "SyllableSpeech.h"

namespace {

// The strongest autocorrelation period of the samples [from, from + length)
// between the periods of hi and lo Hz, as a frequency.
double strongestPeriodF0(const std::vector<std::int16_t>& x, std::size_t from, std::size_t length, int rate,
                         int lo = 50, int hi = 500)
{
    double best = -1.0;
    int bestLag = 0;
    for (int lag = rate / hi; lag <= rate / lo; ++lag) {
        double num = 0.0, a = 0.0, b = 0.0;
        for (std::size_t i = from; i + lag < from + length && i + lag < x.size(); ++i) {
            num += double(x[i]) * x[i + lag];
            a += double(x[i]) * x[i];
            b += double(x[i + lag]) * x[i + lag];
        }
        const double r = num / std::sqrt(a * b + 1e-9);
        if (r > best) {
            best = r;
            bestLag = lag;
        }
    }
    return double(rate) / bestLag;
}

TEST(SyllableSpeech, LevelToneVoiceAtItsRateWithPhonemeEvents)
{
    const demobank::Speech la = demobank::speakWord("la1");
    EXPECT_EQ(la.sampleRate, 22050);
    ASSERT_GT(la.samples.size(), 4000u);
    ASSERT_GE(la.events.size(), 2u);
    std::string names;
    for (const auto& e : la.events)
        names += e.name + "@" + std::to_string(e.sample) + " ";
    EXPECT_EQ(la.events.front().name, "l") << names;
    EXPECT_NE(names.find("_|"), std::string::npos) << names;
    // The vowel: from the second event, 2048 samples (93 ms); pitch 99 puts
    // the level tone at about 166 Hz (158 to 168 Hz in the vowel).
    const double f0 = strongestPeriodF0(la.samples, std::size_t(la.events[1].sample), 2048, la.sampleRate);
    EXPECT_GT(f0, 150.0) << names;
    EXPECT_LT(f0, 175.0) << names;
}

// A voice file of the Klatt voice with the pitch setting 349 speaks its level
// tone where levelToneHz puts it, 2.3 * 349 - 19 = 783.7 Hz (within 3 %);
// its folder goes with the object.
TEST(SyllableSpeech, AVoiceFileSpeaksAtItsPitch)
{
    std::string folder;
    {
        const demobank::VoiceFile voice(349, true);
        folder = std::filesystem::path(voice.path()).parent_path().string();
        const demobank::Speech la = demobank::speakWord("la1", voice.path());
        ASSERT_GE(la.events.size(), 2u);
        const double f0 = strongestPeriodF0(la.samples, std::size_t(la.events[1].sample), 2048, la.sampleRate, 500, 1000);
        EXPECT_NEAR(f0, demobank::levelToneHz(349), 0.03 * 783.7);
        EXPECT_NEAR(demobank::levelToneHz(80), 165.0, 0.01);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(SyllableSpeech, TwoRunsGiveTheSameSpeech)
{
    const demobank::Speech a = demobank::speakWord("tian1");
    const demobank::Speech b = demobank::speakWord("tian1");
    EXPECT_EQ(a.samples, b.samples);
    ASSERT_EQ(a.events.size(), b.events.size());
    for (std::size_t i = 0; i < a.events.size(); ++i) {
        EXPECT_EQ(a.events[i].name, b.events[i].name) << i;
        EXPECT_EQ(a.events[i].sample, b.events[i].sample) << i;
    }
}

}  // namespace
