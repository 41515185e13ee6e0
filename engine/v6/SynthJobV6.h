#pragma once
// The sixth generation's part of a synthesis job (banks "6.0" and "6.1"):
// the bank's store, the cell makers' state with the bank's symbol manager,
// and the score. Its worker walks the score into cells and has each cell's
// frames made; every frame is reported as soon as it is made.
//
// A bank the store refuses plans at hop 128 and 44100 Hz, makes no frame
// and still finishes, so what waits for the job goes on.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/ISynthJobBody.h"
#include "engine/SynthScoreV3.h"
#include "engine/v6/BuildCells.h"
#include "engine/v6/CellParts.h"
#include "engine/v6/FrameSynth.h"
#include "engine/v6/SourceStore_pkg.h"

namespace HalvorenEngineV6 {

class SynthJobV6 final : public HalvorenEngine::ISynthJobBody, private ICellBuildingListener {
public:
    static constexpr int kFrameSize = 512;
    static constexpr int kFallbackHop = 128;
    static constexpr float kFallbackRate = 44100.0f;

    // makeCellFrames makes each cell's frames (the cell parts unless a test
    // replaces them); null makes none.
    explicit SynthJobV6(const std::string& packagePath, CellFramesMaker makeCellFrames = &HalvorenEngineV6::makeCellFrames,
                        std::ostream& log = std::cerr);

    HalvorenEngine::SynthScoreV3& score() { return score_; }
    SourceStore_pkg& store() { return *store_; }
    std::string bankFault() const override { return store_->bankFault(); }
    CellMakerState& cellMakerState() { return state_; }
    const std::string& synthText() const { return text_; }

    int frameSize() const override { return kFrameSize; }
    int hop() const override { return hop_; }
    float sampleRate() const override { return rate_; }
    HalvorenEngine::ScoreSpan scoreSpan() const override;
    // The run sings a copy of the score taken here, on the caller's thread,
    // so that the score may be planned (prepareCells) while it runs.
    void beforeStart() override
    {
        state_.setStop(false);
        runScore_ = score_;
    }
    void requestStop() override { state_.setStop(true); }
    void runWorker(int index, HalvorenEngine::JobContext& job) override;
    void setSynthText(const std::string& text) override { text_ = text; }
    // The timing of score's cells as the editor shows it, planned with a
    // cell-maker state and record cache of its own over the store.
    void prepareCells(HalvorenEngine::SynthScoreV3& score, std::vector<HalvorenEngine::NoteTimes>& out);

private:
    void onCellBuilt(Halvoren::SynthFrameV6& frame) override;

    std::unique_ptr<SourceStore_pkg> store_;
    int hop_;
    float rate_;
    FrameSynth frameSynth_;
    CellMakerState state_;
    CellFramesMaker makeCellFrames_;
    HalvorenEngine::JobContext* job_ = nullptr;
    std::unique_ptr<CellMakerState> planState_;
    HalvorenEngine::SynthScoreV3 score_;
    HalvorenEngine::SynthScoreV3 runScore_;
    std::string text_;
};

}  // namespace HalvorenEngineV6
