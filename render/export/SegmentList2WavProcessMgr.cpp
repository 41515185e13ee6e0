#include "render/export/SegmentList2WavProcessMgr.h"

#include <algorithm>

#include "render/export/ExportMix.h"
#include "render/synth/ISynth.h"

void SegmentList2WavProcessMgr::addSingJob(ISynth* synth, int startFrame, float gain, float pan) {
    int count = 0;
    synth->getOutput(&count);
    jobs_.push_back({.synth = synth, .kind = 0, .gain = gain, .pan = pan, .startFrame = startFrame});
    totalFrames_ = std::max(totalFrames_, clampFrames(int64_t{startFrame} + std::max(count, 0)));
}

void SegmentList2WavProcessMgr::addClipJob(const int16_t* left, const int16_t* right, int frames, int startFrame,
                                           float gain, float pan) {
    jobs_.push_back({.left = left,
                     .right = right,
                     .frames = frames,
                     .kind = 1,
                     .gain = gain,
                     .pan = pan,
                     .startFrame = startFrame});
    totalFrames_ = std::max(totalFrames_, clampFrames(int64_t{startFrame} + std::max(frames, 0)));
}

CString SegmentList2WavProcessMgr::formatName() const {
    return CString(isMp3Path(outputPath_) ? u"MP3" : u"WAV");
}

std::vector<ISynth*> SegmentList2WavProcessMgr::synths() const {
    std::vector<ISynth*> out;
    for (const ExportJob& job : jobs_)
        if (job.kind == 0) out.push_back(job.synth);
    return out;
}

std::vector<ExportMix*> SegmentList2WavProcessMgr::outputs() {
    if (totalFrames_ < 1) return {};
    if (!mix_) {
        mix_ = std::make_unique<ExportMix>(outputPath_, totalFrames_);
        mix_->setKeepCheck(keep_);
        for (const ExportJob& job : jobs_)
            mix_->addSource({.synth = job.kind == 0 ? job.synth : nullptr,
                             .left = job.left,
                             .right = job.right,
                             .frames = job.frames,
                             .startFrame = job.startFrame,
                             .gain = job.gain,
                             .pan = job.pan});
    }
    return {mix_.get()};
}
