#include "engine/v3/CellMakerStateBase.h"

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

CellMakerStateBase::CellMakerStateBase(float sampleRate, std::int32_t hop)
    : bandAxis_(bandCentres()),
      rate_(sampleRate),
      period_(rate_ > 0.0f ? static_cast<float>(hop) / rate_ : 0.0f),
      analyser_(rate_ > 0.0f ? rate_ : 44100.0f)
{
}

void CellMakerStateBase::prepare(const HalvorenEngine::SynthScoreV3& score, std::int32_t neutral,
                                 std::int32_t upper, std::int32_t lower)
{
    t0_ = score.leadIn;
    for (int c = 0; c < HalvorenEngine::kScoreCurveCount; ++c) {
        curves_[c].clear();
        for (const HalvorenEngine::CurvePoint& point : score.curves[c])
            curves_[c].addPoint(point.seconds, point.value);
    }
    neutral_ = static_cast<float>(neutral / 1000.0);
    upper_ = static_cast<float>(upper / 1000.0);
    lower_ = static_cast<float>(lower / 1000.0);
}

float CellMakerStateBase::blendGenderAt(float t)
{
    currentRatio_ = applyCurveBlend(curveAt(HalvorenEngine::kScoreGender, t), upper_, neutral_, lower_);
    return currentRatio_;
}

MakerSetting CellMakerStateBase::makerSetting()
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

void CellMakerStateBase::emitFrame(Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float extraGainDb,
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

void CellMakerStateBase::emitFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::CellListCache& list)
{
    if (listener_ != nullptr) {
        listener_->onCellBuilt(frame);
        return;
    }
    std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
    list.append(frame);
}

}  // namespace HalvorenEngineV3
