#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "dsp/BandNoiseBank.h"
#include "dsp/FreqBox.h"
#include "dsp/GaussNoiseTable.h"
#include "dsp/SynthFrameV6.h"
#include "dsp/WarpedBandLayout.h"
#include "platform/Rand.h"

using namespace Halvoren;

namespace {
// The spectrum of bank table k read from `offset`, scaled by `level`.
void expectTableSlice(const BandNoiseBank& bank, int k, int offset, const FreqBox& got, const char* what)
{
    FreqBox want(512);
    for (int i = 0; i < 512; ++i)
        want.re[i] = bank.tables[k][offset + i];
    want.fft.forward(want.re.data(), want.re.data(), want.im.data());
    for (int i = 0; i <= 256; ++i) {
        ASSERT_EQ(got.re[i], want.re[i]) << what << " band " << k << " bin " << i;
        ASSERT_EQ(got.im[i], want.im[i]) << what << " band " << k << " bin " << i;
    }
}

double power(const FreqBox& f, int bin) { return double(f.re[bin]) * f.re[bin] + double(f.im[bin]) * f.im[bin]; }
}  // namespace

TEST(BandNoiseBankTest, OffsetsFollowTheGenerator)
{
    const float edges[3] = {1000, 4000, 11000};
    BandNoiseBank bank(3, 44100.0f, edges);
    ASSERT_EQ(bank.tables.size(), 3u);
    for (const auto& t : bank.tables)
        ASSERT_EQ(t.size(), 1040u);
    // From seed 1 the generator gives 41, 18467, 6334, 26500, 19169, 15724;
    // modulo 512: 41, 35, 190, then 388, 225, 364.
    const int offsets[2][3] = {{41, 35, 190}, {388, 225, 364}};
    FreqBox frame(512);
    for (int k = 0; k < 3; ++k) {
        float levels[3] = {0, 0, 0};
        levels[k] = 1.0f;
        hvSrand(1);
        renderNoiseFrame(3, bank, levels, frame);
        expectTableSlice(bank, k, offsets[0][k], frame, "frame 1");
        renderNoiseFrame(3, bank, levels, frame);
        expectTableSlice(bank, k, offsets[1][k], frame, "frame 2");
    }
}

TEST(BandNoiseBankTest, TablesDoNotDependOnTheBuildingThread)
{
    // Banks built one after another, and on a fresh thread, hold the same
    // tables; building one leaves the thread's generator where it was.
    const float edges[3] = {1000, 4000, 11000};
    hvSrand(77);
    BandNoiseBank first(3, 44100.0f, edges);
    BandNoiseBank second(3, 44100.0f, edges);
    std::vector<std::vector<float>> onFresh;
    std::thread([&] { onFresh = BandNoiseBank(3, 44100.0f, edges).tables; }).join();
    EXPECT_EQ(first.tables, second.tables);
    EXPECT_EQ(first.tables, onFresh);
    const int next = hvRand();
    hvSrand(77);
    EXPECT_EQ(next, hvRand());
}

TEST(BandNoiseBankTest, FixedFormsEqualTheGeneralSumAndLevelsScale)
{
    for (int bands : {4, 5, 8}) {
        std::vector<float> edges, levels, fewer;
        for (int k = 0; k < bands; ++k) {
            edges.push_back(1500.0f * (k + 1));
            levels.push_back(0.3f + 0.2f * k);
        }
        BandNoiseBank bank(bands, 44100.0f, edges.data());
        // The general sum by hand: the same draws, band by band.
        hvSrand(7);
        std::vector<float> sum(512, 0.0f);
        for (int k = 0; k < bands; ++k) {
            const int off = hvRand() % 512;
            for (int i = 0; i < 512; ++i)
                sum[i] += bank.tables[k][off + i] * levels[k];
        }
        FreqBox want(512), got(512);
        want.fft.forward(sum.data(), want.re.data(), want.im.data());
        hvSrand(7);
        renderNoiseFrame(bands, bank, levels.data(), got);
        for (int i = 0; i <= 256; ++i) {
            ASSERT_EQ(got.re[i], want.re[i]) << bands << " bands, bin " << i;
            ASSERT_EQ(got.im[i], want.im[i]) << bands << " bands, bin " << i;
        }
        // Twice the levels: every bin 20*log10(2) = 6.02 dB up.
        std::vector<float> doubled = levels;
        for (float& l : doubled)
            l *= 2.0f;
        FreqBox twice(512);
        hvSrand(7);
        renderNoiseFrame(bands, bank, doubled.data(), twice);
        for (int i = 1; i < 256; ++i)
            if (power(got, i) > 0) {
                ASSERT_NEAR(10 * std::log10(power(twice, i) / power(got, i)), 6.0206, 1e-3) << bands << " " << i;
            }
    }
}

