#include "dsp/EngineHprBuilder.h"

namespace HalvorenEngineV3 {

EngineHprBuilder::EngineHprBuilder(float rate)
    : Halvoren::HarmonicsDetector(rate), Halvoren::ResidualFetcher(rate), sampleRate(rate)
{
    configure(128, -100.0f, 0.01f, 0.01f, 7.0f, 0.16f);
    buildWindows();
}

bool EngineHprBuilder::analyse(const Halvoren::FIFOSampleBufferTemplate<short>& recording, Halvoren::HPR_model& out)
{
    out.hop = fetcher().hop;
    if (!detect(recording, out.hop, out.peaks) || !fetch(recording, out.peaks, out.residual)) {
        out.peaks.clear();
        out.residual.clear();
        return false;
    }
    return true;
}

}  // namespace HalvorenEngineV3
