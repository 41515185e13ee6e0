#pragma once
// One FFT frame of size n held as real and imaginary arrays of n values
// (upper half the conjugate mirror of the lower), and the same with per-bin
// magnitudes in dB and phases for bins 0..n/2.
#include <vector>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/RealFft.h"
#include "dsp/Windows.h"

namespace Halvoren {

// count random phases for one bin each, from count draws in a row of the
// project's generator, drawn into `draws`: steps of 0.00314 rad.
void randomBinPhases(float* out, int count, int* draws);

class FreqBox {
public:
    // n must be even and at least kMinDrawingFftSize (18), the smallest
    // frame sinusoids can be drawn into (std::invalid_argument otherwise).
    explicit FreqBox(int n);
    virtual ~FreqBox() = default;
    FreqBox(const FreqBox&) = delete;
    FreqBox& operator=(const FreqBox&) = delete;

    void clear();
    // Zero-phase windowed frame of 16-bit audio: the window's first L/2
    // values go to the top of the frame, the rest to its bottom, so sample
    // start + L/2 lands on re[0]. Samples outside pcm count as 0. A window
    // longer than n is refused: the frame is left zeroed and false returned.
    bool loadFrame(const FIFOSampleBufferTemplate<short>& pcm, int start, const AnalysisWindow& window, float gain);
    // Circular shift of re by n/2 (im untouched).
    void swapHalves();

    int n;
    std::vector<float> re;
    std::vector<float> im;
    RealFft fft;
};

class FreqMagAndPhaseBox : public FreqBox {
public:
    explicit FreqMagAndPhaseBox(int n);

    // dB per bin; a bin of zero power repeats the bin before it (-120 when
    // no earlier bin had power).
    void computeMagsDb();
    // dB per bin (-120 for zero power) and atan2 phases.
    void computeMagsDbAndPhases();
    // The levels of computeMagsDbAndPhases alone; the phases stay as they are.
    void computeMagsDbFloored();
    // Copies src's magnitudes, or upsamples them linearly by a factor 2, 4 or 8.
    void setMagsInterpolated(const FreqMagAndPhaseBox& src);
    void addGainDb(float dB);

    // Rebuild re/im (Hermitian) from mags and phases.
    void addSinusoids();
    // The same with a random phase per bin.
    void addSinusoidsRandomPhase();
    // Random phases, and below 18000 Hz magnitudes read at warped bins so that
    // the envelope is stretched by the ratio at low frequencies and not at
    // all towards 18000 Hz. A ratio that is not positive counts as 1.
    void addSinusoidsRandomPhaseWarped(float ratio, float sampleRate);

    std::vector<float> mags;    // n/2 + 16, zeroed
    std::vector<float> phases;  // n/2 + 16

private:
    void setBin(int k, float magDb, float phase);
    // Bins 0..n/2 from drawn magnitudes and phases, mirrored.
    void setBins(const float* magDb, const float* phase);

    // Work space of the noise rendering: magnitudes and phases per bin.
    std::vector<float> drawnMags_;
    std::vector<float> drawnPhases_;
    std::vector<int> draws_;
};

}  // namespace Halvoren
