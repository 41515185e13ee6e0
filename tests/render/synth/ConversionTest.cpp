#include <gtest/gtest.h>

#include <cmath>

#include "render/synth/CurveSampling.h"
#include "render/synth/PitchNames.h"

namespace {

TEST(CurveValues, PitchInHzAndScaledCurves)
{
    EXPECT_EQ(pitchToHz(5850), 220.0f);  // key 58, A3
    EXPECT_EQ(pitchToHz(4650), 440.0f);  // twelve keys higher
    // 220 * 2^(0.5 / 12) = 226.446491; an integer (5850 - v) / 100 would give 220.
    const float expected = 226.44649f;
    const float got = pitchToHz(5800);
    EXPECT_GE(got, std::nextafter(expected, 0.0f));
    EXPECT_LE(got, std::nextafter(expected, 1000.0f));

    struct Case {
        int value;
        float signedValue, unitValue;
    };
    const Case cases[] = {
        {128, 0.0f, 0.5f}, {64, -0.5f, 0.25f}, {0, -1.0f, 0.0f}, {300, 1.0f, 1.0f}, {-40, -1.0f, 0.0f}, {256, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toSigned(c.value), c.signedValue) << c.value;
        EXPECT_EQ(toUnit(c.value), c.unitValue) << c.value;
    }
}

TEST(PitchNames, KeysAndNamesBothWays)
{
    struct Case {
        int key;
        const char* name;
    };
    // 91 - key semitones above C1: 58 is 33 = A of octave 33/12 + 1 = 3.
    const Case toName[] = {{92, "C1"}, {91, "C1"}, {90, "C#1"}, {58, "A3"}, {52, "D#4"}, {-16, "B9"}};
    for (const Case& c : toName)
        EXPECT_EQ(keyIndexToPitchName(c.key), c.name) << c.key;

    // 79 - (semitone + 12 * (octave - 2)), '#' one lower, 'b' one higher;
    // without an octave digit 91 moved by the accidental.
    const Case toKey[] = {{58, "A3"}, {45, "Bb4"}, {91, ""}, {91, "C"}, {90, "C#"}, {92, "Db"}, {91, "x"}, {67, "C3"}};
    for (const Case& c : toKey)
        EXPECT_EQ(pitchNameToKeyIndex(c.name), c.key) << c.name;

    for (int key = 91; key >= -16; --key)
        EXPECT_EQ(pitchNameToKeyIndex(keyIndexToPitchName(key)), key) << key;
    EXPECT_EQ(keyIndexToPitchName(-2147483647 - 1), "");
    EXPECT_EQ(keyIndexToPitchName(2147483647), "C1");
}

}  // namespace
