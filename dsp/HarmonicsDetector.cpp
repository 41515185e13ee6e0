#include "dsp/HarmonicsDetector.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Halvoren {

namespace {

// The voices read: fundamentals from kMinF0 to kMaxF0.
constexpr float kMinF0 = 80.0f;
constexpr float kMaxF0 = 1000.0f;
// Normalised correlation a period must reach for the frame to count as voiced.
constexpr float kVoicingThreshold = 0.45f;
// Lags where the window's own correlation falls below this are not
// searched: dividing by it would mostly enlarge noise. The window reaches
// it near lag 600.
constexpr double kMinWindowCorrelation = 0.08;
// Correlations closer than this count as equal in the period choice.
constexpr float kTieMargin = 0.05f;
// Harmonics stop this many bins below half the FFT size, so that every
// peak has a bin on either side.
constexpr int kTopMargin = 6;
// The longest lag searched: beyond half the window the windowed frame holds
// too little overlap for its correlation to mean anything.
constexpr int kMaxLag = HarmonicsDetector::kWindowLength / 2;
// The rates whose lag range holds the period of every voice read: the period
// of kMinF0 no longer than kMaxLag, and that of kMaxF0 at least 4 samples.
constexpr float kMaxRate = kMinF0 * float(kMaxLag);
constexpr float kMinRate = 4.0f * kMaxF0;
// Below this rate a voice's strong harmonics (its formants near 1 kHz) span
// few samples per cycle, and a correlation peak that lies between two whole
// lags reads far below its height there: a multiple of the period that lies
// nearer a whole lag would win. The correlation is then searched on a finer
// grid of lags, as fine as at this rate or finer. From this rate up the
// three whole lags around a peak read it closely enough.
constexpr float kFineLagRate = 11025.0f;

struct Peak {
    float freq;
    float level;
    float phase;
};

// Autocorrelation of the detection window for lags 0..kMaxLag + 1, relative
// to lag 0, built once. A frame's autocorrelation divided by it reads near 1
// at the period of a periodic signal whatever the lag (the window's taper no
// longer pulls long periods down).
const std::vector<double>& windowCorrelation()
{
    static const std::vector<double> table = [] {
        AnalysisWindow window;
        window.resize(HarmonicsDetector::kWindowLength);
        makeBlackmanWindow(window.w.data(), window.length);
        std::vector<double> r(kMaxLag + 2, 0.0);
        for (std::size_t lag = 0; lag < r.size(); ++lag) {
            double sum = 0.0;
            for (std::size_t i = 0; i + lag < std::size_t(window.length); ++i)
                sum += double(window.w[i]) * double(window.w[i + lag]);
            r[lag] = sum;
        }
        for (std::size_t lag = r.size(); lag-- > 0;)
            r[lag] /= r[0];
        return r;
    }();
    return table;
}

// The window's correlation at a lag between whole lags, linear between them
// (it changes over hundreds of samples); a whole lag reads the table as it is.
double windowCorrelationAt(double lag)
{
    const std::vector<double>& table = windowCorrelation();
    const auto whole = static_cast<std::size_t>(lag);
    const double frac = lag - double(whole);
    return frac > 0.0 ? table[whole] + frac * (table[whole + 1] - table[whole]) : table[whole];
}

// Lag steps per sample in the period search: 1 from kFineLagRate up, below it
// the smallest power of 2 that brings the rate times it to kFineLagRate.
int lagSteps(float rate)
{
    int steps = 1;
    while (float(steps) * rate < kFineLagRate)
        steps *= 2;
    return steps;
}

// The shortest period searched, in samples: the period of kMaxF0, rounded
// down so that kMaxF0 itself lies inside the search. The rate is one the
// detector accepts.
int shortestLag(float rate)
{
    return int(std::floor(rate / kMaxF0));
}

// Vertex of the parabola through (-1, a), (0, b), (1, c): offset in [-0.5, 0.5]
// and height. A flat or upward triple keeps the middle point.
void parabolicPeak(float a, float b, float c, float& offset, float& height)
{
    const float curvature = a - 2.0f * b + c;
    offset = curvature < 0.0f ? std::clamp(0.5f * (a - c) / curvature, -0.5f, 0.5f) : 0.0f;
    height = b - 0.25f * (a - c) * offset;
}

}  // namespace

