#include <gtest/gtest.h>

#include "voicebank/NoteName.h"

// Names without a usable octave digit (none, "0", another character) give
// the accidental less an octave; letters other than C..B count 0.
TEST(NoteName, ParsesNamesDegenerateOnesIncluded) {
    const std::pair<const char*, int> cases[] = {
        {"C2", 0},    {"A3", 21},  {"Bb4", 34}, {"C#4", 25}, {"B9", 95},  {"C1", -12}, {"A0", -12},
        {"Db0", -13}, {"C", -12},  {"", -12},   {"C#", -11}, {"Bb", -13}, {"Ax4", -12}, {"a3", 12}};
    for (const auto& [name, semitone] : cases) EXPECT_EQ(parseNoteName(name), semitone) << name;
}

TEST(NoteName, FormatsWithSharpsAndGivesEqualTemperedFrequencies) {
    EXPECT_EQ(formatNoteName(34), "A#4");
    EXPECT_EQ(formatNoteName(-20), "C1");
    EXPECT_EQ(formatNoteName(96), "");  // no one-digit octave
    for (int n = -12; n <= 95; ++n) EXPECT_EQ(parseNoteName(formatNoteName(n)), n) << n;
    EXPECT_FLOAT_EQ(noteNameToFreq("A3"), 220.0f);
    EXPECT_FLOAT_EQ(noteNameToFreq("A4"), 440.0f);
    EXPECT_NEAR(noteNameToFreq("C4"), 261.6256f, 0.001f);
}
