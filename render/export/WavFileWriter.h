#pragma once
// Writes interleaved 16-bit PCM behind a canonical 44-byte RIFF/WAVE header
// labelled 44100 Hz, 16 bits.
#include <cstddef>
#include <cstdint>

#include "platform/CString.h"

inline constexpr size_t kWavHeaderBytes = 44;

// The header of a file of dataBytes of 16-bit samples in that many
// channels; false when the header cannot describe it (no channels, more
// than 32767, or sizes beyond its 32-bit fields).
bool makeWavHeader(uint16_t channels, size_t dataBytes, unsigned char (&header)[kWavHeaderBytes]);

// 0 when the whole file was written and closed; 1 on any failure (the file
// could not be opened, a write or the close failed, the data is too large
// for the header's 32-bit sizes, or the channel count is 0 or above 32767,
// which the header's 16-bit frame size cannot hold), after printing
// "fail to write wav file:<path>" to standard error.
int writeWavFile(const CString& path, uint16_t channels, size_t dataBytes, const int16_t* data);
