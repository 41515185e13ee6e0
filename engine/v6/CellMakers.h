#pragma once
// The sixth-generation cell makers: for frame i of the part being made, each
// gives a level in dB, a frame buffer (per-harmonic phase offsets) and a
// reference pitch, and leaves the model frame it used in the caller's
// scratch frame, from which the harmonics are built.
//
// Frame buffers come from the mixed scratch frame when the bank's format
// lies above 6.1, else from the model's stored frame at the frame read.
// Positions are clamped into the model's frames. A maker whose set-up was
// refused (a part of no frames, a model without frames) makes nothing.
#include <cstdint>
#include <vector>

#include "dsp/FrameMags.h"
#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/WarpedBandLayout.h"
#include "engine/v6/ModelFrame.h"
#include "voicebank/v6/SourceRecords.h"

namespace HalvorenEngineV6 {

using HVVM_V0::HvVoiceModelCompact;

// What a maker carries for the cell parts that run it, set before a part.
struct CellSpan {
    bool modelFrames = false;  // frame buffers from the scratch frame (formats above 6.1)
    float period = 0.0f;       // seconds per frame
    float headTime = 0.0f;     // the job's head time, seconds
    std::int32_t partBase = 0; // output frame of the part's frame 0
    std::int32_t counter = 0;  // the running frame counter of the cell
    float upper = 0.85f;       // warp ratios at gender +1, 0 and -1
    float neutral = 1.0f;
    float lower = 1.25f;
    Halvoren::HarmonicPeakAnalyser* analyser = nullptr;
    Halvoren::WarpedBandLayout* layout = nullptr;
    const std::vector<float>* grid = nullptr;

    void set(bool modelFramesFlag, float framePeriod, float head, std::int32_t base, std::int32_t count,
             float upperRatio, float neutralRatio, float lowerRatio, Halvoren::HarmonicPeakAnalyser* peakAnalyser,
             Halvoren::WarpedBandLayout* bandLayout, const std::vector<float>* frequencyGrid);
};

class CellMakerCore {
public:
    virtual ~CellMakerCore() = default;

    // Frame i of the part: true with the outputs filled, false with them
    // untouched when the maker has no frame i. f0 is the sung pitch.
    virtual bool make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float f0,
                      ModelFrame& scratch);

    CellSpan span;

protected:
    // The frame buffer of a made frame: the scratch frame's, or the stored one.
    void takeFrame(const ModelFrame& scratch, const ModelFrame& stored, Halvoren::FrameMags& frame) const;
};

// One model walked over the part, faded in from silence.
class CellMakerCore_FromStdModel : public CellMakerCore {
public:
    // used model frames from start onto total part frames; a fade-in over
    // min(fadeSpan, total) frames when fadeSpan >= 1. Refused when total < 1,
    // used < 0 or the model has no frames.
    void setUp(int fadeSpan, int start, int used, int total, const HvVoiceModelCompact& model);
    // Level -120 dB at frame 0 of a fade of k frames, 20 log10(i / k) below
    // k, 0 dB after.
    bool make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float f0,
              ModelFrame& scratch) override;

private:
    const HvVoiceModelCompact* model_ = nullptr;
    float rate_ = 0.0f;
    int offset_ = 0;
    int frameCount_ = 0;
    int fade_ = -1;
};

// A standard model held at one frame, crossing into a recorded source over
// the source's voiced run.
class CellMakerCore_FromStdModelAndSrcModel_merge2src : public CellMakerCore {
public:
    // Source frames srcStart .. srcStart + srcLen - 1 onto partLen frames.
    // The source's pitch track is scanned from srcStart while it is not 0
    // (NaN counts as not 0); unless keepLength, only the run and one frame
    // after it are sung. Refused when partLen < 1, srcLen < 1 or a model has
    // no frames.
    void setUp(int srcStart, int srcLen, int partLen, const HvVoiceModelCompact& standard, int standardFrame,
               const HvVoiceModelCompact& source, bool keepLength);
    // Level 0 dB; the standard frame's weight falls from 1 to 0 over the
    // fade frames; an unvoiced source frame is taken alone with value 0.
    bool make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float f0,
              ModelFrame& scratch) override;

    float rate() const { return rate_; }
    int fadeFrames() const { return fade_; }

private:
    const HvVoiceModelCompact* source_ = nullptr;
    ModelFrame standard_;
    ModelFrame sourceFrame_;
    int start_ = 0;
    int last_ = 0;
    float rate_ = 0.0f;
    int fade_ = 0;
};

// Two model frames mixed from the first to the second over the part.
class CellMakerCore_ByMergeTwoModel : public CellMakerCore {
public:
    // Refused when partLen < 1 or a model has no frames.
    void setUp(const HvVoiceModelCompact& first, int firstFrame, const HvVoiceModelCompact& second,
               int secondFrame, int partLen);
    bool make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float f0,
              ModelFrame& scratch) override;

private:
    bool ready_ = false;
    ModelFrame first_;
    ModelFrame second_;
    int n_ = 0;
};

// The first model merging into a continuant recording (0.45 of the part),
// the recording held (0.1), then moving to the second model (the rest).
class CellMakerCore_ByMergeTwoModelAndTailSrc : public CellMakerCore {
public:
    // The continuant's frames v6ContParam1 .. + v6ContParam2 - 1 onto
    // partLen frames. Refused when partLen < 1, the continuant has no
    // material or a model has no frames.
    void setUp(const HvVoiceModelCompact& first, int firstFrame, const ContinuantSrc& tail,
               const HvVoiceModelCompact& second, int secondFrame, int partLen);
    bool make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float f0,
              ModelFrame& scratch) override;

    int mergeFrames() const { return merge_; }
    int holdFrames() const { return hold_; }
    int tailFrames() const { return tail_; }

private:
    const HvVoiceModelCompact* source_ = nullptr;
    ModelFrame first_;
    ModelFrame second_;
    ModelFrame sourceFrame_;
    int start_ = 0;
    int last_ = 0;
    float rate_ = 0.0f;
    int length_ = 0;
    int merge_ = 0;
    int hold_ = 0;
    int tail_ = 0;
};

}  // namespace HalvorenEngineV6
