#include "shell/ExportCommands.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
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

// The outcome an output's voices give.
ExportOutcome outcomeOf(const OutputVoices& voices) {
    if (voices.hasUnsungSegment()) return ExportOutcome::failed;
    return voices.holdsNothing() ? ExportOutcome::unsung : ExportOutcome::done;
}

void showNothingSung(const CString& path) {
    showMessageBox(path + u"\n" + u"No note is sung: the file is not written.", CString(u"-_-!"),
                   MbButtons::ok, MbIcon::warning);
}

// One output of a job with what it sings.
struct SungOutput {
    CString path;
    std::unique_ptr<OutputVoices> voices;
};

// The check that keeps an output's file: it still sings once it is sung,
// judged on what was written.
ExportMix::KeepCheck keepWhileSung(OutputVoices& voices) {
    return [&voices](const ExportMix& written) { return voices.checkSung(&written); };
}

// Runs the job; once it has run, names the segments found not sung as they
// were sung, the outputs not written for it and the segments whose voice
// was clipped. An output that could not be written is named by the job for
// that alone. The outcome is the worst of the outputs'.
ExportOutcome runJob(IExportUi& ui, IProcessMgr& job, const std::vector<SungOutput>& outputs,
                     const CSSSynthesizerDoc& doc) {
    if (!ui.runProgress(job)) return ExportOutcome::cancelled;
    ExportOutcome outcome = ExportOutcome::done;
    std::vector<SungSegment> sung;
    for (const SungOutput& out : outputs) {
        // Also for an output that holds no frame, whose keep check never
        // ran; a check already made changes nothing.
        out.voices->checkSung(nullptr);
        out.voices->reportSung();
        if (out.voices->writeFailed()) continue;
        if (out.voices->holdsNothing())
            showNothingSung(out.path);
        else
            sung.insert(sung.end(), out.voices->sung().begin(), out.voices->sung().end());
        outcome = worse(outcome, outcomeOf(*out.voices));
    }
    reportClippedVoices(doc, sung);
    return job.writeFailed() ? ExportOutcome::failed : outcome;
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
    std::vector<SungOutput> outputs(1);
    outputs[0].voices = std::make_unique<OutputVoices>(doc);
    OutputVoices& voices = *outputs[0].voices;
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
    voices.report();
    if (voices.holdsNothing()) {
        showNothingSung(path);
        return outcomeOf(voices);
    }

    outputs[0].path = path;
    SegmentList2WavProcessMgr job(path);
    job.setKeepCheck(keepWhileSung(voices));
    for (const PendingEntry& entry : entries) {
        if (entry.synth != nullptr)
            job.addSingJob(entry.synth, entry.startFrame, entry.gain, entry.pan);
        else if (entry.clip != nullptr)
            addClip(job, *entry.clip, entry.startFrame, entry.gain, entry.pan);
        else
            job.addClipJob(nullptr, nullptr, entry.silentFrames, entry.startFrame, 0.0f, 0.0f);
    }
    return runJob(ui, job, outputs, doc);
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
    ExportOutcome unwritten = ExportOutcome::done;
    std::vector<SungOutput> outputs;
    for (size_t i = 0; i < model.tracks.size(); ++i) {
        const Track& track = *model.tracks[i];
        if (track.kind != kSingingTrack) continue;
        CString name = CString::fromUtf8(track.name);
        removeInvalidFileNameChars(name);
        TrackExportJob trackJob;
        const CString stem = base + CString::fromUtf8("_" + std::to_string(i + 1) + "_") + name;
        trackJob.outputPath = folder + fitFileName(stem, CString(u".wav"), nameLimit);
        const float gain = trackGain(track);
        auto owned = std::make_unique<OutputVoices>(doc);
        OutputVoices& voices = *owned;
        start.singEntries(
            track, synths, INT_MAX,
            [&](SingSegment* seg, ISynth* synth, int frame) {
                voices.loaded(i, seg, synth);
                trackJob.addSingJob(synth, frame, gain, track.balance);
            },
            [&](SingSegment* seg, ISynth* synth, int from, int to) { voices.inspect(i, seg, synth, from, to); },
            [&](SingSegment* seg) { voices.nothingToSing(i, seg); });
        voices.report();
        if (voices.holdsNothing()) {
            unwritten = worse(unwritten, outcomeOf(voices));
            showNothingSung(trackJob.outputPath);
            continue;
        }
        if (isFileExist(trackJob.outputPath)) existing += trackJob.outputPath.toPathBytes() + "\n";
        trackJob.keepCheck = keepWhileSung(voices);
        job.addTrack(trackJob);
        outputs.push_back({trackJob.outputPath, std::move(owned)});
    }
    if (!existing.empty() &&
        !ui.askYesNo(CString::fromPathBytes(existing + " ") + translate("already exists, replace it?"), CString(u"-_-!")))
        return ExportOutcome::failed;
    const ExportOutcome sung = runJob(ui, job, outputs, doc);
    return sung == ExportOutcome::cancelled ? sung : worse(unwritten, sung);
}
