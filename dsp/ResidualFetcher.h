#pragma once
// Takes the harmonics found in a recording out of it: each 4096-point frame
// of the recording, shaped by a Blackman-Harris window scaled to sum 1, minus
// the frame's harmonic peaks drawn through the same window's transform, is
// overlap-added through the synthesis window at hop 128. The synthesis
// window turns the middle 256 samples of each frame into a triangle, and the
// triangles of neighbouring frames add up to 1, so the residual is the
// recording minus the resynthesised harmonics.
#include <cstdint>
#include <memory>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/FreqBox.h"
#include "dsp/LogUtil.h"
#include "dsp/PeakList.h"
#include "dsp/PeakTracks.h"
#include "dsp/Windows.h"

namespace Halvoren {

class ResidualFetcher : public LogUtil {
public:
    explicit ResidualFetcher(float sampleRate);
    ResidualFetcher(const ResidualFetcher&) = delete;
    ResidualFetcher& operator=(const ResidualFetcher&) = delete;

    // Builds the synthesis window (the output writer's window for frames of
    // fftSize at hop 128) and sets hop to 128; nothing happens when it
    // exists and hop is already 128.
    void buildWindows();

    // residual = recording minus the harmonics of `peaks`, frame i being
    // centred on recording sample i * hop, as 16-bit samples (rounded,
    // saturated) of the recording's length. Frames beyond the tracks subtract
    // nothing; peaks outside 5 bins from 0 Hz and from half the sample rate
    // are left in. Builds the windows when missing. False, with residual
    // empty, for a rate that is not positive or a recording longer than
    // 2^30 samples.
    bool fetch(const FIFOSampleBufferTemplate<short>& recording, const PeakTracks& peaks,
               FIFOSampleBufferTemplate<short>& residual);

    std::int32_t hop = 0;
    std::int32_t fftSize = 4096;
    float sampleRate;
    float scale = 32767.0f;
    AnalysisWindow analysisWindow;
    std::unique_ptr<AnalysisWindow> synthesisWindow;
    FreqBox frameA;
    FreqBox frameB;

private:
    // Draws the peaks into frameB's half spectrum, zero elsewhere.
    void drawPeaks(const PeakList& peaks);
};

}  // namespace Halvoren
