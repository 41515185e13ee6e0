#include "engine/v3/CellMakerState.h"

#include "dsp/GammatoneCentres.h"

namespace HalvorenEngineV3 {

namespace {

// The centres of the job's auditory bands, the axis of every band frame.
std::vector<float> bandCentres()
{
    const auto centres = Halvoren::gammatoneCentres();
    return {centres.begin(), centres.end()};
}

}  // namespace

CellMakerState::CellMakerState(ISourceStore& store, std::unique_ptr<Halvoren::ISymbolMgr> symbols)
    : bandAxis_(bandCentres()),
      rate_(store.getSampleRate()),
      period_(rate_ > 0.0f ? static_cast<float>(store.getHopSize()) / rate_ : 0.0f),
      store_(store),
      symbols_(std::move(symbols)),
      analyser_(rate_ > 0.0f ? rate_ : 44100.0f)
{
}

void CellMakerState::prepare(const HalvorenEngine::SynthScoreV3& score)
{
    t0_ = score.leadIn;
    HalvorenEngine::loadScoreCurves(score, curves_);
    std::int32_t neutral = 1000, upper = 850, lower = 1250;
    store_.getGenderRatios(neutral, upper, lower);
    neutral_ = static_cast<float>(neutral / 1000.0);
    upper_ = static_cast<float>(upper / 1000.0);
    lower_ = static_cast<float>(lower / 1000.0);
}

float CellMakerState::blendGenderAt(float t)
{
    currentRatio_ = applyCurveBlend(curveAt(HalvorenEngine::kScoreGender, t), upper_, neutral_, lower_);
    return currentRatio_;
}

MakerSetting CellMakerState::makerSetting()
{
    MakerSetting s;
    s.period = period_;
    s.t0 = t0_;
    s.upper = upper_;
    s.neutral = neutral_;
    s.lower = lower_;
    s.gender = &curves_[HalvorenEngine::kScoreGender];
    s.pitch = &curves_[HalvorenEngine::kScorePitch];
    s.analyser = &analyser_;
    s.bandAxis = &bandAxis_;
    return s;
}

VoiceSrc* CellMakerState::lookupVoiceSrc(const std::string& unit, const std::string& pitch)
{
    const std::string stored = store_.getRecordKey(unit, pitch);
    if (stored.empty())
        return nullptr;
    return cache_.getVoiceSrc(store_, unit, stored);
}

void CellMakerState::emitFrame(Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float extraGainDb,
                               bool unvoiced, CellCursor& at)
{
    HalvorenEngine::SynthFrameV4 frame;
    const int index = at.firstFrame + at.local;
    const float t = timeOf(index);
    frame.mags = &residual;
    frame.peaks = &peaks;
    frame.unvoiced = unvoiced ? 1 : 0;
    frame.jitter = at.phaseRef;
    frame.curveA = curveAt(HalvorenEngine::kScorePitch, t);
    frame.levelControl = curveAt(HalvorenEngine::kScoreAmplitude, t);
    frame.boostWeight = curveAt(HalvorenEngine::kScorePower, t);
    frame.noiseGain = curveAt(HalvorenEngine::kScoreBreath, t);
    frame.tension = curveAt(HalvorenEngine::kScoreBrightness, t);
    frame.warpRatio = currentRatio_;
    frame.levelDb = extraGainDb;
    frame.index = index;
    frame.localIndex = at.local;
    emitFrame(frame, at.list);
    ++at.local;
}

void CellMakerState::emitFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::CellListCache& list)
{
    if (listener_ != nullptr) {
        listener_->onCellBuilt(frame);
        return;
    }
    std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
    list.append(frame);
}

}  // namespace HalvorenEngineV3
