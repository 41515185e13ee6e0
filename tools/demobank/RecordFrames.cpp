#include "RecordFrames.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "RecordTiming.h"
#include "dsp/GammatoneCentres.h"

namespace demobank {

namespace {

constexpr int kSmall = 512;
constexpr int kLarge = 4096;

Halvoren::FIFOSampleBufferTemplate<short> bufferOf(const std::vector<std::int16_t>& samples)
{
    Halvoren::FIFOSampleBufferTemplate<short> b;
    b.putSamples(samples.data(), static_cast<std::uint32_t>(samples.size()));
    return b;
}

void addDb(std::vector<float>& v, float db)
{
    for (float& x : v)
        x += db;
}

}  // namespace

RecordFrameMaker::RecordFrameMaker(LevelCalibration calibration)
    : calibration_(calibration), builder_(kRecordRate), residualWindow_(residualWindow()), small_(kSmall), large_(kLarge),
      power_(kLarge / 2 + 1)
{
    // Each band's squared responses over its bins within the spectrum, and
    // their sum, once.
    for (const Halvoren::GammatoneChannel& ch : builder_.bankLarge.channels) {
        BandWeights band;
        band.firstBin = static_cast<std::size_t>(std::max(0, ch.firstBin));
        for (std::int32_t b = std::max(0, ch.firstBin); b <= ch.lastBin && b < static_cast<std::int32_t>(power_.size());
             ++b) {
            band.squares.push_back(double(ch.response[std::size_t(b)]) * ch.response[std::size_t(b)]);
            band.norm += band.squares.back();
        }
        bandWeights_.push_back(std::move(band));
    }
}

std::vector<bankwriter::PlainFrame> RecordFrameMaker::frames(const std::vector<std::int16_t>& samples,
                                                           const SpeechAnalysis& analysis, std::int32_t first,
                                                           std::int32_t last, float voice)
{
    const Halvoren::FIFOSampleBufferTemplate<short> recording = bufferOf(samples);
    const Halvoren::FIFOSampleBufferTemplate<short>& residual = analysis.model->residual;
    first = std::max(first, 0);
    last = std::min(last, static_cast<std::int32_t>(analysis.f0.size()) - 1);
    std::vector<bankwriter::PlainFrame> out(static_cast<std::size_t>(std::max(0, last - first + 1)));
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::size_t i = static_cast<std::size_t>(first) + k;
        bankwriter::PlainFrame& frame = out[k];
        const std::int64_t centre = static_cast<std::int64_t>(i) * kRecordHop;
        float f0 = analysis.f0[i];
        frame.harmonicsDb.clear();
        frame.bands.clear();
        if (f0 > 0.0f)
            frame.harmonicsDb = harmonicLevels(recording, centre, analysis.model->peaks.frame(i), voice, f0);
        // The makers read a frame without bands as unvoiced: bands only beside peaks.
        if (!frame.harmonicsDb.empty()) {
            addDb(frame.harmonicsDb, calibration_.harmonicDb);
            frame.bands = bandLevels(recording, centre);
            holdBandsUnderFundamental(frame.bands, f0);
            addDb(frame.bands, calibration_.harmonicDb);
        }
        frame.f0Step = f0;
        frame.magsA = residualSpectrum(residual, centre);
        addDb(frame.magsA, calibration_.noiseDb);
        frame.magsB = spreadOverBins(bandLevels(residual, centre));
        addDb(frame.magsB, calibration_.noiseDb);
    }
    return out;
}

// The detector's harmonics of the frame, read again with no level threshold
// so that every harmonic below 10 kHz has a level: the peak the detector
// finds near k f0, or its spectrum at k f0 where there is none. f0 becomes
// the detector's own (the analysis keeps the first harmonic's frequency),
// times m when it lies at 1/m of the voice's pitch: harmonic k of the voice
// is then the detector's harmonic k m.
std::vector<float> RecordFrameMaker::harmonicLevels(const Halvoren::FIFOSampleBufferTemplate<short>& recording,
                                                    std::int64_t centre, const Halvoren::PeakList& analysed,
                                                    float voice, float& f0)
{
    Halvoren::HarmonicsDetector& detector = builder_.detector();
    const float threshold = detector.thresholdDb;
    detector.thresholdDb = -std::numeric_limits<float>::infinity();
    Halvoren::PeakList peaks;
    const float found = detector.detectFrame(recording, centre, peaks, f0);
    detector.thresholdDb = threshold;
    // The same frame is voiced again; should it not be, the analysed peaks
    // stand as they are.
    if (found > 0.0f)
        f0 = found;
    else
        peaks.assign(analysed);
    const int m = fractionOfVoice(f0, voice);
    f0 *= static_cast<float>(m);
    const std::size_t count = static_cast<std::size_t>(std::ceil(kHighestHarmonicHz / f0)) - 1;
    std::vector<float> levels(count, kFloorDb);
    for (std::size_t k = 0; k < count && (k + 1) * std::size_t(m) <= peaks.size(); ++k)
        levels[k] = std::max(kFloorDb, peaks.mags[(k + 1) * std::size_t(m) - 1]);
    return levels;
}

