#pragma once
// The accompaniment targets' common run: the file becomes the clip of an
// instrumental segment, as a project or the import command loads it. A
// loaded clip is in the players' format and its channels hold every frame.
#include <string>

#include "model/current/Segments.h"
#include "support/FuzzInput.h"

namespace hvfuzz {

inline void loadClip(const std::string& fileName, const uint8_t* data, size_t size)
{
    HVCurrentModel::InstrumentSegment seg;
    seg.audioPath = writeScratchFile(fileName, data, size);
    if (!seg.loadAudio(CString())) return;
    if (seg.channels < 1 || seg.channels > 2) fail("clip channel count");
    if (seg.sampleRate != 44100 || seg.bitsPerSample != 16) fail("clip not in the players' format");
    if (seg.frames < 0 || seg.left.size() != static_cast<size_t>(seg.frames)) fail("left channel length");
    if (seg.channels == 2 && seg.right.size() != seg.left.size()) fail("right channel length");
}

}  // namespace hvfuzz
