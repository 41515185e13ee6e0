#pragma once
// What became of loading a clip.
enum class ClipLoad {
    notTried,     // nothing was loaded yet
    loaded,
    unreadable,   // missing, or the file cannot be opened
    undecodable,  // opened, but not a WAV or MP3 clip the players can take
    tooLarge,     // past the clip budget or too long to hold
};

// A load was tried and gave no clip.
inline bool clipNotLoaded(ClipLoad load) { return load != ClipLoad::notTried && load != ClipLoad::loaded; }
