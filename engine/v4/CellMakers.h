#pragma once
// The end-part makers of the fourth generation. The plain model maker, the
// two-model blend and the gender blend are the third generation's; the
// model-to-recording merge and the merge through a recorded tail are this
// generation's own (the later third-generation banks use them too).
#include "dsp/FrameMags.h"
#include "dsp/GHR_modelPkg.h"
#include "dsp/GammatoneVector.h"
#include "dsp/PeakList.h"
#include "engine/v3/CellMakers.h"
#include "engine/v3/ModelFrames.h"
#include "engine/v4/MergePhases.h"

namespace HalvorenEngineV4 {

using HalvorenEngineV3::applyCurveBlend;
using HalvorenEngineV3::CellMakerCore;
using HalvorenEngineV3::CellMakerCore_ByMergeTwoModel;
using HalvorenEngineV3::CellMakerCore_FromStdModel;
using HalvorenEngineV3::MakerSetting;

// The model at anchor b, bent by a recording's band changes against the
// recording's band frame r and walked between b and e, crossing into the
// recording over the first percentage % of the part; from there on the
// recording alone. Recording frames where it has no band frame (unvoiced)
// are the recording's envelope only.
class CellMakerCore_FromStdModelAndSrcModel_merge2src : public CellMakerCore {
public:
    CellMakerCore_FromStdModelAndSrcModel_merge2src(const Halvoren::GHR_modelPkg& model, int b, int e,
                                                    const Halvoren::GHR_modelPkg& source, int r)
        : model_(model), b_(b), source_(source), r_(r), walk_(HalvorenEngineV3::loopLimit(b, e))
    {
    }
    // Recording frames s0 .. s0 + length onto n frames of the part that
    // starts at frame counter of the cell whose first frame is base. False
    // (and nothing set) when n or length is below 1 or a model has no
    // frames: the part is then not made.
    bool setUp(int s0, int length, int n, int base, int counter, float percentage);
    void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& envelope, float& levelDb) override;

private:
    const Halvoren::GHR_modelPkg& model_;
    int b_;
    const Halvoren::GHR_modelPkg& source_;
    int r_;
    HalvorenEngineV3::LoopWalk walk_;
    int fade_ = 0;
    Halvoren::GammatoneVector reference_;
    Halvoren::PeakList modelPeaks_;
};

// From the note's model into a recorded tail and on into the next note's
// model: n frames split into merge (45 %), hold (10 %) and tail (the rest).
// Where the tail has no peaks the two models, each bent toward the tail's
// bands, are blended straight across the part, never louder than the blend
// of their loudest peaks.
class CellMakerCore_ByMergeTwoModelAndTailSrc : public CellMakerCore {
public:
    struct Models {
        const Halvoren::GHR_modelPkg* first = nullptr;
        int firstAnchor = 0;
        const Halvoren::GHR_modelPkg* next = nullptr;
        int nextAnchor = 0;
        // The tail recording and its frames tailStart .. tailStart + tailLength.
        const Halvoren::GHR_modelPkg* tail = nullptr;
        int tailStart = 0;
        int tailLength = 0;
    };
    // False (and nothing set) when n or the tail length is below 1 or a model
    // is missing or has no frames: the part is then not made.
    bool setUp(const Models& models, int n, int base, int counter);
    void make(int i, Halvoren::PeakList& peaks, Halvoren::FrameMags& envelope, float& levelDb) override;

    const TailPhases& phases() const { return phases_; }

private:
    // The bent model frame (peaks read back at frame i's pitch) into out.
    void bentModel(int i, const Halvoren::PeakList& anchorPeaks, const Halvoren::FrameMags& anchorEnvelope,
                   const Halvoren::GammatoneVector& tailBands, const Halvoren::GammatoneVector& against,
                   Halvoren::PeakList& peaks, Halvoren::FrameMags& envelope);

    Models m_;
    int n_ = 0;
    int last_ = 0;
    TailPhases phases_;
    Halvoren::PeakList peaksFirst_, peaksNext_;
    Halvoren::FrameMags envelopeFirst_, envelopeNext_;
    Halvoren::GammatoneVector tailFirst_, tailLast_;
    float loudFirst_ = -120.0f, loudNext_ = -120.0f;
};

}  // namespace HalvorenEngineV4