HarmonicsDetector::HarmonicsDetector(float rate) : sampleRate(rate), frameSampleRate(rate), box(4096)
{
    configure(441, -90.0f, 0.01f, 0.02f, 7.0f, 0.16f);
}

void HarmonicsDetector::configure(int count, float threshold, float a, float b, float c, float d)
{
    thresholdDb = threshold;
    setA = a;
    fixed100 = 100;
    peakCount = count;
    setB = b;
    setC = c;
    setD = d;
    if (detectWindow && detectWindow->length == kWindowLength)
        return;
    detectWindow = std::make_unique<AnalysisWindow>();
    detectWindow->resize(kWindowLength);
    makeBlackmanWindow(detectWindow->w.data(), kWindowLength);
    normalizeWindowSum(*detectWindow);
    windowLength = kWindowLength;
}

bool HarmonicsDetector::rateSupported() const
{
    // Compared as a float, before any conversion: a NaN fails both.
    return sampleRate >= kMinRate && sampleRate <= kMaxRate;
}

bool HarmonicsDetector::detect(const FIFOSampleBufferTemplate<short>& recording, int hop, PeakTracks& out)
{
    out.clear();
    const std::int64_t length = recording.numSamples();
    if (!rateSupported() || hop < 1 || length > kMaxSamples)
        return false;
    if (length == 0)
        return true;
    const std::int64_t frames = (length - 1) / hop + 2;
    for (std::int64_t i = 0; i < frames; ++i)
        out.appendFrame();
    // The frames whose window lies inside the recording find their own f0;
    // those before and after them take the f0 of the nearest of them.
    const std::int64_t half = kWindowLength / 2;
    const std::int64_t firstFit = (half + hop - 1) / hop;
    const std::int64_t lastFit = std::min(frames - 1, length - 1 - half < 0 ? -1 : (length - 1 - half) / hop);
    float firstF0 = 0.0f;
    float lastF0 = 0.0f;
    for (std::int64_t i = firstFit; i <= lastFit; ++i) {
        lastF0 = detectFrame(recording, i * hop, out.frame(std::size_t(i)));
        if (i == firstFit)
            firstF0 = lastF0;
    }
    for (std::int64_t i = 0; i < frames; ++i)
        if (i < firstFit || i > lastFit)
            detectFrame(recording, i * hop, out.frame(std::size_t(i)), i < firstFit ? firstF0 : lastF0);
    return true;
}

bool HarmonicsDetector::windowFits(std::int64_t length, std::int64_t centre)
{
    const int half = kWindowLength / 2;
    return centre >= half && centre < length - half;
}

float HarmonicsDetector::detectFrame(const FIFOSampleBufferTemplate<short>& recording, std::int64_t centre,
                                     PeakList& out, float f0Hint)
{
    out.clear();
    const std::int64_t length = recording.numSamples();
    const int half = kWindowLength / 2;
    if (!rateSupported() || length > kMaxSamples || centre + half < 0 || centre - half >= length)
        return 0.0f;
    const bool fits = windowFits(length, centre);
    if (!fits && !(f0Hint > 0.0f && std::isfinite(f0Hint)))
        return 0.0f;
    if (!box.loadFrame(recording, int(centre - half), *detectWindow, 1.0f))
        return 0.0f;
    box.fft.forward(box.re.data(), box.re.data(), box.im.data());
    box.computeMagsDbFloored();
    const auto bins = static_cast<std::ptrdiff_t>(fftSize / 2 + 1);
    spectrumRe_.assign(box.re.begin(), box.re.begin() + bins);
    spectrumIm_.assign(box.im.begin(), box.im.begin() + bins);

    // Near the ends of the recording part of the window falls outside it;
    // levels are measured against the part inside, so a harmonic reads the
    // same there as in the middle.
    if (!fits) {
        const int first = int(std::clamp<std::int64_t>(half - centre, 0, kWindowLength));
        const int last = int(std::clamp<std::int64_t>(length - (centre - half), 0, kWindowLength));
        float inside = 0.0f;
        for (int i = first; i < last; ++i)
            inside += detectWindow->w[std::size_t(i)];
        if (!(inside > 0.0f))
            return 0.0f;
        box.addGainDb(-20.0f * std::log10(inside));
    }

    const int half4096 = fftSize / 2;
    const float loudest = *std::max_element(box.mags.begin() + 1, box.mags.begin() + half4096);
    if (!(loudest >= thresholdDb))
        return 0.0f;
    // A frame whose window passes an end cannot search the longer periods,
    // and its few harmonic peaks, lopsided by the cut window, would only
    // pull f0: it keeps the hint as it is.
    float f0 = f0Hint;
    if (fits) {
        f0 = findF0();
        if (f0 <= 0.0f)
            return 0.0f;
        f0 = refineF0(f0);
    }
    pickHarmonics(f0, out);
    return f0;
}

