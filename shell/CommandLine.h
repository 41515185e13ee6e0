#pragma once
// The command line of the program:
//   halvoren [options] FILE
// Actions run in the order save, mixdown, export each track, play.
#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    std::string file;
    std::string savePath;     // --save OUT
    std::string mixdownPath;  // --mixdown OUT
    std::vector<int> tracks;  // --tracks 1,3 (1-based); empty: all
    std::string eachTrackDir; // --export-each-track DIR
    bool overwrite = false;
    bool play = false;
    bool quiet = false;
    bool help = false;
};

// The parsed line, or nothing with the reason in error.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error);

// The usage text, ending in a newline.
std::string usageText();
