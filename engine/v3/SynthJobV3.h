#pragma once
// The third generation's part of a synthesis job: the bank's store, the
// frame synthesis, the cell makers' state with the bank's symbol manager,
// and the score. Its worker runs the cell building and renders each frame
// it reports at once into the job's output.
//
// A bank the store refuses plans at hop 128 and 44100 Hz, makes no frame
// and still finishes, so what waits for the job goes on.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/ISynthJobBody.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3/FrameSynth.h"
#include "engine/v3/SourceStore_pkg.h"

namespace HalvorenEngineV3 {

// The frame synthesis of a job over its store, at the job's rate and hop.
using FrameSynthMaker = std::unique_ptr<FrameSynth> (*)(ISourceStore& store, float sampleRate, int hop);
// The synthesis of type Synth, built from the store's slots 9 to 17.
template <class Synth>
std::unique_ptr<FrameSynth> frameSynthOf(ISourceStore& store, float sampleRate, int hop)
{
    return std::make_unique<Synth>(sampleRate, hop, store.getParam3(), store.getParam4(), store.getParam5(),
                                   store.getMaxHarmonicFreq(), store.getPhaseSetting(), store.getParam8(),
                                   store.getPowerAmount(), store.getPowerCentre(), store.getPowerWidth());
}

// The lead-in and the first and last note times of the score.
HalvorenEngine::ScoreSpan scoreSpanOf(const HalvorenEngine::SynthScoreV3& score);

class SynthJobV3 final : public HalvorenEngine::ISynthJobBody, private ICellBuildingListener {
public:
    static constexpr int kFallbackHop = 128;
    static constexpr float kFallbackRate = 44100.0f;

    explicit SynthJobV3(const std::string& packagePath, CellBuilder builder = &buildCells,
                        FrameSynthMaker makeSynth = &frameSynthOf<FrameSynth>, std::ostream& log = std::cout);

    HalvorenEngine::SynthScoreV3& score() { return score_; }
    SourceStore_pkg& store() { return *store_; }
    CellMakerState& cellMakerState() { return state_; }
    const std::string& synthText() const { return text_; }

    int frameSize() const override { return FrameSynth::kFrameSize; }
    int hop() const override { return hop_; }
    float sampleRate() const override { return rate_; }
    HalvorenEngine::ScoreSpan scoreSpan() const override { return scoreSpanOf(score_); }
    void beforeStart() override { state_.setStop(false); }
    void requestStop() override { state_.setStop(true); }
    void runWorker(int index, HalvorenEngine::JobContext& job) override;
    void setSynthText(const std::string& text) override { text_ = text; }

private:
    void onCellBuilt(HalvorenEngine::SynthFrameV4& frame) override;

    std::unique_ptr<SourceStore_pkg> store_;
    int hop_;
    float rate_;
    std::unique_ptr<FrameSynth> frameSynth_;
    CellMakerState state_;
    CellBuilder builder_;
    HalvorenEngine::SynthScoreV3 score_;
    std::string text_;
    // The running job, while the worker runs.
    HalvorenEngine::JobContext* job_ = nullptr;
};

}  // namespace HalvorenEngineV3
