#include <algorithm>

#include "dsp/HPR_model.h"
#include "dsp/PeakTracks.h"

namespace Halvoren {

void PeakTracks::joinThree(HPR_model& out, ParameterBlock& outBlock, const HPR_model& a, const ParameterBlock& aBlock,
                           const HPR_model& b, const ParameterBlock& bBlock)
{
    if (&out == &a || &out == &b) {
        HPR_model built;
        ParameterBlock block{};
        joinThree(built, block, a, aBlock, b, bBlock);
        out.assign(built);
        outBlock = block;
        return;
    }
    const ParameterBlock bCopy = bBlock;  // outBlock may be b's block
    outBlock = aBlock;
    outBlock[4] = bCopy[1];

    const long long join = std::clamp<long long>(static_cast<std::int32_t>(aBlock[3]), 0, a.peaks.size());
    const long long hop = std::max(a.hop, 0);
    const long long samples = std::min<long long>((join + 1) * hop, a.residual.numSamples());

    out.hop = a.hop;
    out.peaks.clear();
    out.peaks.appendFrames(a.peaks, 0, join - 1);
    out.peaks.appendFrames(b.peaks, 0, static_cast<long long>(b.peaks.size()) - 1);
    out.residual.clear();
    out.residual.putSamples(a.residual.ptrBegin(), static_cast<std::uint32_t>(samples));
    out.residual.putSamples(b.residual);
}

}  // namespace Halvoren
