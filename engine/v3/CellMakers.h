#pragma once
// The end-part makers of the third generation (the fourth runs the same
// two-model blend): each makes frame i of a part from one or two stored band
// models, at the pitch and gender of the frame's time.
#include <vector>

#include "dsp/FrameMags.h"
#include "dsp/GHR_modelPkg.h"
#include "dsp/GammatoneVector.h"
#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/LinearEnvelope.h"
#include "dsp/PeakList.h"
#include "engine/v3/ModelFrames.h"

namespace HalvorenEngineV3 {

// The gender blend: v >= 0 moves from neutral to upper, v < 0 from neutral
// to lower, each clamped between its two ends.
float applyCurveBlend(float v, float upper, float neutral, float lower);

// What a maker reads from its job.
struct MakerSetting {
    float period = 0.0f;  // T, seconds per frame
    float t0 = 0.0f;      // the job's start time
    float upper = 0.85f;
    float neutral = 1.0f;
    float lower = 1.25f;
    Halvoren::LinearEnvelope* gender = nullptr;
    Halvoren::LinearEnvelope* pitch = nullptr;
    Halvoren::HarmonicPeakAnalyser* analyser = nullptr;
    const std::vector<float>* bandAxis = nullptr;
};

class CellMakerCore {
public:
    virtual ~CellMakerCore() = default;
    // Frame i of the part (0-based).
    virtual void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float& extraGainDb) = 0;

    void init(const MakerSetting& setting) { setting_ = setting; }
    // Source frames start .. start + length onto n frames; the part starts at
    // frame local of the cell that starts at output frame cellStart.
    void setModel(int start, int length, int n, int cellStart, int local);

    // The frame's time, and from it the current gender ratio.
    float timeOf(int i) const;
    float ratioAt(float t);
    // The list replaced by the harmonics of the pitch at t, read through its
    // envelope with the current ratio.
    void resample(Halvoren::PeakList& peaks, float t, float ratio);

protected:
    // An anchor frame and the band envelope that bends it.
    struct BentFrame {
        const Halvoren::PeakList& peaks;
        const Halvoren::FrameMags& residual;
        Halvoren::LinearEnvelope& bend;
    };
    // Both frames bent, resampled at frame i's pitch and gender, and blended
    // with weight w of the first.
    void blendBent(int i, float w, const BentFrame& first, const BentFrame& second, Halvoren::PeakList& peaks,
                   Halvoren::FrameMags& residual);

    MakerSetting setting_;
    float ratio_ = 1.0f;
    float step_ = 0.0f;
    float start_ = 0.0f;
    int partStart_ = 0;
    int cellStart_ = 0;
};

// Kind 0: one model frame per frame.
class CellMakerCore_FromStdModel : public CellMakerCore {
public:
    explicit CellMakerCore_FromStdModel(const Halvoren::GHR_modelPkg& model) : model_(model) {}
    void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float& extraGainDb) override;

private:
    const Halvoren::GHR_modelPkg& model_;
};

// Kind 1: the standard model at its start frame, corrected by a recorded
// transition's band differences and walked over its loop range, faded from
// the recording over the first 40 % of the part.
class CellMakerCore_FromStdModelAndSrcModel_merge : public CellMakerCore {
public:
    CellMakerCore_FromStdModelAndSrcModel_merge(const Halvoren::GHR_modelPkg& standard, int startFrame, int loopEnd,
                                                const Halvoren::GHR_modelPkg& source, int refFrame)
        : standard_(standard), startFrame_(startFrame), source_(source), refFrame_(refFrame),
          walk_(loopLimit(startFrame, loopEnd))
    {
    }
    // The source's start and length onto n frames.
    void setUp(int srcStart, int srcLen, int n, int cellStart, int local);
    void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float& extraGainDb) override;

    // The recording's weight at frame i of a fade over k frames.
    static float fadeWeight(int i, int k);

private:
    const Halvoren::GHR_modelPkg& standard_;
    int startFrame_;
    const Halvoren::GHR_modelPkg& source_;
    int refFrame_;
    LoopWalk walk_;
    int fade_ = 0;
    Halvoren::GammatoneVector reference_;
    Halvoren::PeakList standardPeaks_;
};

// Kind 2: two models, each bent toward a tail recording, blended from the
// first to the second across the part with the loudness of the anchors.
class CellMakerCore_ByMergeTwoModelAndTailSrc : public CellMakerCore {
public:
    struct Models {
        const Halvoren::GHR_modelPkg* first = nullptr;
        int firstAnchor = 0;
        const Halvoren::GHR_modelPkg* second = nullptr;
        int secondAnchor = 0;
        // The next syllable's recording: its onset frame and its vowel frame.
        const Halvoren::GHR_modelPkg* next = nullptr;
        int nextOnset = 0;
        int nextVowel = 0;
        // The continuant and its frames start .. start + length.
        const Halvoren::GHR_modelPkg* tail = nullptr;
        int tailStart = 0;
        int tailLength = 0;
    };
    void setUp(const Models& models, int n, int cellStart, int local);
    void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float& extraGainDb) override;

private:
    Models m_;
    int n_ = 0;
    Halvoren::PeakList peaksA_, peaksB_;
    Halvoren::FrameMags residualA_, residualB_;
    Halvoren::GammatoneVector tailFirst_, tailLast_;
    float loudA_ = -120.0f, loudB_ = -120.0f;
};

// Kind 3: two models bent toward each other's bands, blended across the part.
class CellMakerCore_ByMergeTwoModel : public CellMakerCore {
public:
    void setUp(const Halvoren::GHR_modelPkg& first, int firstAnchor, const Halvoren::GHR_modelPkg& second,
               int secondAnchor, int n, int cellStart, int local);
    void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float& extraGainDb) override;

private:
    int n_ = 0;
    Halvoren::PeakList peaksA_, peaksB_;
    Halvoren::FrameMags residualA_, residualB_;
    Halvoren::GammatoneVector secondBands_, firstBands_;
};

}  // namespace HalvorenEngineV3
