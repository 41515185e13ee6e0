#include <gtest/gtest.h>

#include "voicebank/NoteName.h"

TEST(NoteName, ParsesLettersAccidentalsAndOctaves) {
    EXPECT_EQ(parseNoteName("C2"), 0);
    EXPECT_EQ(parseNoteName("A3"), 21);
    EXPECT_EQ(parseNoteName("Bb4"), 34);
    EXPECT_EQ(parseNoteName("C#4"), 25);
    EXPECT_EQ(parseNoteName("B9"), 95);
    EXPECT_EQ(parseNoteName("C1"), -12);
    EXPECT_EQ(NoteName("G3").semitone, 19);
}

TEST(NoteName, NamesWithoutAUsableOctaveGiveTheAccidentalLessAnOctave) {
    EXPECT_EQ(parseNoteName("A0"), -12);
    EXPECT_EQ(parseNoteName("Db0"), -13);
    EXPECT_EQ(parseNoteName("C"), -12);
    EXPECT_EQ(parseNoteName(""), -12);
    EXPECT_EQ(parseNoteName("C#"), -11);
    EXPECT_EQ(parseNoteName("Bb"), -13);
    EXPECT_EQ(parseNoteName("Ax4"), -12);
    EXPECT_EQ(parseNoteName("a3"), 12);  // lower-case letters count 0
}

TEST(NoteName, FormatsWithSharpsAndParsesBack) {
    EXPECT_EQ(formatNoteName(34), "A#4");
    EXPECT_EQ(formatNoteName(0), "C2");
    EXPECT_EQ(formatNoteName(-20), "C1");
    EXPECT_EQ(formatNoteName(95), "B9");
    EXPECT_EQ(formatNoteName(96), "");  // no one-digit octave
    for (int n = -12; n <= 95; ++n) EXPECT_EQ(parseNoteName(formatNoteName(n)), n) << n;
}

TEST(NoteName, FrequenciesAreEqualTemperedFromA3) {
    EXPECT_FLOAT_EQ(noteNameToFreq("A3"), 220.0f);
    EXPECT_FLOAT_EQ(noteNameToFreq("A4"), 440.0f);
    EXPECT_NEAR(noteNameToFreq("C4"), 261.6256f, 0.001f);
}
