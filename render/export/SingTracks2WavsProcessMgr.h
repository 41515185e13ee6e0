#pragma once
// "Export each track": one stereo WAV file per singing track.
#include <memory>
#include <vector>

#include "render/export/ExportMix.h"
#include "render/export/ProcessMgr.h"

// The sung segments of one track and the file they go to.
struct TrackExportJob {
    struct Entry {
        ISynth* synth = nullptr;  // not owned
        float gain = 1.0f;
        float pan = 0.0f;
        int startFrame = 0;
    };
    // The entry reaches startFrame + the synthesizer's output length.
    void addSingJob(ISynth* synth, int startFrame, float gain, float pan);

    CString outputPath;
    int totalFrames = 0;
    std::vector<Entry> jobs;
    // The track file's keep check (ExportMix::setKeepCheck); none keeps it.
    ExportMix::KeepCheck keepCheck;
};

class SingTracks2WavsProcessMgr final : public SynthsProcessMgr {
public:
    SingTracks2WavsProcessMgr() = default;
    SingTracks2WavsProcessMgr(const SingTracks2WavsProcessMgr&) = delete;
    SingTracks2WavsProcessMgr& operator=(const SingTracks2WavsProcessMgr&) = delete;

    void addTrack(const TrackExportJob& track) { tracks_.push_back(std::make_unique<TrackExportJob>(track)); }

private:
    std::vector<ISynth*> synths() const override;
    // One file per track with at least one entry; a failed file is reported
    // and the next track goes on.
    std::vector<ExportMix*> outputs() override;

    std::vector<std::unique_ptr<TrackExportJob>> tracks_;
    std::vector<std::unique_ptr<ExportMix>> mixes_;
};
