#include "dsp/ResidualFetcher.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/BlackmanHarrisKernel.h"
#include "dsp/SynthesisWindow.h"

namespace Halvoren {

namespace {
constexpr int kHop = 128;
constexpr std::int64_t kMaxSamples = std::int64_t(1) << 30;
// A drawn peak covers the bins within this distance of it: the main lobe
// (4 bins) and the first sidelobe.
constexpr int kLobeBins = 5;
}  // namespace

ResidualFetcher::ResidualFetcher(float rate) : sampleRate(rate), frameA(4096), frameB(4096)
{
    analysisWindow.resize(fftSize);
    makeBlackmanHarrisWindow(analysisWindow.w.data(), fftSize);
    normalizeWindowSum(analysisWindow);
}

void ResidualFetcher::buildWindows()
{
    if (synthesisWindow && hop == kHop)
        return;
    auto window = std::make_unique<AnalysisWindow>();
    window->w = HalvorenEngine::makeSynthesisWindow(fftSize, kHop);
    window->length = int(window->w.size());
    synthesisWindow = std::move(window);
    hop = kHop;
}

void ResidualFetcher::drawPeaks(const PeakList& peaks)
{
    frameB.clear();
    const int n = fftSize;
    const std::size_t count = peaks.size();
    for (std::size_t i = 0; i < count; ++i) {
        const float loc = float(n) * peaks.freqs[i] / sampleRate;
        if (!(loc >= float(kLobeBins) && loc <= float(n / 2 - kLobeBins)))
            continue;
        // A sinusoid of amplitude A reads A / 2 at its own position through a
        // window summing to 1; its level in dB is that value.
        const double amp = std::pow(10.0, double(peaks.mags[i]) / 20.0);
        if (!std::isfinite(amp) || !std::isfinite(peaks.phases[i]))
            continue;
        const double c = amp * std::cos(double(peaks.phases[i]));
        const double s = amp * std::sin(double(peaks.phases[i]));
        const int nearest = int(std::lround(loc));
        for (int b = nearest - kLobeBins; b <= nearest + kLobeBins; ++b) {
            const double w = blackmanHarrisKernel(double(b) - double(loc));
            frameB.re[std::size_t(b)] += float(w * c);
            frameB.im[std::size_t(b)] += float(w * s);
        }
    }
}

bool ResidualFetcher::fetch(const FIFOSampleBufferTemplate<short>& recording, const PeakTracks& peaks,
                            FIFOSampleBufferTemplate<short>& residual)
{
    residual.clear();
    const std::int64_t length = recording.numSamples();
    if (!(sampleRate > 0.0f) || !std::isfinite(sampleRate) || length > kMaxSamples)
        return false;
    buildWindows();
    if (length == 0)
        return true;

    const int n = fftSize;
    const int half = n / 2;
    const std::vector<float>& synthesis = synthesisWindow->w;
    std::vector<float> sum(static_cast<std::size_t>(length), 0.0f);
    const std::int64_t frames = (length - 1) / hop + 2;
    for (std::int64_t i = 0; i < frames; ++i) {
        const std::int64_t centre = i * hop;
        frameA.loadFrame(recording, int(centre - half), analysisWindow, 1.0f);
        const bool hasPeaks = std::size_t(i) < peaks.size() && !peaks.frame(std::size_t(i)).empty();
        if (hasPeaks) {
            drawPeaks(peaks.frame(std::size_t(i)));
            frameB.fft.inverse(frameB.re.data(), frameB.im.data(), frameB.re.data());
        }
        // Both frames hold time t at index t mod n (zero phase); the
        // synthesis window holds it at n/2 + t.
        for (int t = -hop; t < hop; ++t) {
            const std::int64_t at = centre + t;
            if (at < 0 || at >= length)
                continue;
            const std::size_t index = std::size_t((t + n) % n);
            const float value = hasPeaks ? frameA.re[index] - frameB.re[index] : frameA.re[index];
            sum[std::size_t(at)] += value * synthesis[std::size_t(half + t)];
        }
    }
    residual.putSamples(std::uint32_t(length));
    short* out = residual.ptrBegin();
    for (std::int64_t s = 0; s < length; ++s) {
        const float v = std::round(sum[std::size_t(s)] * scale);
        out[s] = std::isnan(v) ? short(0) : short(std::clamp(v, -32768.0f, 32767.0f));
    }
    return true;
}

}  // namespace Halvoren
