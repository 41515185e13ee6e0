#include "engine/v6/CellMakerState.h"

#include "engine/v3/CellMakers.h"
#include "lyrics/NullSymbolMgr.h"
#include "voicebank/package/PackageIndex.h"

namespace HalvorenEngineV6 {

CellMakerState::CellMakerState(float sampleRate)
    : rate_(sampleRate),
      symbols_(std::make_unique<Halvoren::NullSymbolMgr>()),
      analyser_(sampleRate),
      layout_(std::make_unique<Halvoren::WarpedBandLayout>(kLayoutRate, 0))
{
}

void CellMakerState::attachStore(ISourceStore& store)
{
    store_ = &store;
    period_ = static_cast<float>(store.getHopSize()) / rate_;
    layout_ = std::make_unique<Halvoren::WarpedBandLayout>(kLayoutRate, store.getLayoutBandCount());
    modelFrames_ = Halvoren::formatAbove(store.getVersionMajor(), store.getVersionMinor(), 1);
}

void CellMakerState::setSymbols(std::unique_ptr<Halvoren::ISymbolMgr> symbols)
{
    if (symbols != nullptr)
        symbols_ = std::move(symbols);
}

void CellMakerState::prepare(const HalvorenEngine::SynthScoreV3& score)
{
    headTime_ = score.leadIn;
    HalvorenEngine::loadScoreCurves(score, curves_);
    std::int32_t neutral = 1000, upper = 850, lower = 1250;
    store_->getGenderRatios(neutral, upper, lower);
    r1_ = static_cast<float>(neutral / 1000.0);
    r2_ = static_cast<float>(upper / 1000.0);
    r3_ = static_cast<float>(lower / 1000.0);
}

float CellMakerState::warpRatioAt(float t)
{
    return HalvorenEngineV3::applyCurveBlend(curveAt(HalvorenEngine::kScoreGender, t), r2_, r1_, r3_);
}

void CellMakerState::emitFrame(Halvoren::SynthFrameV6& frame, std::int32_t base, std::int32_t& counter,
                               HalvorenEngine::CellListCache& list)
{
    const std::int64_t index = std::int64_t{base} + counter;
    const std::int32_t before = counter;
    if (counter < INT32_MAX)
        ++counter;
    // A consonant reaching before the job's first frame has nowhere to go.
    if (index < 0 || index > INT32_MAX)
        return;
    frame.index = static_cast<std::int32_t>(index);
    frame.localIndex = before;
    frame.unvoiced = 0;
    const float t = timeOf(frame.index);
    frame.breath = curveAt(HalvorenEngine::kScoreAmplitude, t);
    frame.power = curveAt(HalvorenEngine::kScorePower, t);
    frame.noiseGain = curveAt(HalvorenEngine::kScoreBreath, t);
    frame.brightness = curveAt(HalvorenEngine::kScoreBrightness, t);
    frame.warpRatio = warpRatioAt(t);
    frame.trackB = modelFrames_ ? 1 : 0;
    if (listener_ != nullptr) {
        listener_->onCellBuilt(frame);
        return;
    }
    list.append(frame);
}

}  // namespace HalvorenEngineV6
