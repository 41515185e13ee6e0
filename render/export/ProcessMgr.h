#pragma once
// An export job: every synthesizer of the job renders on the engine's worker
// threads while the progress dialog polls the job; the job mixes and writes
// its file(s) on the main thread block by block as the synthesizers deliver,
// and completes them once all are done.
#include <cstdint>
#include <vector>

#include "platform/CString.h"

class ExportMix;
class ISynth;

class IProcessMgr {
public:
    // Starts every synthesizer of the job, in order.
    virtual void start() = 0;
    // 0..100; 100 once every synthesizer has written its whole output (and
    // for a job without entries).
    virtual int progress() = 0;
    // Stops every synthesizer of the job; nothing is written and what was
    // begun is removed.
    virtual void cancel() = 0;
    // The last value computed by progress() is 100.
    virtual bool isFinished() = 0;
    // 0..100 for the progress bar: the share of the output frames written
    // (an MP3 is encoded as it is written), or progress() when there is
    // nothing to write; 100 once every output is complete.
    virtual int writtenShare() = 0;
    // The files' format for the progress title: "WAV" or "MP3".
    virtual CString formatName() const = 0;
    // "synthesizing..." while rendering, "writing file..." at 100 (translated).
    virtual CString statusText() = 0;
    // Writes a few blocks of what the synthesizers have delivered; true once
    // every output is complete (only after isFinished).
    virtual bool deliver() = 0;
    // Writes what is left and completes the file(s); a failure, and an
    // output some of whose samples were clipped, is shown in a message box
    // (nothing of an output its keep check dropped).
    virtual void finish() = 0;
    // Whether finish() failed to write a file.
    virtual bool writeFailed() const = 0;

protected:
    ~IProcessMgr() = default;
};

// What the export jobs share: their synthesizers start, report and stop
// together, and their outputs are written as the synthesizers deliver.
// Progress: 100 without synthesizers, or when the samples done equal the
// output lengths (also 0 of 0); else the share done, truncated and clamped
// to 0..99. Clips do not count.
class SynthsProcessMgr : public IProcessMgr {
public:
    // Blocks written by one call of deliver.
    static constexpr int kBlocksPerDelivery = 8;

    void start() override;
    int progress() override;
    void cancel() override;
    bool isFinished() override { return lastProgress_ == 100; }
    int writtenShare() override;
    CString formatName() const override { return CString(u"WAV"); }
    CString statusText() override;
    bool deliver() override;
    void finish() override;
    bool writeFailed() const override { return failed_; }

protected:
    ~SynthsProcessMgr() = default;
    // The job's synthesizers, in order.
    virtual std::vector<ISynth*> synths() const = 0;
    // The job's outputs with anything to write, in order; made on first use.
    virtual std::vector<ExportMix*> outputs() = 0;

private:
    bool failed_ = false;
    bool finished_ = false;
    int lastProgress_ = 0;
};
