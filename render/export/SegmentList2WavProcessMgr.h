#pragma once
// "Mixdown to file": every chosen sung segment and instrumental clip mixed
// into one stereo 16-bit 44100 Hz file, WAV or MP3 by the path's extension.
#include <cstdint>
#include <list>
#include <memory>

#include "render/export/ExportMix.h"
#include "render/export/ProcessMgr.h"

// One entry of a mixdown: a sung segment's synthesizer (kind 0) or a clip's
// samples (kind 1), neither owned.
struct ExportJob {
    ISynth* synth = nullptr;
    const int16_t* left = nullptr;
    const int16_t* right = nullptr;  // null for a mono clip
    int frames = 0;
    int kind = 0;
    float gain = 1.0f;  // 0 for a muted track
    float pan = 0.0f;
    int startFrame = 0;  // frames from the export start; may be negative
};

class SegmentList2WavProcessMgr final : public SynthsProcessMgr {
public:
    explicit SegmentList2WavProcessMgr(const CString& outputPath) : outputPath_(outputPath) {}
    SegmentList2WavProcessMgr(const SegmentList2WavProcessMgr&) = delete;
    SegmentList2WavProcessMgr& operator=(const SegmentList2WavProcessMgr&) = delete;

    // The entry reaches startFrame + its length (the synthesizer's output
    // length, read now, or the clip's frames). A clip without samples (left
    // null) is silence of its frames.
    void addSingJob(ISynth* synth, int startFrame, float gain, float pan);
    void addClipJob(const int16_t* left, const int16_t* right, int frames, int startFrame, float gain, float pan);

    // The output's keep check (ExportMix::setKeepCheck).
    void setKeepCheck(ExportMix::KeepCheck keep) { keep_ = std::move(keep); }

    int totalFrames() const { return totalFrames_; }
    // "MP3" for an MP3 file, else "WAV".
    CString formatName() const override;

private:
    std::vector<ISynth*> synths() const override;
    // Nothing (no file, no message) while totalFrames is 0.
    std::vector<ExportMix*> outputs() override;

    CString outputPath_;
    int totalFrames_ = 0;
    std::list<ExportJob> jobs_;
    ExportMix::KeepCheck keep_;
    std::unique_ptr<ExportMix> mix_;
};
