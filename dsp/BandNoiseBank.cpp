#include "dsp/BandNoiseBank.h"

#include <algorithm>
#include <stdexcept>

#include "dsp/BandCount.h"
#include "dsp/FreqBox.h"
#include "dsp/GaussNoise.h"
#include "dsp/TabulatedBandFilter.h"
#include "platform/Rand.h"

namespace Halvoren {

BandNoiseBank::BandNoiseBank(int count, float rate, const float* bandEdges)
    : sampleRate(rate), bandCount(bandEdges != nullptr ? clampBandCount(count) : 0)
{
    edges.assign(bandEdges, bandEdges + bandCount);
    tables.resize(static_cast<std::size_t>(bandCount));
    std::vector<float> block(kTableLength);
    const TabulatedBandFilter filter;
    HvRandGen gen;
    for (int k = 0; k < bandCount; ++k) {
        for (float& v : block)
            v = gaussNoise(gen, 0.0f, 1.0f);
        tables[k].resize(kTableLength);
        const float low = k == 0 ? 0.0f : 2.0f * edges[k - 1] / sampleRate;
        const float high = 2.0f * edges[k] / sampleRate;
        filter.filterBand(block.data(), kTableLength, low, high, tables[k].data());
    }
}

namespace {
int drawOffset(int frameSize) { return hvRand() % frameSize; }

void addBand(const float* src, float level, int n, float* re)
{
    for (int i = 0; i < n; ++i)
        re[i] += src[i] * level;
}

// All offsets first, band 0 first, then the bands summed in order: the same
// draws and the same sums as the general loop.
template <int N>
void sumBandsFixed(const BandNoiseBank& bank, const float* levels, float* re)
{
    const float* src[N];
    for (int k = 0; k < N; ++k)
        src[k] = bank.tables[k].data() + drawOffset(bank.frameSize);
    for (int k = 0; k < N; ++k)
        addBand(src[k], levels[k], bank.frameSize, re);
}

void sumBandsGeneral(const BandNoiseBank& bank, int sounding, const float* levels, float* re)
{
    for (int k = 0; k < bank.bandCount; ++k) {
        const int offset = drawOffset(bank.frameSize);
        if (k >= sounding)
            continue;
        addBand(bank.tables[k].data() + offset, levels[k], bank.frameSize, re);
    }
}
}  // namespace

void renderNoiseFrame(int levelCount, BandNoiseBank& bank, const float* levels, FreqBox& frame)
{
    if (frame.n != bank.frameSize)
        throw std::invalid_argument("noise frame size differs from the bank's");
    frame.clear();
    const int sounding = std::clamp(levelCount, 0, static_cast<int>(bank.bandCount));
    float* re = frame.re.data();
    if (sounding == bank.bandCount && sounding == 4)
        sumBandsFixed<4>(bank, levels, re);
    else if (sounding == bank.bandCount && sounding == 5)
        sumBandsFixed<5>(bank, levels, re);
    else if (sounding == bank.bandCount && sounding == 8)
        sumBandsFixed<8>(bank, levels, re);
    else
        sumBandsGeneral(bank, sounding, levels, re);
    frame.fft.forward(frame.re.data(), frame.re.data(), frame.im.data());
}

}  // namespace Halvoren
