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

void SynthV1Base::getNoteTimes(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                               int fromTick, int toTick, float /*leadIn*/, std::vector<NoteTimesRec>& out)
{
    out.clear();
    // The store is only asked while no job of this synthesizer runs.
    if (engine_ == nullptr || seg == nullptr || !engine_->isReady())
        return;
    HalvorenEngine::SynthScoreV1 score;
    const std::vector<HVCurrentModel::Note*> notes = fillNoteRecordsV1(*seg, tempos, fromTick, toTick, score);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        NoteTimesRec rec;
        rec.note = notes[i];
        rec.sung = hasVoiceFor(score.notes[i]);
        rec.timed = false;
        out.push_back(std::move(rec));
    }
}
