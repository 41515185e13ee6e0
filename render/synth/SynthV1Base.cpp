#include "render/synth/SynthV1Base.h"

#include "render/synth/ScoreFillV1.h"

SynthV1Base::SynthV1Base(HalvorenEngine::IHVSynthesizer* engine, HalvorenEngine::SynthScoreV1* score,
                         std::vector<HalvorenEngine::CurvePoint>* power)
    : engine_(engine), score_(score), power_(power)
{
}

SynthV1Base::~SynthV1Base() { releaseEngineFront(engine_); }

bool SynthV1Base::loadSegment(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                              int fromTick, int toTick, float leadIn)
{
    // A running job reads its score: it is rebuilt only while the job is idle.
    if (engine_ == nullptr || score_ == nullptr || seg == nullptr || !engine_->isReady())
        return false;
    engine_->setListener(this);
    if (!fillScoreV1(*seg, tempos, fromTick, toTick, leadIn, *score_, power_))
        return false;
    engine_->prepare();
    return true;
}
