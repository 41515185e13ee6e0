#pragma once
// Encodes interleaved 16-bit PCM at 44100 Hz to an MP3 file: 192 kbit/s,
// constant bit rate, mono mode for one channel. The first frame carries the
// encoder's tag (frame count, encoder delay and padding), so decoders that
// read it give back exactly the input length.
#include <cstddef>
#include <cstdint>

#include "platform/CString.h"

// 0 when the file was opened, encoded, written and closed; 1 on any failure
// (open, encoder set-up or result, write or close), or for a channel count
// other than 1 or 2.
int writeMp3File(const CString& path, size_t dataBytes, int channels, const int16_t* data);
