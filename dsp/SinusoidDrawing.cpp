#include "dsp/SinusoidDrawing.h"

#include <cmath>

#include "dsp/FastMath.h"
#include "dsp/SinusoidLobeTable.h"

namespace Halvoren {

void addSinusoidsToSpectrum(const float* magDb, const float* freqHz, const float* phase, int count,
                            float* re, float* im, int N, float sampleRate)
{
    if (count < 1 || N < kMinDrawingFftSize)
        return;
    const int half = N / 2;
    const SinusoidLobeTable& lobe = sinusoidLobeTable();
    const float halfF = static_cast<float>(half);

    for (int i = 0; i < count; ++i) {
        if (freqHz[i] == 0.0f)
            continue;
        const float loc = static_cast<float>(N) * freqHz[i] / sampleRate;
        const bool nearDc = loc > 0.0f && loc < 5.0f;
        const bool inside = loc >= 5.0f && loc < halfF - 4.0f;
        const bool nearHalf = loc >= halfF - 4.0f && loc < halfF - 1.0f;
        if (!(nearDc || inside || nearHalf))
            continue;  // negative, NaN, or within a bin of N/2
        const int bin = static_cast<int>(std::floor(loc + 0.5f));
        const float rem = static_cast<float>(bin) - loc;
        const float amp = fasterPow2(kCoarseLog2Of10 * magDb[i] / 20.0f);
        const float c = drawingSinWrapped(phase[i] + kHalfPi);
        const float s = drawingSinWrapped(phase[i]);

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
    for (int k = 1; k < half; ++k) {
        re[N - k] = re[k];
        im[N - k] = -im[k];
    }
}

}  // namespace Halvoren
