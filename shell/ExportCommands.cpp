#include "shell/ExportCommands.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "model/document/SSSynthesizerDoc.h"
#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "render/export/ExportFileWriter.h"
#include "render/export/ExportMix.h"
#include "render/export/ExportPaths.h"
#include "render/export/SegmentList2WavProcessMgr.h"
#include "render/export/SingTracks2WavsProcessMgr.h"
#include "shell/ExportUi.h"
#include "shell/OutputVoices.h"
#include "shell/RenderChecks.h"
#include "shell/SingEntries.h"
#include "shell/services/LanguageMgr.h"

using namespace HVCurrentModel;

namespace {

CString kindLabel(const Track& track) {
    return translate("track") + u"-" + translate(track.kind == kSingingTrack ? "singing" : "instrumental");
}

// The worse of two outcomes of one export.
ExportOutcome worse(ExportOutcome a, ExportOutcome b) {
    auto rank = [](ExportOutcome o) {
        return o == ExportOutcome::failed ? 2 : o == ExportOutcome::unsung ? 1 : 0;
    };
    return rank(b) > rank(a) ? b : a;
}

// Runs the job; once it has run, names the segments whose voice was clipped.
ExportOutcome runJob(IExportUi& ui, IProcessMgr& job, ExportOutcome before, const CSSSynthesizerDoc& doc,
                     const std::vector<SungSegment>& sung) {
    if (!ui.runProgress(job)) return ExportOutcome::cancelled;
    reportClippedVoices(doc, sung);
    return job.writeFailed() ? ExportOutcome::failed : before;
}

// The outcome an output's voices give before it is written.
ExportOutcome outcomeOf(const OutputVoices& voices) {
    voices.report();
    if (voices.hasUnsungSegment()) return ExportOutcome::failed;
    return voices.holdsNothing() ? ExportOutcome::unsung : ExportOutcome::done;
}

void showNothingSung(const CString& path) {
    showMessageBox(path + u"\n" + u"No note is sung: the file is not written.", CString(u"-_-!"),
                   MbButtons::ok, MbIcon::warning);
}

// An entry gathered before the output path is known.
struct PendingEntry {
    ISynth* synth = nullptr;                 // a sung segment, or
    const InstrumentSegment* clip = nullptr;  // a clip, or neither:
    int silentFrames = 0;                    // the silence of a clip not loaded
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
    OutputVoices voices(doc);
    for (int index : chosen) {
        if (index < 0 || static_cast<size_t>(index) >= model.tracks.size()) continue;
        const auto t = static_cast<size_t>(index);
        const Track& track = *model.tracks[t];
        const float gain = trackGain(track);
        start.singEntries(
            track, synths, INT_MAX,
            [&](SingSegment* seg, ISynth* synth, int frame) {
                voices.loaded(t, seg, synth);
                entries.push_back({.synth = synth, .startFrame = frame, .gain = gain, .pan = track.balance});
            },
            [&](SingSegment* seg, ISynth* synth, int from, int to) { voices.inspect(t, seg, synth, from, to); },
            [&](SingSegment* seg) { voices.nothingToSing(t, seg); });
        start.clipEntries(
            track,
            [&](InstrumentSegment* clip, int frame) {
                voices.addClip();
                entries.push_back({.clip = clip, .startFrame = frame, .gain = gain, .pan = track.balance});
            },
            // A clip that could not be loaded keeps its place and length.
            [&](int from, int to) {
                const auto frames = static_cast<int>(std::clamp<int64_t>(int64_t{to} - from, 0, INT_MAX));
                entries.push_back({.silentFrames = frames, .startFrame = from});
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
        showExportFailure(path, "not a .wav or .mp3 file");
        return ExportOutcome::failed;
    }
    const ExportOutcome sung = outcomeOf(voices);
    if (voices.holdsNothing()) {
        showNothingSung(path);
        return sung;
    }

    SegmentList2WavProcessMgr job(path);
    for (const PendingEntry& entry : entries) {
        if (entry.synth != nullptr)
            job.addSingJob(entry.synth, entry.startFrame, entry.gain, entry.pan);
        else if (entry.clip != nullptr)
            addClip(job, *entry.clip, entry.startFrame, entry.gain, entry.pan);
        else
            job.addClipJob(nullptr, nullptr, entry.silentFrames, entry.startFrame, 0.0f, 0.0f);
    }
    return runJob(ui, job, sung, doc, voices.sung());
}

ExportOutcome exportEachTrack(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, IExportUi& ui) {
    if (doc.isPlaying) return ExportOutcome::stopped;
    if (!checkBeforeSinging(doc)) return ExportOutcome::refused;
    const CString projectPath = doc.getPath();
    CString folder;
    if (!ui.showBrowseFolderDlg(translate("Export"), getFolderOfPath(projectPath), folder))
        return ExportOutcome::stopped;
    if (!folder.isEmpty() && folder.at(folder.getLength() - 1) != u'/') folder += u'/';
    const CString base = projectBaseName(projectPath);

    HalvorenModel& model = *doc.getModel();
    const OutputStart start(model.tempos, doc.measureToTick(1));
    // The ".part" file beside each must fit the file system's names too.
    const size_t nameLimit = fileNameLimit(folder) - CString(kPartSuffix).toUtf8().size();
    SingTracks2WavsProcessMgr job;
    std::string existing;
    ExportOutcome sung = ExportOutcome::done;
    std::vector<SungSegment> written;
    for (size_t i = 0; i < model.tracks.size(); ++i) {
        const Track& track = *model.tracks[i];
        if (track.kind != kSingingTrack) continue;
        CString name = CString::fromUtf8(track.name);
        removeInvalidFileNameChars(name);
        TrackExportJob trackJob;
        const CString stem = base + CString::fromUtf8("_" + std::to_string(i + 1) + "_") + name;
        trackJob.outputPath = folder + fitFileName(stem, CString(u".wav"), nameLimit);
        const float gain = trackGain(track);
        OutputVoices voices(doc);
        start.singEntries(
            track, synths, INT_MAX,
            [&](SingSegment* seg, ISynth* synth, int frame) {
                voices.loaded(i, seg, synth);
                trackJob.addSingJob(synth, frame, gain, track.balance);
            },
            [&](SingSegment* seg, ISynth* synth, int from, int to) { voices.inspect(i, seg, synth, from, to); },
            [&](SingSegment* seg) { voices.nothingToSing(i, seg); });
        sung = worse(sung, outcomeOf(voices));
        if (voices.holdsNothing()) {
            showNothingSung(trackJob.outputPath);
            continue;
        }
        written.insert(written.end(), voices.sung().begin(), voices.sung().end());
        if (isFileExist(trackJob.outputPath)) existing += trackJob.outputPath.toPathBytes() + "\n";
        job.addTrack(trackJob);
    }
    if (!existing.empty() &&
        !ui.askYesNo(CString::fromPathBytes(existing + " ") + translate("already exists, replace it?"), CString(u"-_-!")))
        return ExportOutcome::failed;
    return runJob(ui, job, sung, doc, written);
}
