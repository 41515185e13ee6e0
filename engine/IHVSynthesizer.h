#pragma once
// One synthesis job of any engine generation, as the editor side drives it:
// made by its generation's factory, given a listener and its input, prepared,
// started, read while it runs, stopped and handed to the engine manager,
// which deletes it once it is idle. Users never delete a synthesizer.
#include <cstdint>
#include <string>

#include "engine/HVSynthListener.h"

namespace HalvorenEngine {

class IHVSynthesizer {
public:
    virtual ~IHVSynthesizer() = default;
    // The job's listener; null is allowed. Cleared when a stop has finished.
    // A listener must outlive the job's release (or its replacement here):
    // once stop, or this call, has returned, the old listener hears nothing.
    virtual void setListener(HVSynthListener* listener) = 0;
    // A text kept with the job.
    virtual void setSynthText(const std::string& text) = 0;
    // True when the job is stopped and its clean-up has finished, and on a
    // new synthesizer.
    virtual bool isReady() = 0;
    // Plans the job, computes its start offset and fills the output with
    // silence for the whole job; only on an idle, unprepared job.
    virtual void prepare() = 0;
    // Prepares if needed, then starts the worker threads of an idle job.
    virtual void start() = 0;
    // Asks the workers to stop and starts the clean-up; nothing while a
    // clean-up is pending.
    virtual void stop() = 0;
    // First sample of the output; *count receives the samples it holds.
    virtual const short* getOutput(int* count) = 0;
    // Output samples written so far.
    virtual int samplesDone() = 0;
    // Samples written so far counted from the start offset (negative before
    // it), or 2147483647 once the whole output is written.
    virtual int samplesReady() = 0;
    // Output samples that did not fit 16 bits and were saturated.
    virtual std::int64_t samplesSaturated() = 0;
    // Why the bank cannot be read whole or sung ("<file>: <what is wrong>"),
    // or "" when it can.
    virtual std::string bankFault() = 0;
};

}  // namespace HalvorenEngine
