#pragma once
// Loading of accompaniment files (WAV and MP3) into the players' format.
#include <cstdint>
#include <limits>

#include "model/audio/ClipLoad.h"
#include "model/audio/CWavBuf.h"
#include "platform/CString.h"

// Whether the path's extension is exactly "wav" or "mp3" (letter case
// counts): the files the loader reads.
bool isClipFileName(const CString& path);

// Loads the file into target and brings it to 16-bit samples at 44100 Hz,
// keeping its channel count. The extension picks the reader (see
// isClipFileName); any other leaves target untouched and gives false. A
// failed WAV read still hands over the format the reader had, with no
// samples. A clip too long to hold (a frame count past 32 bits) or one whose
// rate is below CWavBuf::kMinSampleRate gives false with no samples.
bool loadAudioFile(HalvorenEditor::CWavBuf& target, const CString& path);

// The same, refusing (tooLarge) a clip that would take more than clipBytes
// in the players' format before its samples are read or while they are
// decoded. A file that cannot be opened is unreadable; one that opens but
// is not read as a clip (also one of another extension) is undecodable.
// With channelsApart a stereo clip ends with its channels one after
// the other (CWavBuf::resampleApart) instead of interleaved.
ClipLoad loadAudioClip(HalvorenEditor::CWavBuf& target, const CString& path,
                       uint64_t clipBytes = std::numeric_limits<uint64_t>::max(), bool channelsApart = false);
