#include "voicebank/package/HprMaterialRead.h"

#include <algorithm>

#include "dsp/PeakTrackReads.h"
#include "platform/ReadBudget.h"

namespace Halvoren {

bool readHprMaterial(CMemoryStream& stream, PeakFrameShape shape, std::int32_t hop, HPR_model& model)
{
    ReadLimits limits;
    limits.bytesPerFileByte = kMaterialBuiltPerByte;
    limits.byteBase = kMaterialBuildBase;
    ReadBudget budget(std::uint64_t(std::max(stream.remaining(), 0)), limits);
    if (shape == PeakFrameShape::PeakLists)
        readPeakTracks(stream, model.peaks, &budget);
    else
        readHarmonicTracks(stream, model.peaks, &budget);
    model.hop = hop;
    if (budget.spent())
        return false;
    std::int32_t bytes = 0;
    stream.readInt32(bytes);
    if (bytes > 0)
        stream.holds(bytes);
    const auto samples = static_cast<std::uint32_t>(std::clamp(bytes, 0, stream.remaining()) / 2);
    if (samples > 0 && budget.takeRecord(std::uint64_t(samples) * 2)) {
        const std::uint32_t had = model.residual.numSamples();
        model.residual.putSamples(samples);
        stream.read(model.residual.ptrBegin() + had, std::int32_t(samples * 2));
    }
    return !budget.spent();
}

}  // namespace Halvoren