float HarmonicsDetector::findF0()
{
    // The autocorrelation is the inverse transform of the power spectrum;
    // the 1201 samples padded to 4096 keep lags up to 2895 free of wrap-around.
    const int half = fftSize / 2;
    for (int k = 0; k <= half; ++k) {
        box.re[k] = box.re[k] * box.re[k] + box.im[k] * box.im[k];
        box.im[k] = 0.0f;
    }
    const int steps = lagSteps(sampleRate);
    const float* correlation = box.re.data();
    if (steps == 1)
        box.fft.inverse(box.re.data(), box.im.data(), box.re.data());
    else
        correlation = fineCorrelation(steps);
    const float r0 = correlation[0];
    if (!(r0 > 0.0f))
        return 0.0f;

    // Index i of the correlation is lag i / steps.
    auto normalised = [&](int i) {
        const double w = windowCorrelationAt(double(i) / double(steps));
        return w >= kMinWindowCorrelation ? float(double(correlation[std::size_t(i)]) / (double(r0) * w)) : 0.0f;
    };
    const int minIndex = shortestLag(sampleRate) * steps;
    const int maxIndex = kMaxLag * steps;
    // Every local maximum that reaches the voicing threshold is a candidate;
    // the strongest after the octave cost sets the bar, and the shortest
    // lag within kTieMargin of it wins, so a period is not taken for its
    // own multiple when their correlations differ only by noise.
    struct Candidate {
        float lag;
        float value;
        float strength;
    };
    std::vector<Candidate> candidates;
    float previous = normalised(minIndex - 1);
    float current = normalised(minIndex);
    for (int i = minIndex; i <= maxIndex; ++i) {
        const float next = normalised(i + 1);
        if (current > previous && current >= next && current >= kVoicingThreshold) {
            float offset = 0.0f;
            float value = 0.0f;
            parabolicPeak(previous, current, next, offset, value);
            const float at = (float(i) + offset) / float(steps);
            // Above 1 only through the division's inexactness.
            value = std::min(value, 1.0f);
            candidates.push_back({at, value, value - setA * std::log2(at)});
        }
        previous = current;
        current = next;
    }
    float bestStrength = -1e30f;
    for (const Candidate& c : candidates)
        bestStrength = std::max(bestStrength, c.strength);
    float bestLag = 0.0f;
    float bestValue = 0.0f;
    for (const Candidate& c : candidates)
        if (c.strength >= bestStrength - kTieMargin) {
            bestLag = c.lag;
            bestValue = c.value;
            break;
        }
    if (!(bestValue >= kVoicingThreshold) || !(bestLag > 0.0f))
        return 0.0f;
    return sampleRate / bestLag;
}

const float* HarmonicsDetector::fineCorrelation(int steps)
{
    // The power spectrum of the 4096-point frame padded with zeros to
    // steps * 4096 points: its inverse is the same correlation read at lags
    // of 1 / steps sample. The top bin is shared with its mirror image, so
    // that the correlation between whole lags is the band-limited one.
    const int half = fftSize / 2;
    const int n = fftSize * steps;
    if (fineFft_.size() != n)
        fineFft_.init(n);
    fineRe_.assign(std::size_t(n / 2 + 1), 0.0f);
    fineIm_.assign(std::size_t(n / 2 + 1), 0.0f);
    fineCorrelation_.resize(std::size_t(n));
    std::copy(box.re.begin(), box.re.begin() + half, fineRe_.begin());
    fineRe_[std::size_t(half)] = 0.5f * box.re[std::size_t(half)];
    fineFft_.inverse(fineRe_.data(), fineIm_.data(), fineCorrelation_.data());
    return fineCorrelation_.data();
}

