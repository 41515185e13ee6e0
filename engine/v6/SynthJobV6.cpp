#include "engine/v6/SynthJobV6.h"

#include "engine/v3/SynthJobV3.h"
#include "engine/v6/CellTimes.h"
#include "lyrics/NullSymbolMgr.h"
#include "lyrics/v6/CVVCMgr.h"

namespace HalvorenEngineV6 {

namespace {

// "CHN" names no table of this generation: that bank knows no symbol.
std::unique_ptr<Halvoren::ISymbolMgr> symbolMgrFor(const std::string& language)
{
    if (language == "CHN")
        return std::make_unique<Halvoren::NullSymbolMgr>();
    auto symbols = std::make_unique<CVVCMgr>();
    symbols->parseTable(language);
    return symbols;
}

}  // namespace

SynthJobV6::SynthJobV6(const std::string& packagePath, CellFramesMaker makeCellFrames, std::ostream& log)
    : store_(std::make_unique<SourceStore_pkg>(packagePath, log)),
      hop_(store_->isUsable() ? store_->getHopSize() : kFallbackHop),
      rate_(store_->isUsable() ? store_->getSampleRate() : kFallbackRate),
      frameSynth_(rate_, hop_, store_->getParam8(), store_->getPowerAmount(), store_->getPowerCentre(),
                  store_->getPowerWidth(), store_->getHarmLevel(), store_->getNoiseRatio(), store_->getParam28(),
                  static_cast<int>(store_->getBandEdges().size()), store_->getBandEdges().data(),
                  store_->getLayoutBandCount()),
      state_(rate_),
      makeCellFrames_(makeCellFrames)
{
    state_.attachStore(*store_);
    state_.setSymbols(symbolMgrFor(store_->getLanguage()));
}

HalvorenEngine::ScoreSpan SynthJobV6::scoreSpan() const { return HalvorenEngineV3::scoreSpanOf(score_); }

void SynthJobV6::runWorker(int /*index*/, HalvorenEngine::JobContext& job)
{
    if (store_->isUsable()) {
        job_ = &job;
        buildCells(state_, runScore_, *this, makeCellFrames_);
        job_ = nullptr;
    }
    if (!state_.isStopped())
        job.finishJob();
}

void SynthJobV6::prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out)
{
    out.clear();
    if (!store_->isUsable())
        return;
    if (planState_ == nullptr) {
        planState_ = std::make_unique<CellMakerState>(rate_);
        planState_->attachStore(*store_);
        planState_->setSymbols(symbolMgrFor(store_->getLanguage()));
    }
    HalvorenEngineV6::prepareCells(*planState_, score, out);
}

void SynthJobV6::onCellBuilt(Halvoren::SynthFrameV6& frame)
{
    frameSynth_.renderFrame(frame, job_->writer());
}

}  // namespace HalvorenEngineV6
