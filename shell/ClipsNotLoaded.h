#pragma once
// Naming the instrumental segments of an opened project whose clips could
// not be loaded: they stay in the project, with their files and times, and
// play as silence.

class CSSSynthesizerDoc;

// Shows one warning listing each such segment (track, place, file and why),
// when there is any.
void nameClipsNotLoaded(const CSSSynthesizerDoc& doc);
