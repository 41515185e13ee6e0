#include "engine/v3/SynthJobV3.h"

#include "engine/v3/SymbolMgrFor.h"

namespace HalvorenEngineV3 {

SynthJobV3::SynthJobV3(const std::string& packagePath, CellBuilder builder, FrameSynthMaker makeSynth,
                       std::ostream& log)
    : store_(std::make_unique<SourceStore_pkg>(packagePath, log)),
      hop_(store_->isUsable() ? store_->getHopSize() : kFallbackHop),
      rate_(store_->isUsable() ? store_->getSampleRate() : kFallbackRate),
      frameSynth_(makeSynth(*store_, rate_, hop_)),
      state_(*store_, symbolMgrFor(store_->getLanguage())),
      builder_(builder)
{
}

HalvorenEngine::ScoreSpan scoreSpanOf(const HalvorenEngine::SynthScoreV3& score)
{
    if (score.notes.empty())
        return {score.leadIn};
    return {score.leadIn, true, score.notes.front().start, score.notes.back().start, score.notes.back().duration};
}

void SynthJobV3::runWorker(int /*index*/, HalvorenEngine::JobContext& job)
{
    if (store_->isUsable() && builder_ != nullptr) {
        job_ = &job;
        HalvorenEngine::CellListCache list;
        state_.setListener(this);
        builder_(state_, score_, list);
        list.clear();
        job_ = nullptr;
    }
    if (!state_.isStopped())
        job.finishJob();
}

void SynthJobV3::onCellBuilt(HalvorenEngine::SynthFrameV4& frame)
{
    frameSynth_->renderFrame(frame, job_->writer());
}

}  // namespace HalvorenEngineV3
