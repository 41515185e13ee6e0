#include "shell/ExportCommands.h"

#include <climits>
#include <string>

#include "model/document/SSSynthesizerDoc.h"
#include "platform/FileUtil.h"
#include "render/export/ExportMix.h"
#include "render/export/ExportPaths.h"
#include "render/export/SegmentList2WavProcessMgr.h"
#include "render/export/SingTracks2WavsProcessMgr.h"
#include "shell/ExportUi.h"
#include "shell/RenderChecks.h"
#include "shell/SingEntries.h"
#include "shell/services/LanguageMgr.h"

using namespace HVCurrentModel;

namespace {

CString kindLabel(const Track& track) {
    return translate("track") + u"-" + translate(track.kind == kSingingTrack ? "singing" : "instrumental");
}

ExportOutcome runJob(IExportUi& ui, IProcessMgr& job) {
    if (!ui.runProgress(job)) return ExportOutcome::cancelled;
    return job.writeFailed() ? ExportOutcome::failed : ExportOutcome::done;
}

// An entry gathered before the output path is known.
struct PendingEntry {
    ISynth* synth = nullptr;                 // a sung segment, or
    const InstrumentSegment* clip = nullptr;  // a clip
    int startFrame = 0;
    float gain = 1.0f;
    float pan = 0.0f;
};

void addClip(SegmentList2WavProcessMgr& job, const InstrumentSegment& clip, int startFrame, float gain, float pan) {
    // Only samples that exist are read: a channel shorter than the frame
    // count shortens the clip, a missing right channel makes it mono.
    const int frames = static_cast<int>(std::min<size_t>(clip.left.size(), static_cast<size_t>(clip.frames)));
    const int16_t* right = clip.right.size() >= static_cast<size_t>(frames) ? clip.right.data() : nullptr;
    job.addClipJob(clip.left.data(), right, frames, startFrame, gain, pan);
}

}  // namespace

ExportOutcome mixdownToFile(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui) {
    if (doc.isPlaying) return ExportOutcome::stopped;
    if (!checkBeforeSinging(doc)) return ExportOutcome::refused;
    HalvorenModel& model = *doc.getModel();
    std::vector<ExportTrackRow> rows;
    for (size_t i = 0; i < model.tracks.size(); ++i)
        rows.push_back({CString::fromUtf8(model.tracks[i]->name), static_cast<int>(i), kindLabel(*model.tracks[i])});
    std::vector<int> chosen;
    if (!ui.selectExportTracks(rows, chosen)) return ExportOutcome::stopped;

    // The entries are gathered before the file is asked for, as the
    // synthesizers are prepared first; they are only started by the job.
    const OutputStart start(model.tempos, doc.measureToTick(1));
    std::vector<PendingEntry> entries;
    for (int index : chosen) {
        if (index < 0 || static_cast<size_t>(index) >= model.tracks.size()) continue;
        const Track& track = *model.tracks[static_cast<size_t>(index)];
        const float gain = trackGain(track);
        start.singEntries(track, synths, INT_MAX, [&](SingSegment*, ISynth* synth, int frame) {
            entries.push_back({synth, nullptr, frame, gain, track.balance});
        });
        start.clipEntries(track, [&](InstrumentSegment* clip, int frame) {
            entries.push_back({nullptr, clip, frame, gain, track.balance});
        });
    }

    CString path;
    const std::vector<FileFilter> filters = {
        {translate("All supported files") + u"(*.wav, *.mp3)", CString(u"*.wav;*.mp3")},
        {CString(u"Wave(*.wav)"), CString(u"*.wav")},
        {CString(u"Mp3(*.mp3)"), CString(u"*.mp3")},
    };
    if (!ui.showSaveFileDlg(CString(u"wav"), filters, translate("Export"), path) || path.isEmpty())
        return ExportOutcome::stopped;
    if (!isExportExtension(path)) {
        showExportFailure(path);
        return ExportOutcome::failed;
    }

    SegmentList2WavProcessMgr job(path);
    for (const PendingEntry& entry : entries) {
        if (entry.synth != nullptr)
            job.addSingJob(entry.synth, entry.startFrame, entry.gain, entry.pan);
        else
            addClip(job, *entry.clip, entry.startFrame, entry.gain, entry.pan);
    }
    return runJob(ui, job);
}

ExportOutcome exportEachTrack(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui) {
    if (doc.isPlaying) return ExportOutcome::stopped;
    if (!checkBeforeSinging(doc)) return ExportOutcome::refused;
    const CString projectPath = doc.getPath();
    CString folder;
    if (!ui.showBrowseFolderDlg(translate("Export"), getFolderOfPath(projectPath), folder))
        return ExportOutcome::stopped;
    if (!folder.isEmpty() && folder.at(folder.getLength() - 1) != u'/') folder += u'/';
    const std::string base = projectBaseName(projectPath).toUtf8();

    HalvorenModel& model = *doc.getModel();
    const OutputStart start(model.tempos, doc.measureToTick(1));
    SingTracks2WavsProcessMgr job;
    std::string existing;
    for (size_t i = 0; i < model.tracks.size(); ++i) {
        const Track& track = *model.tracks[i];
        if (track.kind != kSingingTrack) continue;
        CString name = CString::fromUtf8(track.name);
        removeInvalidFileNameChars(name);
        TrackExportJob trackJob;
        trackJob.outputPath = folder + CString::fromUtf8(base + "_" + std::to_string(i + 1) + "_") + name + u".wav";
        const float gain = trackGain(track);
        start.singEntries(track, synths, INT_MAX, [&](SingSegment*, ISynth* synth, int frame) {
            trackJob.addSingJob(synth, frame, gain, track.balance);
        });
        if (isFileExist(trackJob.outputPath)) existing += trackJob.outputPath.toUtf8() + "\n";
        job.addTrack(trackJob);
    }
    if (!existing.empty() &&
        !ui.askYesNo(CString::fromUtf8(existing + " ") + translate("already exists, replace it?"), CString(u"-_-!")))
        return ExportOutcome::failed;
    return runJob(ui, job);
}
