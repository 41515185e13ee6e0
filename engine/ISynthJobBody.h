#pragma once
// The generation's part of a synthesis job: its store, score, cell building
// and frame synthesis. The job frame (SynthJob) owns it and runs its workers.
#include <string>

#include "engine/JobPlan.h"

namespace HalvorenEngine {

class SampleOutWriter;

// What a running job offers its workers.
class JobContext {
public:
    virtual SampleOutWriter& writer() = 0;
    // True once stop was called; workers return early when they see it.
    virtual bool isStopRequested() const = 0;
    // Called by the worker that wrote the last frame: finishes the output and
    // tells the listener, unless a stop was requested.
    virtual void finishJob() = 0;

protected:
    ~JobContext() = default;
};

class ISynthJobBody {
public:
    virtual ~ISynthJobBody() = default;

    // The writer's frame size and hop, and the sample rate (from the store).
    virtual int frameSize() const = 0;
    virtual int hop() const = 0;
    virtual float sampleRate() const = 0;
    // The score's lead-in and note times, read when the job is prepared.
    virtual ScoreSpan scoreSpan() const = 0;
    // Why the store cannot read the bank whole or sing it ("<file>: <what is
    // wrong>"), or "" when it can.
    virtual std::string bankFault() const = 0;

    // Worker threads of a run (1 or 2), started in index order.
    virtual int workerCount() const { return 1; }
    // Before the workers start: clears the generation's own stop flags.
    virtual void beforeStart() {}
    // On stop: sets the generation's own stop flags.
    virtual void requestStop() {}
    // One worker's routine.
    virtual void runWorker(int index, JobContext& job) = 0;
    // After every worker has returned: drops what the run built.
    virtual void cleanUp() {}
    // Keeps the text when the generation wants it.
    virtual void setSynthText(const std::string& text) {}
};

}  // namespace HalvorenEngine
