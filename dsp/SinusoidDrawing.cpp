#include "dsp/SinusoidDrawing.h"

#include <algorithm>
#include <cmath>

#include "dsp/FastMath.h"
#include "dsp/SinusoidLobeTable.h"

namespace Halvoren {

namespace {

// Sinusoids are set up this many at a time.
constexpr int kBatch = 64;

// The sinusoids of a batch whose lobes fold nowhere: place, level and phase,
// then complex amplitude.
struct Placed {
    int bin[kBatch];
    float rem[kBatch];  // bin - exact position, in [-0.5, 0.5]
    float magDb[kBatch];
    float phase[kBatch];
    float amp[kBatch];
    float c[kBatch];  // cos(phase)
    float s[kBatch];  // sin(phase)

    void setAmplitudes(int count)
    {
        for (int m = 0; m < count; ++m) {
            amp[m] = fasterPow2(kCoarseLog2Of10 * magDb[m] / 20.0f);
            c[m] = drawingSinWrapped(phase[m] + kHalfPi);
            s[m] = drawingSinWrapped(phase[m]);
        }
    }
};

// Draws one sinusoid whose lobe folds at DC or at N/2.
void drawFolded(const SinusoidLobeTable& lobe, int bin, float rem, float amp, float c, float s, bool nearDc,
                bool nearHalf, float* re, float* im, int N)
{
    const int half = N / 2;
    for (int j = -4; j <= 4; ++j) {
        const float w = lobe[500 + static_cast<int>(std::trunc(100.0f * (static_cast<float>(j) + rem)))];
        const float ar = amp * w * c;
        const float ai = amp * w * s;
        const int b = bin + j;
        if (nearDc && b < 0) {
            re[-b] += ar;
            im[-b] -= ai;
        } else if ((nearDc && b == 0) || (nearHalf && b == half)) {
            re[b] += 2.0f * ar;
        } else if (nearHalf && b > half) {
            re[N - b] += ar;
            im[N - b] -= ai;
        } else {
            re[b] += ar;
            im[b] += ai;
        }
    }
}

// The nine taps of every placed sinusoid, tap by tap.
void drawPlaced(const SinusoidLobeTable& lobe, const Placed& p, int count, float* re, float* im)
{
    for (int j = -4; j <= 4; ++j) {
        const float offset = static_cast<float>(j);
        int entry[kBatch];
        for (int m = 0; m < count; ++m)
            entry[m] = 500 + static_cast<int>(100.0f * (offset + p.rem[m]));
        for (int m = 0; m < count; ++m) {
            const float aw = p.amp[m] * lobe[entry[m]];
            const int b = p.bin[m] + j;
            re[b] += aw * p.c[m];
            im[b] += aw * p.s[m];
        }
    }
}

}  // namespace

void addSinusoidsToSpectrum(const float* magDb, const float* freqHz, const float* phase, int count,
                            float* re, float* im, int N, float sampleRate)
{
    if (count < 1 || N < kMinDrawingFftSize)
        return;
    const int half = N / 2;
    const SinusoidLobeTable& lobe = sinusoidLobeTable();
    const float halfF = static_cast<float>(half);
    Placed placed;

    for (int first = 0; first < count; first += kBatch) {
        const int last = std::min(count, first + kBatch);
        int m = 0;
        for (int i = first; i < last; ++i) {
            if (freqHz[i] == 0.0f)
                continue;
            const float loc = static_cast<float>(N) * freqHz[i] / sampleRate;
            const bool nearDc = loc > 0.0f && loc < 5.0f;
            const bool inside = loc >= 5.0f && loc < halfF - 4.0f;
            const bool nearHalf = loc >= halfF - 4.0f && loc < halfF - 1.0f;
            if (!(nearDc || inside || nearHalf))
                continue;  // negative, NaN, or within a bin of N/2
            // loc >= 0 here: the conversion after adding 0.5 is the floor.
            const int bin = static_cast<int>(loc + 0.5f);
            const float rem = static_cast<float>(bin) - loc;
            if (!inside) {
                const float amp = fasterPow2(kCoarseLog2Of10 * magDb[i] / 20.0f);
                const float c = drawingSinWrapped(phase[i] + kHalfPi);
                const float s = drawingSinWrapped(phase[i]);
                drawFolded(lobe, bin, rem, amp, c, s, nearDc, nearHalf, re, im, N);
                continue;
            }
            placed.bin[m] = bin;
            placed.rem[m] = rem;
            placed.magDb[m] = magDb[i];
            placed.phase[m] = phase[i];
            ++m;
        }
        placed.setAmplitudes(m);
        drawPlaced(lobe, placed, m, re, im);
    }
    for (int k = 1; k < half; ++k) {
        re[N - k] = re[k];
        im[N - k] = -im[k];
    }
}

}  // namespace Halvoren
