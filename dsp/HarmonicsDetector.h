#pragma once
// Finds the fundamental and the harmonic peaks of recorded voice, one
// 4096-point frame at a time, through a 1201-sample Blackman window scaled to
// sum 1: a full-scale sinusoid reads -6.02 dB. Peak i of a frame is harmonic
// i + 1 (Hz, dB, phase in radians at the frame's centre sample).
//
// The fundamental comes from the frame itself: the autocorrelation of the
// windowed frame, divided by the window's own, is searched for its strongest
// period between floor(sampleRate / 1000) and 600 samples (1000 Hz to
// 73.5 Hz at 44100 Hz). The rates served are those whose search holds the
// period of every voice of 80 to 1000 Hz, with 4 samples or more to it:
// 4000 to 48000 Hz. Below 11025 Hz a voice's formants span only a few
// samples per cycle, and a correlation peak between two whole lags would read
// low enough for a multiple of the period to win: there the correlation is
// searched at lags of 1/2 or 1/4 sample, read from the same power spectrum.
// A frame is voiced when the normalised correlation at its period reaches
// 0.45; an unvoiced or silent frame gives f0 0 and no peaks. A frame whose
// window passes the start or the end of the recording holds too little of
// it to search a period: it takes the f0 of the nearest frame whose window
// fits (detect), or the caller's hint (detectFrame).
//
// The window's main lobe is 220 Hz wide at 44100 Hz, so neighbouring
// harmonics stay apart down to about 115 Hz (on a steady voice levels still
// hold within 0.1 dB at 100 Hz). Below that their lobes merge: f0 is the
// period's alone (the peaks of merged lobes would pull it off by 2 to 9 %),
// every harmonic is still reported in its place, but a harmonic without a
// maximum of its own is read at k * f0 from the merged lobes, and levels can
// be off by 15 dB or more. No period longer than 600 samples is
// searched (73.5 Hz at 44100 Hz, 80 Hz at 48000 Hz): a lower voice reads as
// unvoiced or takes the period of a formant instead.
//
// Harmonic k is the spectral maximum nearest k * f0 within the search
// width below, or the spectrum read at k * f0 when there is none.
//
// Settings (configure):
// - peakCount: the most harmonics one frame reports.
// - thresholdDb: the list ends at the last harmonic at or above this level;
//   a frame whose strongest bin is below it is silent.
// - setA: octave cost of the period search: each octave of lag costs this
//   much correlation; periods within 0.05 of the best after that cost count
//   as equal and the shortest wins, so a period is not taken for its multiple.
// - setB: widening per harmonic number of the search around k * f0.
// - setC: the number of lowest harmonics whose peaks refine f0, when f0 is
//   at least half the main lobe's width (3 bins of the window) so that
//   their peaks stand apart.
// - setD: half-width of the search around k * f0, as a fraction of f0.
//   Harmonic k is searched within f0 * min(0.5, setD + setB * k) of k * f0.
#include <cstdint>
#include <memory>
#include <vector>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/FreqBox.h"
#include "dsp/LogUtil.h"
#include "dsp/PeakList.h"
#include "dsp/PeakTracks.h"
#include "dsp/RealFft.h"
#include "dsp/Windows.h"

namespace Halvoren {

class HarmonicsDetector : public LogUtil {
public:
    static constexpr int kWindowLength = 1201;

    // Stores the rate, then configure(441, -90, 0.01, 0.02, 7, 0.16).
    explicit HarmonicsDetector(float sampleRate);
    HarmonicsDetector(const HarmonicsDetector&) = delete;
    HarmonicsDetector& operator=(const HarmonicsDetector&) = delete;

    // Stores the settings; builds the detection window when there is none
    // or its length is not 1201.
    void configure(int peakCount, float thresholdDb, float a, float b, float c, float d);

    // The frame centred on recording sample `centre`; samples outside the
    // recording count as 0 and levels are measured against the part of the
    // window inside it. Returns f0 in Hz and fills out, or returns 0 with out
    // empty for an unvoiced frame or an unsupported rate: one below 4000 Hz,
    // above 48000 Hz or not a number. A frame whose window passes an end of
    // the recording takes f0Hint (the f0 of the nearest frame whose window
    // fits) when it is positive, and is unvoiced otherwise.
    float detectFrame(const FIFOSampleBufferTemplate<short>& recording, std::int64_t centre, PeakList& out,
                      float f0Hint = 0.0f);
    // Frames centred on samples 0, hop, 2 * hop, ... up to the first centre
    // at or past the last sample, plus one, so that every sample lies
    // between two frame centres. out is cleared first; false, with out
    // empty, for an unsupported rate, a hop below 1 or a recording longer
    // than kMaxSamples. An empty recording gives no frames; one too short
    // for any window to fit gives unvoiced frames.
    bool detect(const FIFOSampleBufferTemplate<short>& recording, int hop, PeakTracks& out);

    static constexpr std::int64_t kMaxSamples = std::int64_t(1) << 30;

    float sampleRate;
    float frameSampleRate;
    std::int32_t fftSize = 4096;
    std::unique_ptr<AnalysisWindow> detectWindow;
    FreqMagAndPhaseBox box;
    float thresholdDb = 0.0f;
    std::int32_t fixed100 = 100;
    float setA = 0.0f;
    float setB = 0.0f;
    std::int32_t peakCount = 0;
    std::int32_t windowLength = 0;
    float setD = 0.0f;
    float setC = 0.0f;

private:
    // The rate lies within 4000 .. 48000 Hz, where the periods searched hold
    // every voice of 80 to 1000 Hz.
    bool rateSupported() const;
    // The detection window centred on `centre` lies inside a recording of
    // `length` samples.
    static bool windowFits(std::int64_t length, std::int64_t centre);
    float findF0();
    // The frame's correlation at lags of 1 / steps sample, from the power
    // spectrum findF0 left in the box; index i is lag i / steps.
    const float* fineCorrelation(int steps);
    float refineF0(float f0);
    void pickHarmonics(float f0, PeakList& out);
    // The phase of a bin of the frame's spectrum as the transform gave it.
    float phaseAt(int bin) const;

    // The frame's spectrum kept for phaseAt: the period search reuses the
    // box, and only the bins of the picked harmonics need a phase.
    std::vector<float> spectrumRe_;
    std::vector<float> spectrumIm_;
    // The finer correlation of rates below 11025 Hz, and its transform.
    RealFft fineFft_;
    std::vector<float> fineRe_;
    std::vector<float> fineIm_;
    std::vector<float> fineCorrelation_;
};

}  // namespace Halvoren
