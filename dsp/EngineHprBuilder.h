#pragma once
// The analysis equipment of the third and fourth engine generations: a
// harmonics detector and a residual fetcher set up for 4096-point frames at
// hop 128, and the pass that turns a recorded unit into its
// harmonic-plus-residual model with them.
#include "dsp/FIFOSampleBuffer.h"
#include "dsp/HPR_model.h"
#include "dsp/HarmonicsDetector.h"
#include "dsp/ResidualFetcher.h"

namespace HalvorenEngineV3 {

class EngineHprBuilder : private Halvoren::HarmonicsDetector, private Halvoren::ResidualFetcher {
public:
    // Both parts with the rate, the detector configured with
    // (128, -100, 0.01, 0.01, 7, 0.16), the synthesis window built.
    explicit EngineHprBuilder(float sampleRate);
    ~EngineHprBuilder() override = default;
    EngineHprBuilder(const EngineHprBuilder&) = delete;
    EngineHprBuilder& operator=(const EngineHprBuilder&) = delete;

    // out becomes the model of the recording: harmonic peaks per frame at
    // hop 128 (frame i centred on sample i * 128) and the residual as 16-bit
    // samples of the recording's length. An empty recording gives an empty
    // model with hop 128. False, with out emptied, for a sample rate the
    // detector does not serve (below 4000 or above 48000 Hz, or not a
    // number) or a recording longer than 2^30 samples.
    bool analyse(const Halvoren::FIFOSampleBufferTemplate<short>& recording, Halvoren::HPR_model& out);

    Halvoren::HarmonicsDetector& detector() { return *this; }
    const Halvoren::HarmonicsDetector& detector() const { return *this; }
    Halvoren::ResidualFetcher& fetcher() { return *this; }
    const Halvoren::ResidualFetcher& fetcher() const { return *this; }

    float sampleRate;
};

}  // namespace HalvorenEngineV3

namespace HalvorenEngineV4 {

// The fourth generation's builder: the same equipment with the same values.
class EngineHprBuilder : public HalvorenEngineV3::EngineHprBuilder {
public:
    using HalvorenEngineV3::EngineHprBuilder::EngineHprBuilder;
};

}  // namespace HalvorenEngineV4
