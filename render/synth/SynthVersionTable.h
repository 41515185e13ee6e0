#pragma once
// Which editor-side synthesizer sings a bank of each engine version: a maker
// per accepted version string, given the bank folder that prefixes the
// package file names.
#include <functional>
#include <map>
#include <string>

class ISynth;

using SynthMaker = std::function<ISynth*(const std::string& bankPath)>;
using SynthMakerTable = std::map<std::string, SynthMaker>;

// The program's table, one row per engine generation built in.
SynthMakerTable programSynthMakers();
