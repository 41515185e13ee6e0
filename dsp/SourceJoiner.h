#pragma once
// Builds the synthesis source of a syllable by joining two or three analysed
// units at given frames: the harmonic frames are concatenated with a level
// correction across the join region, and the residual is re-synthesised
// frame by frame across the join with a spectral level correction smoothed
// over frequency, so that the timbre passes from one unit to the next
// without a step.
//
// Every join writes `out` (which may be one of the inputs) with the first
// model's hop; frame i of out is centred on its residual sample hop * i.
// Join frames, counts and lengths come from bank data and are clamped to the
// frames that exist (a join frame past a model's end to its last frame). A
// join returns false, leaving out empty with the first model's hop, when the
// joiner is not initialised, the first model has fewer than two frames, a
// hop is not positive or exceeds half the FFT size, or the output's residual
// cannot be laid out; an out that is one of the inputs is then left as it
// was. A join whose second model (b) has no frames returns false with out a
// copy of the first: the unit goes on without the join.
#include <memory>
#include <vector>

#include "dsp/ButterworthLowPass.h"
#include "dsp/FreqBox.h"
#include "dsp/HPR_model.h"
#include "dsp/Windows.h"

namespace Halvoren {

class SourceJoiner {
public:
    // The fade factor of the forms whose callers pass none.
    static constexpr float kDefaultFade = 0.01f;

    // Window (Blackman-Harris of n points, summing to 1), buffers and the
    // smoother for FFT size n (even, at least 2; std::invalid_argument
    // otherwise) at the given sample rate.
    void init(int n, float rate);
    void release();
    bool isReady() const { return box_ != nullptr; }

    // correction[k] for bins k = 0..n/2: the dB levels of the 21 residual
    // frames around frameA of a and around frameB of b, summed per bin; then
    // (SB - SA) / 20 smoothed across the bins forward and then backward.
    // Added to a's levels it moves a's residual toward b's. Near a unit's
    // ends only the frames centred inside its residual are summed, scaled
    // to 21 frames; a unit with none reads as silence.
    void computeResidualCorrection(const HPR_model& a, const HPR_model& b, int frameA, int frameB);

    // a's frames 0..start-1 unchanged, a's frames start..frameA moved toward
    // b with a weight rising from 0 by 1 / (frameA - start + 1) per frame,
    // then b's frames from frameB on: countB of them, all when negative.
    // start is at least 1.
    bool joinTwo(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB, int start,
                 int countB);

    // The forms below keep a's frames 0..frameA-1 and continue with b's
    // frames from frameB on, at most `length` of them; b's frames are moved
    // toward a with a factor that starts at 1 and steps toward `fade` by
    // (1 - fade) / (L + 1) per frame, L the number of frames taken. The
    // factor weights both moves: the peak levels by factor * (a - b), and the
    // residual levels by factor times the correction that takes b toward a
    // (the correction of a toward b, negated).
    // Levels move per peak index, by the levels around the two join frames.
    bool joinTwoScaled(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB, float fade,
                       int length);
    // Levels move by the difference of spline envelopes through the two join
    // frames, read at each peak's frequency; each frame taken is re-sampled
    // through its own spline envelope.
    bool joinTwoSpline(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB, float fade,
                       int length);
    // Three models: b's frames frameB..frameB2-1 moved toward a as above,
    // then c's frames from frameC on moved toward b at frameB2; `length`
    // caps b's and c's frames together.
    bool joinThree(const HPR_model& a, const HPR_model& b, const HPR_model& c, HPR_model& out, int frameA,
                   int frameB, int frameB2, int frameC, int length);
    bool joinThreeSpline(const HPR_model& a, const HPR_model& b, const HPR_model& c, HPR_model& out, int frameA,
                         int frameB, int frameB2, int frameC, int length);

    AnalysisWindow window;
    ButterworthLowPass smoother;
    int smootherOrder = 0;
    std::vector<float> correction;
    float sampleRate = 0.0f;
    int fftSize = 0;

private:
    struct Segment {
        const HPR_model* model;
        int first;
        int count;
        const HPR_model* reference;
        int referenceFrame;
    };
    // a's frames 0..keep-1, then each segment's frames moved toward its
    // reference with the fading factor; false when the output cannot be laid out.
    bool joinChain(const HPR_model& a, int keep, const Segment* segments, int segmentCount, float fade, bool spline,
                   HPR_model& out);
    bool chainTwo(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB, float fade,
                  int length, bool spline);
    bool chainThree(const HPR_model& a, const HPR_model& b, const HPR_model& c, HPR_model& out, int frameA,
                    int frameB, int frameB2, int frameC, int length, bool spline);
    // Residual frame `frame` of m with w * correction added to its levels,
    // re-synthesised and centred in the work frame, which is returned.
    const float* resynthesise(const HPR_model& m, int frame, float w);
    // Summed dB levels of the 21 frames around `frame` into sums (those
    // inside the residual, scaled to 21).
    void sumLevels(const HPR_model& m, int frame, std::vector<float>& sums);

    // Work spectrum and frame of n points (the second work buffer).
    std::unique_ptr<FreqMagAndPhaseBox> box_;
};

}  // namespace Halvoren
