#pragma once
// The mixing and writing shared by the export jobs: entries are summed into a
// 32-bit stereo buffer with their gain and pan, saturated once per sample to
// 16 bits, and written through a temporary file beside the target that
// replaces it only once it is complete.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/CString.h"

class ISynth;

// A stereo sum of totalFrames frames (interleaved left, right).
class ExportMix {
public:
    // totalFrames below 0 counts as 0.
    explicit ExportMix(int totalFrames);

    int totalFrames() const { return totalFrames_; }
    // Adds count frames starting at startFrame (may be negative); frames
    // outside the buffer are dropped. Each sample is multiplied by its
    // channel's gain (linear balance law) and truncated toward zero. right
    // null: left feeds both sides.
    void add(const int16_t* left, const int16_t* right, int count, int64_t startFrame, float gain, float pan);
    // The sung output of a synthesizer (mono), then the synthesizer is stopped.
    void addSynth(ISynth* synth, int64_t startFrame, float gain, float pan);
    // The sum saturated to 16 bits.
    std::vector<int16_t> samples() const;

private:
    int totalFrames_;
    std::vector<int32_t> sum_;
};

// The longest output a WAV file's 32-bit sizes can describe, in stereo frames.
inline constexpr int64_t kMaxExportFrames = (int64_t{UINT32_MAX} - 36) / 4;

// Mixes totalFrames frames through fill and writes them to path (see
// writeExportFile); a failure, an output longer than kMaxExportFrames or one
// that does not fit in memory shows the failure box. True on success.
bool mixAndWrite(const CString& path, int totalFrames, const std::function<void(ExportMix&)>& fill);

// True for the extensions an export can write: "wav" or "mp3", any case.
bool isExportExtension(const CString& path);

// Writes the stereo frames as WAV or MP3 by the path's extension (any case)
// through path + ".part", renamed over path only on success; true on
// success. An unknown extension writes nothing and fails.
bool writeExportFile(const CString& path, const std::vector<int16_t>& stereo);

// The failure box: "<path>\nWave <file output failed>..." with caption "-_-!".
void showExportFailure(const CString& path);

// An end frame (start + count) limited to the int range the jobs count in.
int clampFrames(int64_t frames);