std::vector<float> RecordFrameMaker::residualSpectrum(const Halvoren::FIFOSampleBufferTemplate<short>& residual,
                                                      std::int64_t centre)
{
    small_.loadFrame(residual, static_cast<int>(centre - kSmall / 2), residualWindow_, 1.0f);
    small_.fft.forward(small_.re.data(), small_.re.data(), small_.im.data());
    small_.computeMagsDbAndPhases();
    std::vector<float> out(small_.mags.begin(), small_.mags.begin() + kSmall / 2 + 1);
    for (float& v : out)
        v = std::max(kFloorDb, v);
    return out;
}

// level_k = 10 log10(sum r_k[b]^2 |X[b]|^2 / sum r_k[b]^2) over the band's
// bins of the 4096-point bank, X the frame through the residual fetcher's
// window; floored at -120 dB.
std::vector<float> RecordFrameMaker::bandLevels(const Halvoren::FIFOSampleBufferTemplate<short>& samples,
                                                std::int64_t centre)
{
    const Halvoren::AnalysisWindow& window = builder_.fetcher().analysisWindow;
    large_.loadFrame(samples, static_cast<int>(centre - kLarge / 2), window, 1.0f);
    large_.fft.forward(large_.re.data(), large_.re.data(), large_.im.data());
    for (std::size_t b = 0; b < power_.size(); ++b)
        power_[b] = double(large_.re[b]) * large_.re[b] + double(large_.im[b]) * large_.im[b];
    std::vector<float> out(bandWeights_.size(), kFloorDb);
    for (std::size_t k = 0; k < bandWeights_.size(); ++k) {
        const BandWeights& band = bandWeights_[k];
        double weighted = 0.0;
        for (std::size_t i = 0; i < band.squares.size(); ++i)
            weighted += band.squares[i] * power_[band.firstBin + i];
        if (band.norm > 0.0 && weighted > 0.0)
            out[k] = std::max(kFloorDb, static_cast<float>(10.0 * std::log10(weighted / band.norm)));
    }
    return out;
}

// A voiced frame has no harmonic below its first one. What the long window
// reads in the bands there is the spread of the recording's abrupt changes
// (the synthesiser's phoneme joins, a few milliseconds long) over 93 ms:
// sung high, 30 to 50 dB above the same bands in a steady frame. The cell
// makers take every band's change for a change of the voice and add it to
// the residual, so a join would sound that spread as noise under the
// fundamental. Those bands take the level of the band nearest the first
// harmonic instead: they rise and fall with the fundamental.
void RecordFrameMaker::holdBandsUnderFundamental(std::vector<float>& bands, float f0) const
{
    const std::vector<float>& centres = builder_.bankLarge.centres;
    const std::size_t count = std::min(bands.size(), centres.size());
    const auto erbRate = [](float hz) { return std::log(hz + Halvoren::kErbOffsetHz); };
    std::size_t nearest = 0;
    for (std::size_t k = 1; k < count; ++k)
        if (std::fabs(erbRate(centres[k]) - erbRate(f0)) < std::fabs(erbRate(centres[nearest]) - erbRate(f0)))
            nearest = k;
    for (std::size_t k = 0; k < nearest; ++k)
        bands[k] = bands[nearest];
}

// Linear in frequency between neighbouring band centres; below the first
// and above the last centre the end values hold.
std::vector<float> RecordFrameMaker::spreadOverBins(const std::vector<float>& bands) const
{
    const std::vector<float>& centres = builder_.bankLarge.centres;
    std::vector<float> out(kSmall / 2 + 1);
    std::size_t k = 0;
    for (std::size_t b = 0; b < out.size(); ++b) {
        const float f = static_cast<float>(b) * kRecordRate / kSmall;
        while (k + 1 < centres.size() && centres[k + 1] < f)
            ++k;
        if (f <= centres.front())
            out[b] = bands.front();
        else if (k + 1 >= centres.size())
            out[b] = bands.back();
        else {
            const float t = (f - centres[k]) / (centres[k + 1] - centres[k]);
            out[b] = bands[k] + t * (bands[k + 1] - bands[k]);
        }
    }
    return out;
}

}  // namespace demobank
