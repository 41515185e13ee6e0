#include "engine/v6/FrameSynth.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dsp/SynthesizeSinusoids.h"
#include "engine/v6/GlottalModulation.h"

namespace HalvorenEngineV6 {

namespace {
constexpr float kSilentDb = -100.0f;
// The phase continuation's band limit and harmonic count.
constexpr float kPhaseMaxHz = 20000.0f;
constexpr int kPhaseHarmonics = 30;
}  // namespace

PartLevels partLevels(float breath, float levelDb, float harmLevel, float noiseRatio)
{
    const float x = breath >= 0.0f ? std::exp2(2.0f * breath) : std::max(0.0f, breath + 1.0f);
    if (!(x > 0.0f))
        return {kSilentDb, kSilentDb};
    const float a = x * harmLevel;
    const float b = a * noiseRatio;
    return {20.0f * std::log10(a) + levelDb, 20.0f * std::log10(b) + levelDb};
}

FrameSynth::FrameSynth(float sampleRate, int hop, int param15, float param16, float param17, float param18,
                       float harmLevel, float noiseRatio, float param28, int bandCount, const float* bandEdges,
                       int layoutBands)
    : sampleRate_(sampleRate), hop_(hop), param15_(param15), param16_(param16), param17_(param17),
      param18_(param18), param28_(param28), harmLevel_(harmLevel), noiseRatio_(noiseRatio),
      phase_(sampleRate, kPhaseMaxHz, kPhaseHarmonics), drawRate_(sampleRate), noiseBox_(kFrameSize),
      harmBox_(kFrameSize), noiseWork_(kFrameSize), noiseBank_(bandCount, sampleRate, bandEdges),
      bandLayout_(sampleRate, layoutBands), modCurve_(kFrameSize, 0.0f)
{
}

void FrameSynth::renderFrame(const Halvoren::SynthFrameV6& frame, HalvorenEngine::SampleOutWriter& out)
{
    if (lastFrameIndex_ < 0 || frame.index == std::numeric_limits<std::int32_t>::min() ||
        lastFrameIndex_ != frame.index - 1) {
        // A new voice, a gap or a step back: the phases start afresh.
        phase_.clearFrames();
    }
    lastFrameIndex_ = frame.index;

    const PartLevels levels = partLevels(frame.breath, frame.levelDb, harmLevel_, noiseRatio_);
    drawNoise(frame, levels.noiseDb);
    drawHarmonics(frame, levels.harmonicDb);

    for (Halvoren::FreqMagAndPhaseBox* box : {&noiseBox_, &harmBox_}) {
        // An unvoiced frame's harmonic box is all zero, as is its transform.
        if (box == &harmBox_ && frame.unvoiced != 0)
            continue;
        box->fft.inverse(box->re.data(), box->im.data(), box->re.data());
        box->swapHalves();
    }
    out.addWindowedFrame(frame.index, modCurve_.data(), noiseBox_.re.data(), harmBox_.re.data());
}

void FrameSynth::drawNoise(const Halvoren::SynthFrameV6& frame, float noiseDb)
{
    // The record stays as the cell loop made it; the offset goes to a copy.
    const float offset = 10.0f * frame.noiseGain + noiseDb;
    const float* bands = frame.noiseBands.ptrBegin();
    noiseTarget_.assign(bands, bands + frame.noiseBands.numSamples());
    for (float& v : noiseTarget_)
        v += offset;

    // The bank takes linear levels, as many as it has bands.
    Halvoren::renderNoiseFrame(static_cast<int>(frame.mags.numSamples()), noiseBank_, frame.mags.ptrBegin(),
                               noiseWork_);
    bandLayout_.computeBandsDb(noiseWork_, bandLevels_);
    // Band levels beyond the frame's own bands have no target.
    const int count = static_cast<int>(std::min({noiseTarget_.size(), bandLevels_.size(),
                                                 bandLayout_.centres.size()}));
    Halvoren::synthesizeSinusoidsToBuffer(bandLayout_.centres.data(), noiseTarget_.data(), bandLevels_.data(), count,
                                          frame.warpRatio, sampleRate_, noiseWork_, noiseBox_,
                                          recolourWork_);
}

void FrameSynth::drawHarmonics(const Halvoren::SynthFrameV6& frame, float harmonicDb)
{
    if (frame.unvoiced != 0) {
        makeGlottalModulation(noPeaks_, modCurve_, sampleRate_, 1.0f, 1);
        harmBox_.clear();
        return;
    }
    const float hopSec = static_cast<float>(hop_) / sampleRate_;
    peaks_.assign(frame.peaks);
    peaks_.addGainDb(harmonicDb);
    Halvoren::PeakList& drawn =
        frame.trackB != 0 ? phase_.continuePhasesTrackB(peaks_, hopSec, frame.glottalShape, frame.trackFrame)
                          : phase_.continuePhasesTrackA(peaks_, hopSec, frame.glottalShape);
    drawn.addToSpectrumX4(harmBox_, &drawRate_);
    // Only the 2 hops around the centre reach the writer.
    makeGlottalModulation(drawn, modCurve_, sampleRate_, frame.modFloor, frame.glottalShape, kFrameSize / 2 - hop_,
                          2 * hop_);
}

}  // namespace HalvorenEngineV6
