#pragma once
// MP3 decoding into a CWavBuf through libmpg123 in feed mode.
#include "model/audio/ClipLimits.h"
#include "model/audio/CWavBuf.h"
#include "platform/CString.h"

// Decodes the file into out as 16-bit signed samples at the stream's own
// rate and channel count. False when the file cannot be opened, when no
// frame ever announces a format (out is then untouched) or when the decoder
// reports an error. A stream whose rate or channel count changes part way
// (files of different formats joined) ends at the change: the samples before
// it are kept and the decode succeeds. The room reserved ahead of the
// decoded samples keeps within ClipLimits::forFile (no budget).
bool decodeMp3File(const CString& path, HalvorenEditor::CWavBuf* out);

// The same within the given limits; a clip that would pass their clip
// bytes ends the decode as failed, with tooLarge set.
bool decodeMp3File(const CString& path, HalvorenEditor::CWavBuf* out, const ClipLimits& limits, bool& tooLarge);
