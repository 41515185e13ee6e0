#pragma once
// Renders the frame records of a third- or fourth-generation job: the frame's level,
// breath, brightness and Power controls are applied to its envelope and
// peaks (in place), the harmonic phases continue from the previous frame,
// both parts are drawn into one 512-point spectrum, and the inverse
// transform is overlap-added at the frame's place in the output. At hops
// where the writer would swell the random-phase noise towards the frame's
// ends, a second inverse transform of the noise alone holds it down and
// lets it fade at the frame's ends.
// One per job, called on the job's worker thread in frame order.
#include <array>
#include <cstdint>

#include "dsp/FreqBox.h"
#include "dsp/HarmonicPhaseState.h"
#include "dsp/NoiseWeightCap.h"
#include "dsp/SampleOutWriter.h"
#include "engine/SynthFrameV4.h"

namespace HalvorenEngineV3 {

// The level factors of the harmonic and noise parts and the rank tilt in dB
// at tension 0.
struct FrameLevels {
    float harmLevel = 0.5f;
    float noiseLevel = 0.6f;
    float tiltAtZero = -20.0f;
};

// When a frame's peaks are shaped (tilt, phases, Power): after its noise
// and only for a voiced frame, or before its noise and for every frame
// whatever its unvoiced flag.
enum class PeakOrder { NoiseFirst, PeaksFirstAlways };

class FrameSynth {
public:
    static constexpr int kFrameSize = 512;
    // Peaks drawn per frame at most; more (a fundamental below 11 Hz) are cut.
    static constexpr int kMaxPeaks = 2048;

    // The arguments are the store's slots 8, 7, 9 ... 17 in this order;
    // the third generation's banks have the default levels.
    FrameSynth(float sampleRate, int hop, float param3, float param4, float param5, float maxHarmonicFreq,
               int phaseSetting, int param8, float powerAmount, float powerCentre, float powerWidth,
               FrameLevels levels = {}, PeakOrder order = PeakOrder::NoiseFirst);
    // A job holds the synthesis of its bank version through this type.
    virtual ~FrameSynth() = default;

    void renderFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::SampleOutWriter& out);

    // The peaks of the last frame that drew any, as drawn (phases continued,
    // Power added).
    const Halvoren::PeakList* drawnPeaks() const { return drawn_; }
    const Halvoren::HarmonicPhaseState& phaseState() const { return phase_; }
    // The frame period in seconds.
    float period() const { return period_; }

private:
    void renderNoise(HalvorenEngine::SynthFrameV4& frame, float noiseDb);
    // Tilts the frame's peaks, continues their phases and adds the Power
    // bump; returns the peaks to draw.
    Halvoren::PeakList& shapePeaks(HalvorenEngine::SynthFrameV4& frame, float harmonicDb);
    // Raises each peak by levelDb plus the rank ramp of the tilt tiltDb.
    void applyRankTilt(Halvoren::PeakList& peaks, float levelDb, float tiltDb);
    void addPowerBump(Halvoren::PeakList& peaks, float power) const;

    float sampleRate_;
    float period_;
    std::int32_t lastFrameIndex_ = -1;
    // Kept as the bank gives them; the synthesis does not read them.
    [[maybe_unused]] float param3_, param4_, param5_;
    [[maybe_unused]] std::int32_t param8_;
    float powerAmount_, powerCentre_, powerWidth_;
    FrameLevels levels_;
    PeakOrder peakOrder_;
    // Sort keys of the peaks by level, each holding its peak's position.
    std::array<std::uint64_t, kMaxPeaks> order_{};
    Halvoren::HarmonicPhaseState phase_;
    float drawRate_;
    Halvoren::FreqMagAndPhaseBox box_;
    HalvorenEngine::NoiseWeightCap spreadCap_;
    Halvoren::PeakList noPeaks_;
    const Halvoren::PeakList* drawn_ = nullptr;
};

}  // namespace HalvorenEngineV3
