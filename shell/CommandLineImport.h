#pragma once
// Scores read from the command line as the Open and Import MIDI commands
// read them: the MIDI track choice is answered by --midi-tracks (every
// track with notes when none are given), the overlap question by
// --fix-overlaps, and the message boxes are printed.
#include <string>

#include "shell/CommandLine.h"

class CMainFrame;

// An exit code of the program (0: read) and, when not 0, the reason to
// print; a file that could not be read has shown its message box before.
struct ScoreReadOutcome {
    int exitCode = 0;
    std::string error;
};

// Opens FILE, a MIDI file or a VSQX score, as a new project.
ScoreReadOutcome openScore(CMainFrame& frame, const std::string& file, const CommandLine& line);

// Adds the chosen tracks of a MIDI file to the open project.
ScoreReadOutcome importMidi(CMainFrame& frame, const std::string& file, const CommandLine& line);
