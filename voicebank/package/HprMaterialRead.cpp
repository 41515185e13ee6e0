#include "voicebank/package/HprMaterialRead.h"

#include <algorithm>

#include "dsp/PeakTrackReads.h"

namespace Halvoren {

void readHprMaterial(CMemoryStream& stream, PeakFrameShape shape, std::int32_t hop, HPR_model& model)
{
    if (shape == PeakFrameShape::PeakLists)
        readPeakTracks(stream, model.peaks);
    else
        readHarmonicTracks(stream, model.peaks);
    std::int32_t bytes = 0;
    stream.readInt32(bytes);
    const auto samples = static_cast<std::uint32_t>(std::clamp(bytes, 0, stream.remaining()) / 2);
    if (samples > 0) {
        const std::uint32_t had = model.residual.numSamples();
        model.residual.putSamples(samples);
        stream.read(model.residual.ptrBegin() + had, std::int32_t(samples * 2));
    }
    model.hop = hop;
}

}  // namespace Halvoren
