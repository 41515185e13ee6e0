#pragma once
// The part of a synthesis job shared by the generations that build cells:
// the bank's store, the frame synthesis, the cell makers' state with the
// bank's symbol manager, and the score. Its worker runs the cell building
// and renders each frame it reports at once into the job's output.
//
// Parts names the generation's Store, FrameSynth and State, and makes the
// symbol manager from the store (makeSymbols); the front passes the maker of
// the frame synthesis, which may be a bank version's own derived from
// FrameSynth. A bank the store refuses plans at hop 128 and 44100 Hz,
// makes no frame and still finishes, so what waits for the job goes on.
#include <memory>
#include <ostream>
#include <string>

#include "engine/CellListCache.h"
#include "engine/ISynthJobBody.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/ICellBuildingListener.h"

namespace HalvorenEngineV3 {

// The lead-in, the first note's start and the times of the note that ends
// latest.
HalvorenEngine::ScoreSpan scoreSpanOf(const HalvorenEngine::SynthScoreV3& score);

template <class Parts>
class CellJobBody : public HalvorenEngine::ISynthJobBody, private ICellBuildingListener {
public:
    using Store = typename Parts::Store;
    using Synth = typename Parts::FrameSynth;
    using State = typename Parts::State;
    // The builder may write what it clamps back into the score.
    using Builder = void (*)(State& state, HalvorenEngine::SynthScoreV3& score,
                             HalvorenEngine::CellListCache& list);
    using SynthMaker = std::unique_ptr<Synth> (*)(Store& store, float sampleRate, int hop);

    static constexpr int kFallbackHop = 128;
    static constexpr float kFallbackRate = 44100.0f;

    CellJobBody(const std::string& packagePath, Builder builder, SynthMaker makeSynth, std::ostream& log)
        : store_(std::make_unique<Store>(packagePath, log)),
          hop_(store_->isUsable() ? store_->getHopSize() : kFallbackHop),
          rate_(store_->isUsable() ? store_->getSampleRate() : kFallbackRate),
          frameSynth_(makeSynth(*store_, rate_, hop_)),
          state_(*store_, Parts::makeSymbols(*store_)),
          builder_(builder)
    {
    }

    HalvorenEngine::SynthScoreV3& score() { return score_; }
    Store& store() { return *store_; }
    State& cellMakerState() { return state_; }
    const std::string& synthText() const { return text_; }

    int frameSize() const override { return Synth::kFrameSize; }
    int hop() const override { return hop_; }
    float sampleRate() const override { return rate_; }
    HalvorenEngine::ScoreSpan scoreSpan() const override { return scoreSpanOf(score_); }
    std::string bankFault() const override { return store_->bankFault(); }
    void beforeStart() override { state_.setStop(false); }
    void requestStop() override { state_.setStop(true); }
    void setSynthText(const std::string& text) override { text_ = text; }

    void runWorker(int /*index*/, HalvorenEngine::JobContext& job) override
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

private:
    void onCellBuilt(HalvorenEngine::SynthFrameV4& frame) override { frameSynth_->renderFrame(frame, job_->writer()); }

    std::unique_ptr<Store> store_;
    int hop_;
    float rate_;
    std::unique_ptr<Synth> frameSynth_;
    State state_;
    Builder builder_;
    HalvorenEngine::SynthScoreV3 score_;
    std::string text_;
    // The running job, while the worker runs.
    HalvorenEngine::JobContext* job_ = nullptr;
};

}  // namespace HalvorenEngineV3
