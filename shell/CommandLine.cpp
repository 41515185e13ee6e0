#include "shell/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "platform/FileUtil.h"
#include "platform/StringUtil.h"

namespace {

// "1,3" as track numbers of at least `lowest`, each named once; false for
// anything else.
bool parseTracks(const std::string& text, int lowest, std::vector<int>& out) {
    std::vector<std::string> pieces;
    splitString(pieces, text, ",");
    if (pieces.empty()) return false;
    for (const std::string& piece : pieces) {
        int n = 0;
        const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), n);
        if (ec != std::errc() || end != piece.data() + piece.size() || n < lowest) return false;
        if (std::find(out.begin(), out.end(), n) != out.end()) return false;
        out.push_back(n);
    }
    return true;
}

}  // namespace

std::string lowerCaseExt(const std::string& file) {
    return toLowerAscii(getFileExt(CString::fromUtf8(file)).toUtf8());
}

CString absolutePath(const std::string& file) {
    std::error_code ec;
    const std::string path = std::filesystem::absolute(file, ec).string();
    return CString::fromPathBytes(ec ? file : path);
}

void makePathsAbsolute(CommandLine& line) {
    for (std::string* path : {&line.file, &line.importMidiPath, &line.savePath, &line.mixdownPath, &line.eachTrackDir})
        if (!path->empty()) *path = absolutePath(*path).toPathBytes();
}

std::string usageText() {
    return "Usage: halvoren [options] FILE\n"
           "Opens FILE, a project (.ot or .hv) or a score to import as a new project\n"
           "(.mid or .vsqx), and runs the actions asked for, in the order save,\n"
           "mixdown, export each track, play.\n"
           "  --import-midi FILE2      import the tracks of a MIDI file into the project first\n"
           "  --midi-tracks 0,2        the MIDI tracks to take, numbered from 0\n"
           "                           (every track with notes by default)\n"
           "  --fix-overlaps           fix overlapping notes of the tracks read (default:\n"
           "                           keep them as they are)\n"
           "  --save OUT               save the project in the native format to OUT (.ot or\n"
           "                           .hv), never over a file that is not a project\n"
           "  --mixdown OUT            mix the project down to OUT (.wav or .mp3), replacing it\n"
           "  --tracks 1,3             the tracks to mix down, 1-based (all by default)\n"
           "  --export-each-track DIR  write one WAV file per singing track into DIR\n"
           "  --overwrite              replace existing track files (default: keep them and stop)\n"
           "  --play                   play through the default output device until the end\n"
           "  --quiet                  no progress bar\n"
           "  --help                   this text\n";
}

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error) {
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        // A list of track numbers from `lowest`; what they are names them in
        // the reason for refusing it.
        auto numbers = [&](std::vector<int>& into, int lowest, const char* what) {
            std::string text;
            if (!value(text)) return false;
            into.clear();
            if (parseTracks(text, lowest, into)) return true;
            error = arg + " wants " + what + " separated by commas, each once, not \"" + text + "\"";
            return false;
        };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--save") {
            if (!value(line.savePath)) return std::nullopt;
        } else if (arg == "--mixdown") {
            if (!value(line.mixdownPath)) return std::nullopt;
        } else if (arg == "--export-each-track") {
            if (!value(line.eachTrackDir)) return std::nullopt;
        } else if (arg == "--import-midi") {
            if (!line.importMidiPath.empty()) {
                error = "--import-midi can be given once";
                return std::nullopt;
            }
            if (!value(line.importMidiPath)) return std::nullopt;
        } else if (arg == "--midi-tracks") {
            if (!numbers(line.midiTracks, 0, "MIDI track numbers from 0")) return std::nullopt;
        } else if (arg == "--fix-overlaps") {
            line.fixOverlaps = true;
        } else if (arg == "--tracks") {
            if (!numbers(line.tracks, 1, "1-based track numbers")) return std::nullopt;
        } else if (arg == "--overwrite") {
            line.overwrite = true;
        } else if (arg == "--play") {
            line.play = true;
        } else if (arg == "--quiet") {
            line.quiet = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (line.file.empty()) {
            line.file = arg;
        } else {
            error = "only one project file can be given";
            return std::nullopt;
        }
    }
    if (line.help) return line;
    if (line.file.empty()) {
        error = "no project file given";
        return std::nullopt;
    }
    // What would only fail after an earlier action has written its file is
    // refused here, before anything is done.
    auto refuse = [&error](std::string reason) {
        error = std::move(reason);
        return std::nullopt;
    };
    if (!line.tracks.empty() && line.mixdownPath.empty()) return refuse("--tracks goes with --mixdown");
    if (line.overwrite && line.eachTrackDir.empty()) return refuse("--overwrite goes with --export-each-track");
    const bool readsMidi = lowerCaseExt(line.file) == "mid" || !line.importMidiPath.empty();
    if (!readsMidi && !line.midiTracks.empty()) return refuse("--midi-tracks goes with a .mid FILE or --import-midi");
    if (const std::string ext = lowerCaseExt(line.savePath); !line.savePath.empty() && ext != "ot" && ext != "hv")
        return refuse("--save writes a project: OUT ends in .ot or .hv, not \"" + line.savePath + "\"");
    if (const std::string ext = lowerCaseExt(line.mixdownPath);
        !line.mixdownPath.empty() && ext != "wav" && ext != "mp3")
        return refuse("--mixdown writes .wav or .mp3, not \"" + line.mixdownPath + "\"");
    return line;
}
