#include <gtest/gtest.h>

#include <cmath>

#include "engine/CurveValue.h"

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
