#pragma once
// What became of loading a clip.
enum class ClipLoad {
    notTried,    // nothing was loaded yet
    loaded,
    unreadable,  // missing, unreadable, or not a clip the players can take
    tooLarge,    // past the clip budget or too long to hold
};
