#include "shell/CommandLine.h"

#include <charconv>

#include "platform/StringUtil.h"

namespace {

// "1,3" as 1-based track numbers; false for anything but positive numbers.
bool parseTracks(const std::string& text, std::vector<int>& out) {
    std::vector<std::string> pieces;
    splitString(pieces, text, ",");
    if (pieces.empty()) return false;
    for (const std::string& piece : pieces) {
        int n = 0;
        const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), n);
        if (ec != std::errc() || end != piece.data() + piece.size() || n < 1) return false;
        out.push_back(n);
    }
    return true;
}

}  // namespace

std::string usageText() {
    return "Usage: halvoren [options] FILE\n"
           "Opens the project FILE (.ot or .hv) and runs the actions asked for,\n"
           "in the order save, mixdown, export each track, play.\n"
           "  --save OUT               save the project in the native format\n"
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
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--save") {
            if (!value(line.savePath)) return std::nullopt;
        } else if (arg == "--mixdown") {
            if (!value(line.mixdownPath)) return std::nullopt;
        } else if (arg == "--export-each-track") {
            if (!value(line.eachTrackDir)) return std::nullopt;
        } else if (arg == "--tracks") {
            std::string text;
            if (!value(text)) return std::nullopt;
            line.tracks.clear();
            if (!parseTracks(text, line.tracks)) {
                error = "--tracks wants 1-based track numbers separated by commas, not \"" + text + "\"";
                return std::nullopt;
            }
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
    if (!line.tracks.empty() && line.mixdownPath.empty()) {
        error = "--tracks goes with --mixdown";
        return std::nullopt;
    }
    return line;
}
