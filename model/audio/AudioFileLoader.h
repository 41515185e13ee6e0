#pragma once
// Loading of accompaniment files (WAV and MP3) into the players' format.
#include "model/audio/CWavBuf.h"
#include "platform/CString.h"

// Loads the file into target and brings it to 16-bit samples at 44100 Hz,
// keeping its channel count. The extension picks the reader and must be
// exactly "wav" or "mp3" (letter case counts); any other leaves target
// untouched and gives false. A failed WAV read still hands over the format
// the reader had, with no samples. A clip too long to hold, one that would
// take more than CWavBuf::kMaxBytesPerFileByte bytes per byte of its file,
// or one whose rate is below CWavBuf::kMinSampleRate, gives false with no
// samples.
bool loadAudioFile(HalvorenEditor::CWavBuf& target, const CString& path);
