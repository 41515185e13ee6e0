#pragma once
// What the first two generations' jobs share: two workers over a cell
// queue, the building thread (worker 0) making cells from the score and the
// synthesis thread (worker 1) rendering each as it comes and freeing it.
// The synthesis thread finishes the job once every cell is rendered. A bank
// its store refuses makes no cell, and the job still finishes.
#include <atomic>

#include "engine/ISynthJobBody.h"
#include "engine/SynthScoreV1.h"
#include "engine/v1/CellBuilding.h"
#include "engine/v1/CellQueue.h"

namespace HalvorenEngineV1 {

// The lead-in, the first note's start and the times of the note that ends
// latest.
HalvorenEngine::ScoreSpan scoreSpanOf(const HalvorenEngine::SynthScoreV1& score);

class CellJobBody : public HalvorenEngine::ISynthJobBody {
public:
    // The hop and rate a refused bank is planned at.
    static constexpr int kFallbackHop = 256;
    static constexpr float kFallbackRate = 44100.0f;

    // usable false: the bank cannot be rendered; hop and rate are then the
    // fallbacks.
    CellJobBody(Generation generation, int frameSize, bool usable, int hop, float rate);

    int frameSize() const override { return frameSize_; }
    int hop() const override { return hop_; }
    float sampleRate() const override { return rate_; }
    HalvorenEngine::ScoreSpan scoreSpan() const override { return scoreSpanOf(scoreV1()); }
    int workerCount() const override { return 2; }
    void beforeStart() override;
    void requestStop() override;
    void runWorker(int index, HalvorenEngine::JobContext& job) override;
    void cleanUp() override;

    CellQueue& queue() { return queue_; }

protected:
    virtual const HalvorenEngine::SynthScoreV1& scoreV1() const = 0;
    // The Power points (second generation), or null.
    virtual const std::vector<HalvorenEngine::CurvePoint>* powerPoints() const { return nullptr; }
    // The note's synthesis source, on the building thread.
    virtual SourceView fetchSource(const std::string& u, const std::string& e, const std::string& b,
                                   const std::string& c, const std::string& notePitch) = 0;
    // One cell into the output, on the synthesis thread.
    virtual void synthCell(Cell& cell, HalvorenEngine::SampleOutWriter& out) = 0;
    // Drops the synthesis sources of the run.
    virtual void clearSources() = 0;

private:
    void buildAll(HalvorenEngine::JobContext& job);
    void synthesiseAll(HalvorenEngine::JobContext& job);

    Generation generation_;
    int frameSize_;
    bool usable_;
    int hop_;
    float rate_;
    CellQueue queue_;
    std::atomic<bool> stop_{true};
};

}  // namespace HalvorenEngineV1