namespace {

// The local maximum of mags nearest to `centre` within `tolerance` bins of
// `centre`, interpolated, with its bin (the phase is left 0); false when
// there is none.
bool strongestMaximum(const FreqMagAndPhaseBox& box, float centre, float tolerance, float binHz, int topBin,
                      Peak& out, int& bin)
{
    const int lo = std::max(1, int(std::ceil(centre - tolerance)));
    const int hi = std::min(topBin, int(std::floor(centre + tolerance)));
    int best = -1;
    for (int b = lo; b <= hi; ++b) {
        const float m = box.mags[std::size_t(b)];
        if (m >= box.mags[std::size_t(b - 1)] && m > box.mags[std::size_t(b + 1)] &&
            (best < 0 || std::fabs(float(b) - centre) < std::fabs(float(best) - centre)))
            best = b;
    }
    if (best < 0)
        return false;
    float offset = 0.0f;
    float level = 0.0f;
    parabolicPeak(box.mags[std::size_t(best - 1)], box.mags[std::size_t(best)], box.mags[std::size_t(best + 1)],
                  offset, level);
    out = {(float(best) + offset) * binHz, level, 0.0f};
    bin = best;
    return true;
}

}  // namespace

float HarmonicsDetector::refineF0(float f0)
{
    // Harmonics closer than the window's main lobe is half wide (3 bins of
    // the window: 110 Hz at 44100 Hz) merge into peaks that lie between
    // them, which would only pull f0 away from the period found.
    if (f0 < 3.0f * sampleRate / float(kWindowLength))
        return f0;
    // Least squares over the lowest harmonics' peaks, weighted by power:
    // f0 = sum(w k f_k) / sum(w k^2).
    const float binHz = frameSampleRate / float(fftSize);
    const int topBin = fftSize / 2 - kTopMargin;
    const int count = setC >= 1.0f ? int(std::min(setC, 64.0f)) : 0;
    double weighted = 0.0;
    double norm = 0.0;
    for (int k = 1; k <= count && float(k) * f0 < float(topBin) * binHz; ++k) {
        float width = setD + setB * float(k);
        width = width > 0.0f ? std::min(width, 0.5f) : 0.0f;
        Peak peak{};
        int bin = 0;
        if (!strongestMaximum(box, float(k) * f0 / binHz, width * f0 / binHz, binHz, topBin, peak, bin))
            continue;
        const double w = std::pow(10.0, double(peak.level) / 10.0);
        weighted += w * k * double(peak.freq);
        norm += w * k * k;
    }
    const double refined = norm > 0.0 ? weighted / norm : 0.0;
    return refined > 0.0 && std::isfinite(refined) ? float(refined) : f0;
}

void HarmonicsDetector::pickHarmonics(float f0, PeakList& out)
{
    const float binHz = frameSampleRate / float(fftSize);
    const int topBin = fftSize / 2 - kTopMargin;
    const int count = int(std::min<float>(float(peakCount), float(topBin) * binHz / f0));
    std::size_t kept = 0;
    for (int k = 1; k <= count; ++k) {
        float width = setD + setB * float(k);
        width = width > 0.0f ? std::min(width, 0.5f) : 0.0f;
        const float centre = float(k) * f0 / binHz;
        Peak peak{};
        int bin = 0;
        if (strongestMaximum(box, centre, width * f0 / binHz, binHz, topBin, peak, bin)) {
            peak.phase = phaseAt(bin);
        } else {
            // No maximum of its own: read the spectrum at the harmonic itself.
            const int b = std::min(int(centre), topBin);
            const float frac = centre - float(b);
            const float level = box.mags[std::size_t(b)] + frac * (box.mags[std::size_t(b + 1)] - box.mags[std::size_t(b)]);
            peak = {float(k) * f0, level, phaseAt(frac < 0.5f ? b : b + 1)};
        }
        out.append(peak.freq, peak.level, peak.phase);
        if (peak.level >= thresholdDb)
            kept = out.size();
    }
    out.truncate(kept);
}

float HarmonicsDetector::phaseAt(int bin) const
{
    const auto b = static_cast<std::size_t>(bin);
    return b < spectrumRe_.size() ? std::atan2(spectrumIm_[b], spectrumRe_[b]) : 0.0f;
}

}  // namespace Halvoren
