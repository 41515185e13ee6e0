#include "shell/HalvorenApp.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "lyrics/PinyinDict.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectFile.h"
#include "platform/ExeDir.h"
#include "platform/FileUtil.h"
#include "platform/StringUtil.h"
#include "render/audio/AudioSingleton.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/DocPlayersInstall.h"
#include "render/synth/SegmentSynthMgr.h"
#include "shell/CommandLineExportUi.h"
#include "shell/ExportCommands.h"
#include "shell/Interrupt.h"
#include "shell/MainFrame.h"
#include "shell/PlaybackSession.h"
#include "shell/services/AppConfig.h"
#include "shell/services/LanguageMgr.h"
#include "voicebank/SingerMgr.h"

namespace {

constexpr std::chrono::milliseconds kPlayPoll{50};

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "halvoren: %s\n", message.c_str());
    std::fflush(stderr);
    return code;
}

// Settings, UI language, the sound-card players (before the document is
// first used), the dictionary, then the singers: registry, then folder.
void startUp(const HalvorenEnvironment& env) {
    getAppConfig();
    getLanguageMgr();
    installDocPlayers();
    getPinyinDict().load(getExeDir() + u"/dict");
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
        case ExportOutcome::refused: return kExitRefused;
        case ExportOutcome::cancelled: return kExitInterrupted;
        case ExportOutcome::failed:
        case ExportOutcome::stopped: return kExitOutputFailed;
    }
    return kExitOutputFailed;
}

// Opens the project as the Open command does; 0 or the exit code.
int openProject(const std::string& file, CSSSynthesizerDoc& doc, CMainFrame& frame) {
    const std::string ext = toLowerAscii(getFileExt(CString::fromUtf8(file)).toUtf8());
    if (ext == "mid" || ext == "vsqx")
        return fail(kExitCannotOpen, file + ": importing ." + ext + " files is not available yet");
    if (ext != "ot" && ext != "hv") return fail(kExitCannotOpen, file + ": not a project file (.ot or .hv)");
    std::error_code ec;
    const std::string path = std::filesystem::absolute(file, ec).string();
    const CString cpath = CString::fromUtf8(ec ? file : path);
    HVCurrentModel::HalvorenModel* model = loadProjectFile(cpath);
    if (model == nullptr) return fail(kExitCannotOpen, "cannot open " + file);
    doc.setModel(model, cpath);
    frame.resetAllViews();
    return kExitDone;
}

int play(CSSSynthesizerDoc& doc) {
    auto* group = dynamic_cast<AudioStreamGroup*>(&doc.trackMix());
    if (group == nullptr || !group->player().hasStream()) return kExitNoDevice;
    PlaybackSession session(doc, getEngineMap(), *group);
    if (!session.start(doc.measureToTick(1), doc.getProjectEndTick())) return kExitRefused;
    bool streaming = false;
    for (;;) {
        if (interruptRequested()) return kExitInterrupted;  // the session stops as it goes
        if (!streaming && session.gateOpen()) {
            session.startStream();
            streaming = true;
        }
        if (streaming && session.finished()) return kExitDone;
        std::this_thread::sleep_for(kPlayPoll);
    }
}

int runActions(const CommandLine& line, const HalvorenEnvironment& env) {
    CSSSynthesizerDoc& doc = *getDoc();
    CMainFrame frame(&doc);
    if (int code = openProject(line.file, doc, frame)) return code;

    if (!line.savePath.empty() && !doc.saveAs(CString::fromUtf8(line.savePath)))
        return fail(kExitOutputFailed, "cannot save " + line.savePath);

    CommandLineExportUi ui;
    ui.overwrite = line.overwrite;
    ui.progressBar = env.stderrIsTerminal && !line.quiet ? stderr : nullptr;
    if (!line.mixdownPath.empty()) {
        const size_t trackCount = doc.getModel()->tracks.size();
        for (int n : line.tracks) {
            if (static_cast<size_t>(n) > trackCount)
                return fail(kExitUsage, "--tracks: the project has " + std::to_string(trackCount) + " tracks, not " +
                                            std::to_string(n));
            ui.tracks.push_back(n - 1);
        }
        ui.outputPath = CString::fromUtf8(line.mixdownPath);
        if (int code = exitOf(mixdownToFile(doc, getEngineMap(), ui))) return code;
    }
    if (!line.eachTrackDir.empty()) {
        ui.folder = CString::fromUtf8(line.eachTrackDir);
        if (int code = exitOf(exportEachTrack(doc, getEngineMap(), ui))) return code;
    }
    if (line.play) return play(doc);
    return kExitDone;
}

}  // namespace

int halvorenMain(const std::vector<std::string>& args, const HalvorenEnvironment& env) {
    std::string error;
    const std::optional<CommandLine> line = parseCommandLine(args, error);
    if (!line) {
        std::fprintf(stderr, "halvoren: %s\n%s", error.c_str(), usageText().c_str());
        return kExitUsage;
    }
    if (line->help) {
        std::fputs(usageText().c_str(), stdout);
        return kExitDone;
    }
    startUp(env);
    const int code = runActions(*line, env);
    shutDown();
    return code;
}
