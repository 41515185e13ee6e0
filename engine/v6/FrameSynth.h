#pragma once
// Renders the frame records of a sixth-generation job. The noise part is
// coloured noise from a band bank, recoloured to the frame's noise bands;
// the harmonic part is the frame's peaks with their phases continued; a
// glottal flow curve in step with the fundamental shapes the noise sample by
// sample, and the writer overlap-adds both parts at the frame's place.
// One per job, called on the job's worker thread in frame order.
#include <cstdint>
#include <vector>

#include "dsp/BandNoiseBank.h"
#include "dsp/FreqBox.h"
#include "dsp/HarmonicPhaseState.h"
#include "dsp/PeakList.h"
#include "dsp/SampleOutWriter.h"
#include "dsp/SynthFrameV6.h"
#include "dsp/SynthesizeSinusoids.h"
#include "dsp/WarpedBandLayout.h"

namespace HalvorenEngineV6 {

// The levels of a frame's two parts in dB.
struct PartLevels {
    float harmonicDb;
    float noiseDb;
};

// From the frame's level control b (x = 2^(2b) from 0 up, b + 1 below,
// silent at -1 and under), its level in dB and the bank's level factors:
// 20 log10(x * harmLevel) and 20 log10(x * harmLevel * noiseRatio), each
// plus levelDb; -100 dB both for a silent frame.
PartLevels partLevels(float breath, float levelDb, float harmLevel, float noiseRatio);

class FrameSynth {
public:
    static constexpr int kFrameSize = 512;

    // The arguments are the store's slots 9, 8, 15 .. 18, 26, 27, 28, the
    // length and values of slot 30 (the noise bands' upper edges) and slot 29.
    FrameSynth(float sampleRate, int hop, int param15, float param16, float param17, float param18,
               float harmLevel, float noiseRatio, float param28, int bandCount, const float* bandEdges,
               int layoutBands);
    FrameSynth(const FrameSynth&) = delete;
    FrameSynth& operator=(const FrameSynth&) = delete;

    void renderFrame(const Halvoren::SynthFrameV6& frame, HalvorenEngine::SampleOutWriter& out);

    // The steps of renderFrame. drawNoise leaves the noise spectrum in
    // noiseBox; drawHarmonics the harmonic spectrum in harmBox and the
    // frame's modulation curve.
    void drawNoise(const Halvoren::SynthFrameV6& frame, float noiseDb);
    void drawHarmonics(const Halvoren::SynthFrameV6& frame, float harmonicDb);

    const Halvoren::FreqMagAndPhaseBox& noiseBox() const { return noiseBox_; }
    const Halvoren::FreqMagAndPhaseBox& harmBox() const { return harmBox_; }
    const std::vector<float>& modulation() const { return modCurve_; }
    // The noise band levels the last noise part was coloured to.
    const std::vector<float>& noiseTarget() const { return noiseTarget_; }
    const Halvoren::WarpedBandLayout& bandLayout() const { return bandLayout_; }
    const Halvoren::HarmonicPhaseState& phaseState() const { return phase_; }

private:
    float sampleRate_;
    std::int32_t hop_;
    std::int32_t lastFrameIndex_ = -1;
    // Kept as the bank gives them; the synthesis does not read them.
    [[maybe_unused]] std::int32_t param15_;
    [[maybe_unused]] float param16_, param17_, param18_, param28_;
    float harmLevel_;
    float noiseRatio_;
    Halvoren::HarmonicPhaseState phase_;
    float drawRate_;
    Halvoren::FreqMagAndPhaseBox noiseBox_;
    Halvoren::FreqMagAndPhaseBox harmBox_;
    Halvoren::FreqBox noiseWork_;
    Halvoren::BandNoiseBank noiseBank_;
    Halvoren::WarpedBandLayout bandLayout_;
    std::vector<float> bandLevels_;
    std::vector<float> noiseTarget_;
    Halvoren::RecolourWork recolourWork_;
    Halvoren::PeakList peaks_;
    Halvoren::PeakList noPeaks_;
    std::vector<float> modCurve_;
};

}  // namespace HalvorenEngineV6
