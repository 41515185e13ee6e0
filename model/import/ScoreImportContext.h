#pragma once
// What the score imports take from the settings and the singer list.
#include <string>

class ILyricDict;

struct ScoreImportContext {
    std::string defaultSymbol = "la";  // lyric and symbol of a MIDI note without lyric
    std::string singerName;            // singer of every imported segment
    ILyricDict* lyricDict = nullptr;   // that singer's own dictionary, if any

    // From the settings, the default singer and its dictionary.
    static ScoreImportContext fromSettings();
};

// The lyric dictionary of the installed singer of that name, or null.
ILyricDict* findSingerLyricDict(const std::string& singerName);
