#pragma once
// Phases of the partials of frame after frame of a resynthesised voice: each
// new frame continues the phases of the one before so that frame boundaries
// do not click. One continuation per engine generation; the first frame of
// a voice gets its phases from a model. Every continuation returns the
// current frame and keeps it, its phases wrapped, as the previous one.
#include "dsp/FIFOSampleBuffer.h"
#include "dsp/JitterGenerator.h"
#include "dsp/PeakList.h"
#include "dsp/StepTable.h"

namespace Halvoren {

class HarmonicPhaseState {
public:
    // maxHz bounds the jittered band, which also ends at harmonicLimit times
    // the fundamental.
    HarmonicPhaseState(float sampleRate, float maxHz, int harmonicLimit);

    // Clears both frames and switches the jitter on (modulus 3).
    void reset(int maxPeriod, float amplitudeScale, float noiseDepth);
    // Clears both frames and leaves the jitter as it is.
    void clearFrames();

    // Plain continuation; partials at 0 Hz are dropped. T is the hop in seconds.
    PeakList& continuePhasesV1(const PeakList& frame, float T);
    // Continuation with a pitch jitter and a frequency-dependent random phase.
    PeakList& continuePhasesJitter(const PeakList& frame, float T);
    // Continuation plus a table phase read at the formant-warped frequency; a
    // null or invalid table adds nothing.
    PeakList& continuePhasesWarped(const PeakList& frame, float T, float ratio, StepTable* table);
    // The first three partials continued, the rest on the tabulated slope.
    PeakList& continuePhasesTrackA(const PeakList& frame, float T, int index);
    // The first two partials continued, the rest on the slope plus offsets.
    PeakList& continuePhasesTrackB(const PeakList& frame, float T, int index, const FastVector<float>& offsets);

    void makeInitialPhases(const PeakList& frame, PeakList& out) const;
    void makeTablePhases(const PeakList& frame, PeakList& out, int index) const;
    void makeTablePhasesWithOffsets(const PeakList& frame, PeakList& out, int index,
                                    const FastVector<float>& offsets) const;
    // Random phase for the partial at f of a voice at f0: none at f0, up to
    // +-pi at the top of the jittered band.
    float jitterPhase(float f0, float f) const;

    const PeakList& previousFrame() const { return previous; }
    const JitterGenerator& jitterGenerator() const { return jitter; }

private:
    // The previous partial nearest to f (within sampleRate), or -1.
    int nearestPrevious(float f) const;
    // The partner of partial i: the same index while both frames have it,
    // else the nearest; -1 when there is none.
    int partnerOf(std::size_t i, float f) const;
    float continuedPhase(int j, float f, float T) const;
    PeakList& finish();

    JitterGenerator jitter;
    float maxHz;
    int harmonicLimit;
    float sampleRate;
    PeakList current;
    PeakList previous;
};

}  // namespace Halvoren
