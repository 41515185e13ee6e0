#pragma once
// The program without windows: it starts up as the main frame does, opens
// one project and runs the actions of its command line.
#include <optional>
#include <string>
#include <vector>

#include "render/synth/SynthVersionTable.h"
#include "shell/CommandLine.h"

// Exit codes.
enum HalvorenExit : int {
    kExitDone = 0,
    kExitUsage = 1,        // also what the project makes impossible (a track it does not have)
    kExitCannotOpen = 2,
    kExitRefused = 3,      // overlaps, a missing singer, or an output with no sung note
    kExitOutputFailed = 4, // a file not written or not replaced (also a non-project or damaged
                           // project --save would replace, a project too large to save, an
                           // export folder that cannot be written), or a segment that cannot
                           // be sung
    kExitNoDevice = 5,     // --play without an output device
    kExitInterrupted = 130,
};

struct HalvorenEnvironment {
    // The synthesizer generations by bank version; nothing: the program's own.
    std::optional<SynthMakerTable> makers;
    // Whether standard error is a terminal (the progress bar is drawn there).
    bool stderrIsTerminal = false;
};

// Parses the arguments (without the program name) and runs them.
int halvorenMain(const std::vector<std::string>& args, const HalvorenEnvironment& env);
