#pragma once
// The mixing and writing shared by the export jobs. An output's sources (sung
// segments and clips) are summed block by block in 32 bits with their gain
// and pan, saturated once per sample to 16 bits (the saturated samples are
// counted) and written as soon as every source that reaches the block has
// delivered it, so that only a block is ever held beside the synthesizers'
// own outputs. An output whose first sample is not silent fades in over its
// first 5 ms, so that the file does not open on a step. The file goes
// through a temporary file that replaces the target only once it is
// complete and kept. For each synthesizer the mix notes what it wrote of
// its voice: its own share of the file (gain and pan applied, truncated as
// summed), before any other source is added.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/CString.h"
#include "render/export/ExportFileWriter.h"

class ISynth;

// One source of an output: a synthesizer's mono output or a clip's samples
// (right null: mono), neither owned.
struct MixSource {
    ISynth* synth = nullptr;
    const int16_t* left = nullptr;
    const int16_t* right = nullptr;
    int frames = 0;
    int startFrame = 0;  // frames from the output's start; may be negative
    float gain = 1.0f;
    float pan = 0.0f;
};

// What an output wrote of a synthesizer's voice: none of its samples lay in
// the written frames, only zeros did, or a sound.
enum class WrittenVoice { none, silence, sound };

// The longest output a WAV file's 32-bit sizes can describe, in stereo frames.
inline constexpr int64_t kMaxExportFrames = (int64_t{UINT32_MAX} - 36) / 4;

class ExportMix {
public:
    static constexpr int kBlockFrames = 8192;

    ExportMix(const CString& path, int totalFrames) : path_(path), totalFrames_(std::max(totalFrames, 0)) {}

    void addSource(const MixSource& source) {
        sources_.push_back(source);
        writtenVoices_.push_back(WrittenVoice::none);
    }
    // Asked once the output is complete or has failed, before the file is
    // put in place: false drops the file (an output that turns out to sing
    // nothing is not written). The check may ask the mix what it wrote.
    using KeepCheck = std::function<bool(const ExportMix&)>;
    void setKeepCheck(KeepCheck keep) { keep_ = std::move(keep); }
    int totalFrames() const { return totalFrames_; }
    const CString& path() const { return path_; }

    // Writes at most maxBlocks blocks that every source has delivered (all
    // of them once the synthesizers are done); true once the whole output is
    // written and in place, dropped, or has failed. Frames outside the output are
    // dropped; the synthesizers are stopped once the output is complete.
    bool advance(int maxBlocks, bool synthesisDone);
    // Whether the file could not be written, and why.
    bool failed() const { return failed_; }
    // Whether the keep check dropped the file.
    bool dropped() const { return dropped_; }
    std::string failure() const;
    // Frames written so far.
    int64_t writtenFrames() const { return written_; }
    // Samples (of either channel) that did not fit 16 bits and were saturated.
    int64_t clippedSamples() const { return clipped_; }
    // What the frames written so far hold of the synthesizer's voice, over
    // all of its sources in this output (none for a synthesizer not in it).
    WrittenVoice writtenVoice(const ISynth* synth) const;
    // Drops the unfinished file.
    void abandon() { file_.abandon(); }

private:
    bool delivered(int64_t end) const;
    void mixBlock(int64_t from, int frames);
    void complete();

    CString path_;
    int totalFrames_;
    std::vector<MixSource> sources_;
    std::vector<WrittenVoice> writtenVoices_;  // one per source
    ExportFileWriter file_;
    std::vector<int32_t> sum_;
    std::vector<int16_t> block_;
    int64_t written_ = 0;
    int64_t clipped_ = 0;
    bool opened_ = false;
    bool done_ = false;
    bool failed_ = false;
    bool dropped_ = false;
    KeepCheck keep_;
};

// True for the extensions an export can write: "wav" or "mp3", any case.
bool isExportExtension(const CString& path);
// True for "mp3" in any case.
bool isMp3Path(const CString& path);

// The failure box: "<path>\nWave <file output failed>..." ("MP3" for an MP3
// file), then the reason on a line of its own when there is one, with
// caption "-_-!".
void showExportFailure(const CString& path, const std::string& reason);

// An end frame (start + count) limited to the int range the jobs count in.
int clampFrames(int64_t frames);
