// Noise drawn with random phases is spread evenly over its frame, unlike the
// harmonics and the kept residual, which carry the analysis window's shape
// that the output writer divides out. At the largest hops that division
// swells towards the frame's ends; the noise must come out even and free
// of spikes there, and unchanged at the hops where it never swells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/v1/CellSynthV1.h"
#include "engine/v2/CellSynthV2.h"
#include "platform/Rand.h"
#include "support/bank/HprSingingBank.h"

namespace {

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;
using HalvorenEngineV1::Cell;

constexpr float kSampleRate = 44100.0f;
const HalvorenEngineV2::BankSettings kNoiselessBank = {-26.3583f, -0.000190626f, 69.9409f, 16000.0f,
                                                       20,        0.0f,          0.0f,     0.0f};

struct NoiseRun {
    int generation;
    int hop;
    int frames;
    bool noise;  // random phases; else the residual kept or re-drawn with its own phases
    double rangeDb = 2.0;
};

// Cells 0 .. frames-1 stepping one hop a cell through a residual of uniform
// noise of peak 104 * 64 = 6656 (RMS about 3800), no harmonics, at the
// source's pitch; the generator seeded with 1.
std::vector<short> render(const NoiseRun& r)
{
    const int frameSize = r.generation == 1 ? HalvorenEngineV1::CellSynthV1::kFrameSize
                                            : HalvorenEngineV2::CellSynthV2::kFrameSize;
    const int length = (r.frames + 2) * r.hop + frameSize;
    std::vector<std::int16_t> noise = testbank::seededNoise(length, 7);
    for (auto& s : noise)
        s = static_cast<std::int16_t>(s * 64);
    Halvoren::FIFOSampleBufferTemplate<short> residual(static_cast<unsigned>(length));
    residual.putSamples(noise.data(), static_cast<unsigned>(length));

    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, frameSize, r.hop);
    writer.appendZeros(r.frames);
    HalvorenEngineV1::CellSynthV1 one(kSampleRate, r.hop);
    HalvorenEngineV2::CellSynthV2 two(kSampleRate, r.hop, kNoiselessBank);
    hvSrand(1);
    for (int n = 0; n < r.frames; ++n) {
        Cell cell;
        cell.residual = &residual;
        cell.position = frameSize / 2 + n * r.hop;
        cell.pitch = cell.sourcePitch = 220.0f;
        cell.number = n;
        cell.noise = r.noise;
        if (r.generation == 1)
            one.synthCell(cell, writer);
        else
            two.synthCell(cell, writer);
    }
    writer.finish();
    return std::vector<short>(writer.data(), writer.data() + writer.length());
}

struct Spread {
    double rms;
    int peak;
    double blockRangeDb;  // loudest against quietest block of 16 positions within the hop
};

// Over frames 4 .. frames-4, clear of the run's ends.
Spread measure(const std::vector<short>& x, int hop, int frames)
{
    // Energy and count per block; a hop not a multiple of 16 ends on a shorter block.
    const auto count = static_cast<std::size_t>((hop + 15) / 16);
    std::vector<double> energy(count, 0.0);
    std::vector<double> samples(count, 0.0);
    Spread s{0.0, 0, 0.0};
    const int from = 4 * hop;
    const int to = (frames - 4) * hop;
    for (int i = from; i < to; ++i) {
        const double v = x[std::size_t(i)];
        const auto b = std::size_t((i % hop) / 16);
        energy[b] += v * v;
        samples[b] += 1.0;
        s.rms += v * v;
        s.peak = std::max(s.peak, std::abs(int(x[std::size_t(i)])));
    }
    s.rms = std::sqrt(s.rms / (to - from));
    for (std::size_t b = 0; b < count; ++b)
        energy[b] /= samples[b];
    const auto [lo, hi] = std::minmax_element(energy.begin(), energy.end());
    s.blockRangeDb = 10.0 * std::log10(*hi / *lo);
    return s;
}

TEST(NoiseWeight, NoiseStaysEvenAndFreeOfSpikesAtEveryHop)
{
    // Uniform noise re-drawn with random phases comes out about Gaussian:
    // over ~10^5 samples its peak stays within 6 times its RMS.
    const NoiseRun runs[] = {
        {2, 128, 400, true},
        {2, 160, 400, true},
        {2, 200, 400, true},
        {2, 256, 400, true},
        // The residual re-drawn with its own phases carries the window but
        // for the drawing's small errors, which are spread like noise.
        {2, 200, 400, false},
        {2, 256, 400, false},
        // 4096-point frames are all but flat over 2 * 256 samples: the noise
        // takes the triangles' power, t^2 + (1 - t)^2, 1 at a hop's start and
        // 1/4 + 1/4 in its middle: 10 log10(2) = 3.01 dB at most.
        {1, 256, 120, true, 3.1},
        {1, 2048, 60, true},
        {1, 2048, 60, false},
    };
    for (const NoiseRun& r : runs) {
        const Spread s = measure(render(r), r.hop, r.frames);
        SCOPED_TRACE(testing::Message() << "generation " << r.generation << " hop " << r.hop << (r.noise ? " noise" : " kept") << ": rms " << s.rms
                                        << " peak " << s.peak << " block range " << s.blockRangeDb << " dB");
        EXPECT_GT(s.rms, 300.0);
        EXPECT_LT(s.peak, 6.0 * s.rms);
        EXPECT_LT(s.blockRangeDb, r.rangeDb);
    }
}

// FNV-1a over the samples' 16-bit patterns.
std::uint32_t checksum(const std::vector<short>& x)
{
    std::uint32_t h = 2166136261u;
    for (short s : x) {
        for (int shift : {0, 8}) {
            h ^= (static_cast<std::uint16_t>(s) >> shift) & 0xffu;
            h *= 16777619u;
        }
    }
    return h;
}

TEST(NoiseWeight, UnchangedWhereTheWindowNeverSwells)
{
    // Checksums of these runs taken before the noise's weight was held at the
    // window's centre value: up to hop 160 of 512 points, and at hop 256 of
    // 4096, no weight exceeds it, and the output stays the same bit for bit.
    const struct {
        NoiseRun run;
        std::uint32_t sum;
    } cases[] = {
        {{2, 128, 100, true}, 0xdd1501b3u},
        {{2, 160, 100, true}, 0x495bfca2u},
        {{1, 256, 40, true}, 0xf57bdf56u},
        {{1, 256, 40, false}, 0x00c3d2ccu},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checksum(render(c.run)), c.sum) << "generation " << c.run.generation << " hop " << c.run.hop
                                                  << (c.run.noise ? " noise" : " kept");
}

}  // namespace