TEST(BandNoiseBankTest, LevelCountAndBandCountAreBothHonoured)
{
    const float edges[4] = {1000, 2000, 4000, 8000};
    BandNoiseBank bank(4, 44100.0f, edges);
    const float levels[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    FreqBox a(512), b(512), c(512);
    // Eight levels over four bands read four; every band still draws.
    hvSrand(3);
    renderNoiseFrame(8, bank, levels, a);
    hvSrand(3);
    renderNoiseFrame(4, bank, levels, b);
    EXPECT_EQ(a.re, b.re);
    // Two levels: bands 2 and 3 are silent but draw, so the next draw is the fifth.
    hvSrand(3);
    renderNoiseFrame(2, bank, levels, c);
    const int fifth = hvRand();
    hvSrand(3);
    for (int i = 0; i < 4; ++i)
        hvRand();
    EXPECT_EQ(fifth, hvRand());

    FreqBox wrong(256);
    EXPECT_THROW(renderNoiseFrame(4, bank, levels, wrong), std::invalid_argument);
    BandNoiseBank none(-3, 44100.0f, edges);
    EXPECT_EQ(none.bandCount, 0);
    EXPECT_EQ(BandNoiseBank(5, 44100.0f, nullptr).bandCount, 0);
    renderNoiseFrame(4, none, levels, a);
    for (float v : a.re)
        ASSERT_EQ(v, 0.0f);
}

TEST(BandNoiseBankTest, BandEnergySitsAtTwiceItsEdges)
{
    // One band 1000..2000 Hz: high-pass row round(2*0.04535/0.02 - 1) = 4
    // (edge 0.1 of Nyquist = 2205 Hz), low-pass row 8 (0.18 = 3969 Hz).
    const float edges[2] = {1000, 2000};
    BandNoiseBank bank(2, 44100.0f, edges);
    FreqBox box(512);
    double inside = 0, realised = 0, total = 0;
    for (int start = 0; start + 512 <= 1040; start += 64) {
        for (int i = 0; i < 512; ++i)
            box.re[i] = bank.tables[1][start + i];
        box.fft.forward(box.re.data(), box.re.data(), box.im.data());
        for (int bin = 0; bin <= 256; ++bin) {
            const double f = bin * 44100.0 / 512;
            const double p = power(box, bin);
            total += p;
            if (f >= 1000 && f <= 2000)
                inside += p;
            if (f >= 2205 && f <= 3969)
                realised += p;
        }
    }
    EXPECT_GT(realised, 0.5 * total);
    EXPECT_LT(inside, 0.1 * total);
}

TEST(WarpedBandLayoutTest, LinearBandsThenAWarpedV)
{
    // binHz = 44100/512 = 86.1328; L = ceil(3000/86.1328) = ceil(34.83) = 35.
    WarpedBandLayout layout(44100.0f, 60);
    ASSERT_EQ(layout.linearBandCount(), 35);
    ASSERT_EQ(layout.centres.size(), 60u);
    for (int k = 0; k < 35; ++k) {
        EXPECT_EQ(layout.startBins[k], k);
        EXPECT_EQ(layout.weightCounts[k], 1);
        EXPECT_EQ(layout.weights[layout.weightOffsets[k]], 1.0f);
        EXPECT_NEAR(layout.centres[k], 86.1328125f * k, 1e-3f);
    }
    // m_lo = 5000 ln(1 + 3014.65/15000), m_hi = 5000 ln(1 + 22050/15000);
    // band 35 is m_lo itself, band 59 is 24/25 of the way: 20996.6 Hz.
    EXPECT_NEAR(layout.centres[35], 3014.65f, 0.05f);
    EXPECT_NEAR(layout.centres[59], 20996.6f, 0.5f);
    // Band 35: loBin 34, cBin 35, hiBin 42: 1, then 0, 1/7, ..., 6/7, over a
    // sum of 4: 0.25, 0, 1/28, ..., 6/28.
    EXPECT_EQ(layout.startBins[35], 34);
    ASSERT_EQ(layout.weightCounts[35], 8);
    const float* w = layout.weights.ptrBegin() + layout.weightOffsets[35];
    EXPECT_NEAR(w[0], 0.25f, 1e-6f);
    for (int j = 0; j < 7; ++j)
        EXPECT_NEAR(w[1 + j], j / 28.0f, 1e-6f) << j;
    // Offsets are the running total of the counts.
    int offset = 0;
    for (int k = 0; k < 60; ++k) {
        EXPECT_EQ(layout.weightOffsets[k], offset) << k;
        offset += layout.weightCounts[k];
    }
    EXPECT_EQ(static_cast<int>(layout.weights.numSamples()), offset);
}

TEST(WarpedBandLayoutTest, DegenerateBandsAndCountsStaySound)
{
    // Fewer bands than linear ones: only those centres, all single bins.
    WarpedBandLayout few(44100.0f, 10);
    EXPECT_EQ(few.centres.size(), 10u);
    EXPECT_EQ(few.weightCounts.size(), 10u);
    WarpedBandLayout none(44100.0f, -4);
    EXPECT_EQ(none.bandCount, 0);
    EXPECT_THROW(WarpedBandLayout(0.0f, 40), std::invalid_argument);

    // Many bands crowd the top: neighbours on the same bin give hiBin =
    // loBin (one weight 1), and loBin = cBin with hiBin = cBin + 1 sums to 0
    // (the band becomes its centre bin alone). Every band's weights sum to 1.
    WarpedBandLayout dense(44100.0f, 1500);
    for (int k = 0; k < dense.bandCount; ++k) {
        float sum = 0;
        for (int j = 0; j < dense.weightCounts[k]; ++j) {
            const float v = dense.weights[dense.weightOffsets[k] + j];
            ASSERT_TRUE(std::isfinite(v)) << k;
            sum += v;
        }
        ASSERT_NEAR(sum, 1.0f, 1e-5f) << k;
        ASSERT_GE(dense.startBins[k], 0);
        ASSERT_LE(dense.startBins[k] + dense.weightCounts[k], 256) << k;
    }
    // The last band: lo = c[1498] ~ 22014 Hz (bin 255.6) floors to 255, hi
    // above Nyquist clamps to 255: hiBin = loBin, one weight 1 at bin 255.
    EXPECT_EQ(dense.startBins[1499], 255);
    EXPECT_EQ(dense.weightCounts[1499], 1);
    EXPECT_EQ(dense.weights[dense.weightOffsets[1499]], 1.0f);
    // 600 bands step about 23 Hz above 3014.65 Hz: band 36 has lo = 3014.65
    // (bin 35.0), centre ~3037.6 (35.3, rounds to 35), hi ~3060.7 (35.5,
    // ceils to 36): weights 1 - 0 over nothing, then 0/1 at bin 35. The zero
    // sum leaves bin 35 alone with weight 1.
    WarpedBandLayout crowded(44100.0f, 600);
    EXPECT_EQ(crowded.startBins[36], 35);
    EXPECT_EQ(crowded.weightCounts[36], 1);
    EXPECT_EQ(crowded.weights[crowded.weightOffsets[36]], 1.0f);
}

TEST(WarpedBandLayoutTest, LevelsAreWeightedPowerInDecibels)
{
    WarpedBandLayout layout(44100.0f, 60);
    FreqBox box(512);
    box.re[3] = 10.0f;  // power 100 -> 20 dB in single-bin band 3
    // Band 35 weighs bin 34 by 0.25 and bin 36 by 1/28:
    // 0.25*4 + 16/28 = 1.5714 -> 1.963 dB.
    box.re[34] = 2.0f;
    box.im[36] = 4.0f;
    std::vector<float> out;
    layout.computeBandsDb(box, out);
    ASSERT_EQ(out.size(), 60u);
    EXPECT_NEAR(out[3], 20.0f, 1e-5f);
    EXPECT_NEAR(out[35], 1.963f, 1e-3f);
    // Zero power: the floor, not -infinity.
    EXPECT_EQ(out[5], -120.0f);
    EXPECT_EQ(layout.bandLevelDb(60, box), -120.0f);
    EXPECT_EQ(layout.bandLevelDb(-1, box), -120.0f);
    // A spectrum shorter than the layout's bins reads only what it has.
    FreqBox small(18);
    small.re[3] = 1.0f;
    EXPECT_EQ(layout.bandLevelDb(3, small), 0.0f);
    EXPECT_EQ(layout.bandLevelDb(40, small), -120.0f);
}

TEST(GaussNoiseTableTest, UnitGaussianValues)
{
    GaussNoiseTable table;
    EXPECT_EQ(table.size, 512);
    ASSERT_EQ(table.values.size(), 1040u);
    double sum = 0, sq = 0;
    for (float v : table.values) {
        ASSERT_TRUE(std::isfinite(v));
        sum += v;
        sq += double(v) * v;
    }
    const double mean = sum / 1040;
    EXPECT_NEAR(mean, 0.0, 0.1);
    EXPECT_NEAR(sq / 1040 - mean * mean, 1.0, 0.15);
}

TEST(SynthFrameV6Test, FreshRecordIsEmptyWithFrameSizedGrowth)
{
    SynthFrameV6 f;
    EXPECT_TRUE(f.peaks.empty());
    for (const FrameMags* m : {&f.trackFrame, &f.noiseBands, &f.mags})
        EXPECT_EQ(m->getGranularity(), 512u);
}
