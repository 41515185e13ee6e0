#include "shell/HalvorenApp.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "lyrics/PinyinDict.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectFile.h"
#include "platform/ExeDir.h"
#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "render/audio/AudioSingleton.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/DocPlayersInstall.h"
#include "render/synth/SegmentSynthMgr.h"
#include "shell/ClipsNotLoaded.h"
#include "shell/CommandLineExportUi.h"
#include "shell/CommandLineImport.h"
#include "shell/ExportCommands.h"
#include "shell/Interrupt.h"
#include "shell/MainFrame.h"
#include "shell/OutputChecks.h"
#include "shell/PlaybackSession.h"
#include "shell/RenderChecks.h"
#include "shell/services/AppConfig.h"
#include "shell/services/LanguageMgr.h"
#include "voicebank/SingerMgr.h"

namespace {

constexpr std::chrono::milliseconds kPlayPoll{50};

void say(const std::string& message) {
    std::fprintf(stderr, "halvoren: %s\n", message.c_str());
    std::fflush(stderr);
}

int fail(int code, const std::string& message) {
    say(message);
    return code;
}

// Settings, UI language, the sound-card players (before the document is
// first used), the dictionary, then the singers: registry, then folder.
void startUp(const HalvorenEnvironment& env) {
    getAppConfig();
    getLanguageMgr();
    installDocPlayers();
    // Without its folder the dictionary is not loaded and the user is told
    // so in one line.
    const CString dict = getExeDir() + u"/dict";
    if (isDirectory(dict))
        getPinyinDict().load(dict);
    else
        showMessageBox(translate("Dictionary file not exist"), CString(u">_<"));
    getSingerList()->loadFromRegistry();
    getSingerList()->loadFromFolder();
    getEngineMap().setMakers(env.makers ? *env.makers : programSynthMakers());
}

// No settings are written: the synthesizers go, then the audio library.
void shutDown() {
    getEngineMap().clear();
    destroyAudioSingleton();
}

int exitOf(ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::done: return kExitDone;
        case ExportOutcome::refused:
        case ExportOutcome::unsung: return kExitRefused;
        case ExportOutcome::cancelled: return kExitInterrupted;
        case ExportOutcome::failed:
        case ExportOutcome::stopped: return kExitOutputFailed;
    }
    return kExitOutputFailed;
}

// Opens the project or score as the Open command does; 0 or the exit code.
// A project that does not read to its end opens with what was read, named;
// so does one whose lists hold fewer records than their counts or whose
// blocks hold other damage, read to its end past them.
int openProject(const CommandLine& line, CSSSynthesizerDoc& doc, CMainFrame& frame, OpenedProject& opened) {
    const std::string& file = line.file;
    const std::string ext = lowerCaseExt(file);
    if (ext == "mid" || ext == "vsqx") {
        const ScoreReadOutcome outcome = openScore(frame, file, line);
        return outcome.exitCode ? fail(outcome.exitCode, outcome.error) : kExitDone;
    }
    if (ext != "ot" && ext != "hv")
        return fail(kExitCannotOpen, file + ": neither a project (.ot, .hv) nor a score (.mid, .vsqx)");
    const CString path = CString::fromPathBytes(file);
    // A file no generation's check accepts is not read as a project: what is
    // saved later must come from what was read.
    const std::string problem = projectFileProblem(path);
    if (!problem.empty()) return fail(kExitCannotOpen, "cannot open " + file + ": " + problem);
    // A project of a newer version has said so in its message box.
    HVCurrentModel::HalvorenModel* model = loadProjectFile(path, ReadLimits(), &opened.stop);
    if (model == nullptr) return fail(kExitCannotOpen, "cannot open " + file);
    opened.path = path;
    if (opened.stop.stopped) {
        say(file + " " + readOnlyTo(opened.stop) +
            ": past that point it opens with defaults, and --save will not write over it");
    } else {
        if (opened.stop.shortLists.count > 0)
            say(file + " " + fewerRecords(opened.stop) +
                ": it opens with the records it holds and all the rest of the project, and --save will not write "
                "over it");
        if (opened.stop.damagedBlocks.count > 0)
            say(file + " " + damageWithin(opened.stop) +
                ": it opens with what precedes the damage and all the rest of the project, and --save will not "
                "write over it");
    }
    if (!opened.stop.leftOut.empty())
        say(file + " opens without " + opened.stop.leftOut +
            ", which this editor cannot read, and --save will not write over it");
    doc.setModel(model, path);
    frame.resetAllViews();
    nameClipsNotLoaded(doc);
    return kExitDone;
}

// --fix-overlaps on a project or VSQX score: every segment's overlapping
// notes are fixed, as the MIDI import fixes those of the tracks it takes.
void fixAllNoteOverlaps(CSSSynthesizerDoc& doc) {
    for (HVCurrentModel::SingSegment* seg : doc.collectAllSegments())
        if (seg->notes.hasOverlapped()) doc.fixNoteOverlaps(seg);
}

