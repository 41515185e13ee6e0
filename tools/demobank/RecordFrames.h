#pragma once
// The frames a third-generation record stores, made from a recording and its
// analysis (frame i centred on sample 128 i):
// - the harmonic levels at k f0 for every harmonic below 10 kHz (none when
//   the frame is unvoiced);
// - magsA, the residual's 512-point spectrum in dB (257 values);
// - the 64 auditory band levels of the recording (none when unvoiced), those
//   below the first harmonic at the level of the band nearest it;
// - magsB, the residual's own 64 band levels spread linearly over the 257
//   bins: the smooth envelope under magsA's detail.
// Harmonics and bands carry the harmonic calibration, magsA and magsB the
// noise calibration.
#include <cstdint>
#include <vector>

#include "LevelCalibration.h"
#include "SpeechAnalysis.h"
#include "dsp/EngineGhrBuilder.h"
#include "tools/bankwriter/GhrModelWriter.h"

namespace demobank {

class RecordFrameMaker {
public:
    explicit RecordFrameMaker(LevelCalibration calibration);

    // The analysed frames first .. last (inclusive) of a voice whose pitch
    // is about `voice` Hz (0 when unknown). A frame the detector reads at a
    // whole fraction of that pitch, taking a run of two or three periods
    // for one, keeps every second (or third) of its harmonics at the
    // voice's multiple of its f0.
    std::vector<bankwriter::PlainFrame> frames(const std::vector<std::int16_t>& recording,
                                             const SpeechAnalysis& analysis, std::int32_t first, std::int32_t last,
                                             float voice = 0.0f);

    static constexpr float kHighestHarmonicHz = 10000.0f;
    static constexpr float kFloorDb = -120.0f;

private:
    std::vector<float> harmonicLevels(const Halvoren::FIFOSampleBufferTemplate<short>& recording, std::int64_t centre,
                                      const Halvoren::PeakList& analysed, float voice, float& f0);
    std::vector<float> residualSpectrum(const Halvoren::FIFOSampleBufferTemplate<short>& residual,
                                        std::int64_t centre);
    std::vector<float> bandLevels(const Halvoren::FIFOSampleBufferTemplate<short>& samples, std::int64_t centre);
    void holdBandsUnderFundamental(std::vector<float>& bands, float f0) const;
    std::vector<float> spreadOverBins(const std::vector<float>& bands) const;

    // A band of the 4096-point bank as bandLevels weighs the spectrum.
    struct BandWeights {
        std::size_t firstBin = 0;
        std::vector<double> squares;  // the response squared, from firstBin on
        double norm = 0.0;            // their sum
    };

    LevelCalibration calibration_;
    HalvorenEngineV3::EngineGhrBuilder builder_;
    Halvoren::AnalysisWindow residualWindow_;
    Halvoren::FreqMagAndPhaseBox small_;
    Halvoren::FreqBox large_;
    std::vector<double> power_;
    std::vector<BandWeights> bandWeights_;
};

}  // namespace demobank
