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

void SingTracks2WavsProcessMgr::finish() {
    for (const auto& track : tracks_) {
        if (track->jobs.empty()) continue;
        const bool written = mixAndWrite(track->outputPath, track->totalFrames, [&track](ExportMix& mix) {
            for (const TrackExportJob::Entry& entry : track->jobs)
                mix.addSynth(entry.synth, entry.startFrame, entry.gain, entry.pan);
        });
        failed_ = failed_ || !written;
    }
}
