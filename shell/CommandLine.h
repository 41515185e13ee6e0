#pragma once
// The command line of the program:
//   halvoren [options] FILE
// FILE is a project or a score to import (MIDI or VSQX). A MIDI file given
// with --import-midi joins it first; then the actions run in the order save,
// mixdown, export each track, play.
#include <optional>
#include <string>
#include <vector>

#include "platform/CString.h"

struct CommandLine {
    std::string file;
    std::string importMidiPath;   // --import-midi FILE2
    std::vector<int> midiTracks;  // --midi-tracks 0,2 (MIDI track numbers); empty: every track with notes
    bool fixOverlaps = false;     // --fix-overlaps
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

// The file's extension in lower case ("mid" for "Song.MID"); it tells the
// kind of file to open.
std::string lowerCaseExt(const std::string& file);

// A file named on the command line as the file dialogs give it: absolute.
CString absolutePath(const std::string& file);

// Every path of the line made absolute against the current folder, once,
// before any action: a save does not change what later paths mean.
void makePathsAbsolute(CommandLine& line);

// The usage text, ending in a newline.
std::string usageText();
