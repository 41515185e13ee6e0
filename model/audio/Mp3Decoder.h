#pragma once
// MP3 decoding into a CWavBuf through libmpg123 in feed mode.
#include "model/audio/CWavBuf.h"
#include "platform/CString.h"

// Decodes the file into out as 16-bit signed samples at the stream's own
// rate and channel count. False when the file cannot be opened, when no
// frame ever announces a format (out is then untouched) or when the decoder
// reports an error. A stream whose rate or channel count changes part way
// (files of different formats joined) ends at the change: the samples before
// it are kept and the decode succeeds. Decoded bytes beyond
// CWavBuf::kMaxBytesPerFileByte per byte of the file end the decode as
// failed.
bool decodeMp3File(const CString& path, HalvorenEditor::CWavBuf* out);