// The 0-based tracks of --tracks; 0 with them in `chosen`, or the exit code.
int chosenTracks(const CommandLine& line, const CSSSynthesizerDoc& doc, std::vector<int>& chosen) {
    const size_t trackCount = doc.getModel()->tracks.size();
    for (int n : line.tracks) {
        if (static_cast<size_t>(n) > trackCount)
            return fail(kExitUsage, "--tracks: the project has " + std::to_string(trackCount) +
                                        (trackCount == 1 ? " track" : " tracks") + ", not " + std::to_string(n));
        chosen.push_back(n - 1);
    }
    return kExitDone;
}

// Saves the project; a file at the path that no generation's check accepts,
// or a project that does not read to its end, is kept as it is (it may be
// anything the user keeps there, or more than was read of it). A project
// the file cannot hold is refused before anything is built.
int saveProject(CSSSynthesizerDoc& doc, const std::string& file, const OpenedProject& opened) {
    const CString path = CString::fromPathBytes(file);
    if (const std::string problem = saveOverProblem(path, opened); !problem.empty())
        return fail(kExitOutputFailed, "will not save over " + file + ": " + problem);
    if (const std::string problem = projectSaveProblem(*doc.getModel()); !problem.empty())
        return fail(kExitOutputFailed, "cannot save " + file + ": " + problem);
    const PartialFileOnInterrupt partial(resolveSymbolicLinks(path) + u".tmp");
    if (!doc.saveAs(path)) return fail(kExitOutputFailed, "cannot save " + file + ": " + systemErrorText(errno));
    return kExitDone;
}

int play(CSSSynthesizerDoc& doc) {
    const PolledInterrupt polled;
    auto* group = dynamic_cast<AudioStreamGroup*>(&doc.trackMix());
    if (group == nullptr || !group->player().hasStream()) return kExitNoDevice;  // the player has said so
    PlaybackSession session(doc, getEngineMap(), *group);
    if (!session.start(doc.measureToTick(1), doc.getProjectEndTick())) return kExitRefused;
    bool streaming = false;
    for (;;) {
        if (interruptRequested()) return kExitInterrupted;  // the session stops as it goes
        if (!streaming && session.gateOpen()) {
            session.startStream();
            streaming = true;
        }
        // Played to the end; a segment its bank could not sing is named.
        if (streaming && session.finished()) {
            session.checkPlayed();
            return session.hasUnsungSegment() ? kExitOutputFailed : kExitDone;
        }
        std::this_thread::sleep_for(kPlayPoll);
    }
}

// The exit code of an export, with the option that would help.
int exportExit(const CSSSynthesizerDoc& doc, ExportOutcome outcome) {
    if (outcome == ExportOutcome::refused && hasOverlappingNotes(doc))
        std::fputs("halvoren: --fix-overlaps fixes overlapping notes as the file is read\n", stderr);
    if (interruptRequested()) return kExitInterrupted;
    return exitOf(outcome);
}

int runActions(const CommandLine& line, const HalvorenEnvironment& env) {
    CSSSynthesizerDoc& doc = *getDoc();
    CMainFrame frame(&doc);
    OpenedProject opened;
    if (int code = openProject(line, doc, frame, opened)) return code;
    // Before the import: the document's overlap fix leaves alone what its
    // history may point at, and the import makes history.
    if (line.fixOverlaps && lowerCaseExt(line.file) != "mid") fixAllNoteOverlaps(doc);
    if (!line.importMidiPath.empty()) {
        const ScoreReadOutcome outcome = importMidi(frame, line.importMidiPath, line);
        if (outcome.exitCode) return fail(outcome.exitCode, outcome.error);
    }

    CommandLineExportUi ui;
    ui.overwrite = line.overwrite;
    ui.progressBar = env.stderrIsTerminal && !line.quiet ? stderr : nullptr;
    // The track numbers are checked against the project before any action.
    if (int code = chosenTracks(line, doc, ui.tracks)) return code;
    // So is the folder of --export-each-track: the last action's place is
    // not found missing after the others have written.
    if (!line.eachTrackDir.empty())
        if (const std::string problem = folderProblem(CString::fromPathBytes(line.eachTrackDir)); !problem.empty())
            return fail(kExitOutputFailed, "--export-each-track: cannot write into " + line.eachTrackDir + ": " + problem);

    if (!line.savePath.empty())
        if (int code = saveProject(doc, line.savePath, opened)) return code;
    if (!line.mixdownPath.empty()) {
        ui.outputPath = CString::fromPathBytes(line.mixdownPath);
        if (int code = exportExit(doc, mixdownToFile(doc, getEngineMap(), ui))) return code;
    }
    if (!line.eachTrackDir.empty()) {
        ui.folder = CString::fromPathBytes(line.eachTrackDir);
        if (int code = exportExit(doc, exportEachTrack(doc, getEngineMap(), ui))) return code;
    }
    if (line.play) return play(doc);
    return kExitDone;
}

}  // namespace

int halvorenMain(const std::vector<std::string>& args, const HalvorenEnvironment& env) {
    std::string error;
    std::optional<CommandLine> line = parseCommandLine(args, error);
    if (!line) {
        std::fprintf(stderr, "halvoren: %s\n%s", error.c_str(), usageText().c_str());
        return kExitUsage;
    }
    if (line->help) {
        std::fputs(usageText().c_str(), stdout);
        return kExitDone;
    }
    makePathsAbsolute(*line);
    startUp(env);
    const int code = runActions(*line, env);
    shutDown();
    return code;
}
