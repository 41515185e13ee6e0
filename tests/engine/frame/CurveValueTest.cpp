#include <gtest/gtest.h>

#include <cmath>

#include "engine/CurveValue.h"
#include "engine/ScoreCurves.h"

using HalvorenEngine::curveValueAt;
using Halvoren::LinearEnvelope;

// The lookup itself is the shared linear lookup; here the curve keeps its cursor.
TEST(CurveValueAt, ReadsThroughTheCurvesOwnCursorAndDistrustsAStaleOne)
{
    LinearEnvelope empty;
    EXPECT_EQ(curveValueAt(empty, 5.0f), 0.0f);

    LinearEnvelope curve;
    curve.addPoint(0.0f, 10.0f);
    curve.addPoint(1.0f, 20.0f);
    curve.addPoint(3.0f, 0.0f);
    EXPECT_FLOAT_EQ(curveValueAt(curve, 2.5f), 5.0f);
    EXPECT_EQ(curve.cursor, 1);
    EXPECT_FLOAT_EQ(curveValueAt(curve, 0.5f), 15.0f);  // back below the cursor
    EXPECT_EQ(curve.cursor, 0);
    EXPECT_EQ(curveValueAt(curve, std::nanf("")), 10.0f);
    EXPECT_EQ(curveValueAt(curve, 100.0f), 0.0f);

    // A cursor left past the end by a shortened curve is not trusted.
    curve.cursor = 7;
    EXPECT_FLOAT_EQ(curveValueAt(curve, 0.5f), 15.0f);
}

TEST(ScoreCurves, ValuesAreHeldToTheirCurvesRange)
{
    using namespace HalvorenEngine;
    // Amplitude 64 would make 2^128, Breath 1e6 a gain of 10^(2e7 / 20):
    // infinities, then NaN frames.
    const float nan = std::nanf("");
    const float inf = INFINITY;
    const struct {
        ScoreCurve curve;
        float value, held;
    } cases[] = {
        {kScoreAmplitude, 64.0f, 1.0f}, {kScoreBreath, 1e6f, 1.0f},      {kScorePower, -inf, -1.0f},
        {kScoreGender, 0.25f, 0.25f},   {kScoreBrightness, nan, 0.0f},   {kScoreCross, -0.5f, 0.0f},
        {kScoreCross, 2.0f, 1.0f},      {kScorePitch, 25000.0f, 25000.0f}, {kScorePitch, -5.0f, 0.0f},
        {kScorePitch, inf, 3.40282347e38f}, {kScorePitch, nan, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clampCurveValue(c.curve, c.value), c.held) << c.curve << " " << c.value;

    SynthScoreV3 score;
    score.curves[kScoreAmplitude] = {{0.0f, 64.0f}, {1.0f, -0.5f}};
    ScoreCurveLookups lookups;
    loadScoreCurves(score, lookups);
    EXPECT_FLOAT_EQ(lookups[kScoreAmplitude].valueAt(0.5f), 0.25f);  // between 1 and -0.5
}
