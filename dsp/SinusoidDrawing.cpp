#include "dsp/SinusoidDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "dsp/FastMath.h"
#include "dsp/Lanes.h"
#include "dsp/SinusoidLobeTable.h"

namespace Halvoren {

namespace {

// Sinusoids are set up this many at a time.
constexpr int kBatch = 64;

// The sinusoids of a batch whose lobes fold nowhere: place, level and phase,
// then complex amplitude and the lobe entries of the nine taps.
struct Placed {
    int bin[kBatch];
    float rem[kBatch];  // bin - exact position, in [-0.5, 0.5]
    float magDb[kBatch];
    float phase[kBatch];
    float amp[kBatch];
    float c[kBatch];  // cos(phase)
    float s[kBatch];  // sin(phase)
    int entry[9][kBatch];  // lobe entry of tap t - 4

    // Four sinusoids at a time, the last four filled up with level and
    // phase 0.
    void prepare(int count)
    {
        for (int m = count; m % 4 != 0; ++m) {
            magDb[m] = 0.0f;
            phase[m] = 0.0f;
        }
        for (int m = 0; m < count; m += 4) {
            storeFloat4(amp + m, fasterPow2(kCoarseLog2Of10 * loadFloat4(magDb + m) / 20.0f));
            storeFloat4(c + m, drawingSinWrapped(loadFloat4(phase + m) + kHalfPi));
            storeFloat4(s + m, drawingSinWrapped(loadFloat4(phase + m)));
        }
        for (int t = 0; t < 9; ++t) {
            const float offset = static_cast<float>(t - 4);
            for (int m = 0; m < count; ++m)
                entry[t][m] = 500 + static_cast<int>(100.0f * (offset + rem[m]));
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

// Draws the nine taps of placed sinusoid m into the nine bins around its
// own: taps -4..-1 and 0..3 four at a time, then tap 4.
void drawNine(const SinusoidLobeTable& lobe, const Placed& p, int m, float* re, float* im)
{
    const int at = p.bin[m] - 4;
    const float amp = p.amp[m];
    const float c = p.c[m];
    const float s = p.s[m];
    for (int q = 0; q < 8; q += 4) {
        const Int4 entry{p.entry[q][m], p.entry[q + 1][m], p.entry[q + 2][m], p.entry[q + 3][m]};
        const Float4 aw = amp * gatherFloat4(lobe.data(), entry);
        storeFloat4(re + at + q, loadFloat4(re + at + q) + aw * c);
        storeFloat4(im + at + q, loadFloat4(im + at + q) + aw * s);
    }
    const float aw = amp * lobe[p.entry[8][m]];
    re[at + 8] += aw * c;
    im[at + 8] += aw * s;
}

// A bin sums its taps in drawing order, so the sinusoids are drawn in the
// order that gives every bin its taps as the sinusoids' tap -4 in list
// order, then their tap -3, and so on: from the highest bin down, list
// order among equal bins (a bin's tap -4 comes from the sinusoid 4 bins
// above it). Rising bins, the usual case, are drawn from the last to the
// first; any other list is put in order in the caller's array.
const int* drawingOrder(const int* bin, int count, int* order)
{
    static const auto kFromLast = [] {
        std::array<int, kBatch> from{};
        for (int k = 0; k < kBatch; ++k)
            from[k] = kBatch - 1 - k;
        return from;
    }();
    bool rising = true;
    for (int m = 1; m < count; ++m)
        rising &= bin[m - 1] < bin[m];
    if (rising)
        return kFromLast.data() + (kBatch - count);
    // Insertion from the end of the list.
    for (int k = 0; k < count; ++k) {
        const int m = count - 1 - k;
        int at = k;
        for (; at > 0 && bin[m] >= bin[order[at - 1]]; --at)
            order[at] = order[at - 1];
        order[at] = m;
    }
    return order;
}

// The nine taps of every placed sinusoid.
void drawPlaced(const SinusoidLobeTable& lobe, const Placed& p, int count, float* re, float* im)
{
    int order[kBatch];
    const int* sequence = drawingOrder(p.bin, count, order);
    for (int k = 0; k < count; ++k)
        drawNine(lobe, p, sequence[k], re, im);
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
        placed.prepare(m);
        drawPlaced(lobe, placed, m, re, im);
    }
    for (int k = 1; k < half; ++k) {
        re[N - k] = re[k];
        im[N - k] = -im[k];
    }
}

}  // namespace Halvoren
