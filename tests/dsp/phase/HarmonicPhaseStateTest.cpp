#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "dsp/HarmonicPhaseState.h"
#include "dsp/WrapPhase.h"
#include "platform/Rand.h"

using namespace Halvoren;

namespace {
constexpr float kPiF = std::numbers::pi_v<float>;

PeakList frameOf(std::vector<float> freqs)
{
    PeakList p;
    for (float f : freqs)
        p.append(f, -10.0f, 0.0f);
    return p;
}
}  // namespace

TEST(HarmonicPhaseStateTest, InitialPhasesFollowTheSlopeModel)
{
    HarmonicPhaseState st(44100, 16000, 20);
    PeakList out;
    st.makeInitialPhases(frameOf({200, 400, 600}), out);
    for (float ph : out.phases)
        EXPECT_FLOAT_EQ(ph, 200 * 0.16534698f - 2.0f);
    st.makeInitialPhases(frameOf({440}), out);
    EXPECT_EQ(out.phases, (std::vector<float>{-2.0f}));

    // Above 8 kHz a ripple of 35 partials starts at 0 on the first such partial.
    std::vector<float> f;
    for (int k = 1; k <= 60; ++k)
        f.push_back(200.0f * k);
    st.makeInitialPhases(frameOf(f), out);
    const float base = 200 * 0.16534698f - 2.0f;
    EXPECT_FLOAT_EQ(out.phases[39], base);  // 8000 Hz: not above
    EXPECT_FLOAT_EQ(out.phases[40], base);  // 8200 Hz: ripple phase 0
    EXPECT_NEAR(out.phases[40 + 35 / 4], base + kPiF * std::sin(2 * kPiF * 8 / 35), 5e-3f);
}

TEST(HarmonicPhaseStateTest, V1KeepsASteadySineContinuous)
{
    const float rate = 44100, hop = 128 / rate, f = 440;
    HarmonicPhaseState st(rate, 16000, 20);
    const float start = st.continuePhasesV1(frameOf({f}), hop).phases[0];
    for (int frame = 1; frame < 50; ++frame) {
        const float ph = st.continuePhasesV1(frameOf({f}), hop).phases[0];
        // The sine's own phase advance over frame hops.
        const float expected = start + 2 * kPiF * f * hop * frame;
        ASSERT_NEAR(wrapPhase(ph - expected), 0.0f, 1e-3f) << frame;
    }
}

TEST(HarmonicPhaseStateTest, V1PairsByIndexThenByNearestAndDropsZeroHz)
{
    HarmonicPhaseState st(44100, 16000, 20);
    PeakList first = frameOf({100, 200, 300, 400, 500});
    st.continuePhasesV1(first, 0.01f);
    const PeakList prev = st.previousFrame();
    std::vector<float> f{110, 210, 310, 410, 510, 0, 220, 90, 600, 1000};
    const PeakList& out = st.continuePhasesV1(frameOf(f), 0.01f);
    ASSERT_EQ(out.size(), 9u);
    // (output index, frequency, previous partial): by index, then the nearest (220 Hz: 200 Hz).
    const struct { int index; float freq; int j; } pairs[] = {
        {0, 110, 0}, {4, 510, 4}, {5, 220, 1}, {6, 90, 0}, {8, 1000, 4}};
    for (const auto& p : pairs) {
        EXPECT_FLOAT_EQ(out.freqs[p.index], p.freq);
        EXPECT_FLOAT_EQ(out.phases[p.index], (p.freq + prev.freqs[p.j]) * kPiF * 0.01f + prev.phases[p.j]) << p.freq;
    }

    // With no previous partial within the sample rate, the partial keeps its own phase.
    HarmonicPhaseState narrow(1000, 16000, 20);
    narrow.continuePhasesV1(frameOf({100}), 0.01f);
    PeakList far = frameOf({100, 5000});
    far.phases[1] = 0.7f;
    EXPECT_EQ(narrow.continuePhasesV1(far, 0.01f).phases[1], 0.7f);
}

TEST(HarmonicPhaseStateTest, JitterPhaseIsZeroAtTheFundamentalAndBoundedAbove)
{
    HarmonicPhaseState st(44100, 16000, 20);
    hvSrand(1);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(st.jitterPhase(200, 200), 0.0f);
        EXPECT_LE(std::fabs(st.jitterPhase(200, 4000)), kPiF);
        EXPECT_LE(std::fabs(st.jitterPhase(1000, 17000)), kPiF);
    }
    HarmonicPhaseState flat(44100, 100, 20);  // limit below the fundamental
    EXPECT_TRUE(std::isfinite(flat.jitterPhase(200, 50)));
}

TEST(HarmonicPhaseStateTest, WarpedContinuationAddsTheTablePhaseOrNothing)
{
    HarmonicPhaseState st(44100, 16000, 20);
    StepTable table{.step = 1000, .stride = 3, .rows = 1, .values = {0.5f, 0.5f, 0.5f}};
    st.continuePhasesWarped(frameOf({1000}), 0.01f, 1.0f, &table);
    EXPECT_EQ(table.columnCounter, -1);  // the first frame does not touch the table
    // Each later frame advances by 2 pi f hop, plus the table's value while the table is sound.
    for (StepTable* t : {&table, static_cast<StepTable*>(nullptr), &table}) {
        const bool sound = t != nullptr && !t->values.empty();
        const float before = st.previousFrame().phases[0];
        EXPECT_NEAR(st.continuePhasesWarped(frameOf({1000}), 0.01f, 1.0f, t).phases[0],
                    before + 20 * kPiF + (sound ? 0.5f : 0.0f), 1e-4f);
        table.values.clear();  // damaged from the second frame on
    }
}

TEST(HarmonicPhaseStateTest, TablePhasesAndTrackContinuations)
{
    HarmonicPhaseState st(44100, 16000, 20);
    PeakList out;
    st.makeTablePhases(frameOf({100, 200, 300}), out, 300);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(out.phases[i], kPiF - (i + 1) * kPiF, 1e-5f);

    PeakList three = frameOf({100, 200, 300});
    three.phases = {0.1f, 0.2f, 0.3f};
    st.continuePhasesTrackA(three, 0.01f, 10);
    EXPECT_EQ(st.continuePhasesTrackA(three, 0.01f, 10).phases, three.phases);

    // A previous frame of one partial: only that partial is continued.
    HarmonicPhaseState a(44100, 16000, 20);
    a.continuePhasesTrackA(frameOf({100}), 0.01f, 10);
    PeakList five = frameOf({100, 200, 300, 400, 500});
    five.phases = {0, 0.2f, 0.3f, 0, 0};
    EXPECT_EQ(a.continuePhasesTrackA(five, 0.01f, 10).phases[1], 0.2f);
}
