#include "render/export/SingTracks2WavsProcessMgr.h"

#include <algorithm>

#include "render/export/ExportMix.h"
#include "render/synth/ISynth.h"

void TrackExportJob::addSingJob(ISynth* synth, int startFrame, float gain, float pan) {
    int count = 0;
    synth->getOutput(&count);
    jobs.push_back({synth, gain, pan, startFrame});
    totalFrames = std::max(totalFrames, clampFrames(int64_t{startFrame} + std::max(count, 0)));
}

std::vector<ISynth*> SingTracks2WavsProcessMgr::synths() const {
    std::vector<ISynth*> out;
    for (const auto& track : tracks_)
        for (const TrackExportJob::Entry& entry : track->jobs) out.push_back(entry.synth);
    return out;
}

std::vector<ExportMix*> SingTracks2WavsProcessMgr::outputs() {
    if (mixes_.empty())
        for (const auto& track : tracks_) {
            if (track->jobs.empty()) continue;
            mixes_.push_back(std::make_unique<ExportMix>(track->outputPath, track->totalFrames));
            mixes_.back()->setKeepCheck(track->keepCheck);
            for (const TrackExportJob::Entry& entry : track->jobs)
                mixes_.back()->addSource(
                    {.synth = entry.synth, .startFrame = entry.startFrame, .gain = entry.gain, .pan = entry.pan});
        }
    std::vector<ExportMix*> out;
    for (const auto& mix : mixes_) out.push_back(mix.get());
    return out;
}
