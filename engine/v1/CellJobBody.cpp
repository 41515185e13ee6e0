#include "engine/v1/CellJobBody.h"

#include "dsp/SampleOutWriter.h"
#include "platform/Rand.h"

namespace HalvorenEngineV1 {

HalvorenEngine::ScoreSpan scoreSpanOf(const HalvorenEngine::SynthScoreV1& score)
{
    return HalvorenEngine::scoreSpanOfNotes(score.leadIn, score.notes);
}

CellJobBody::CellJobBody(Generation generation, int frameSize, bool usable, int hop, float rate)
    : generation_(generation), frameSize_(frameSize), usable_(usable), hop_(usable ? hop : kFallbackHop),
      rate_(usable ? rate : kFallbackRate)
{
}

void CellJobBody::beforeStart()
{
    queue_.reset();
    stop_.store(false, std::memory_order_release);
}

void CellJobBody::requestStop()
{
    stop_.store(true, std::memory_order_release);
    queue_.requestStop();
}

void CellJobBody::runWorker(int index, HalvorenEngine::JobContext& job)
{
    if (index == 0)
        buildAll(job);
    else
        synthesiseAll(job);
}

void CellJobBody::cleanUp()
{
    queue_.reset();
    clearSources();
}

void CellJobBody::buildAll(HalvorenEngine::JobContext& job)
{
    if (!usable_) {
        queue_.setAllBuilt();
        return;
    }
    CellBuildInput input;
    input.generation = generation_;
    input.score = &scoreV1();
    input.power = powerPoints();
    input.sampleRate = rate_;
    input.hop = hop_;
    // The output holds (frames + 1) hops.
    input.outputFrames = job.writer().length() / hop_ - 1;
    input.fetch = [this](const std::string& u, const std::string& e, const std::string& b, const std::string& c,
                         const std::string& notePitch) { return fetchSource(u, e, b, c, notePitch); };
    input.draw = &hvRand;
    buildCells(input, queue_, stop_);
}

void CellJobBody::synthesiseAll(HalvorenEngine::JobContext& job)
{
    while (std::unique_ptr<Cell> cell = queue_.takeNext()) {
        // A cell before the output's start has nowhere to go.
        if (cell->number >= 0)
            synthCell(*cell, job.writer());
    }
    if (queue_.finished())
        job.finishJob();
}

}  // namespace HalvorenEngineV1
