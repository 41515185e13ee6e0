#pragma once
// The voice package of banks "2": a plain index of eleven header values,
// records of fifteen voice values (the twelve, then three ratios) with
// harmonic levels on a frequency step.
#include "voicebank/package/HprPackager.h"
#include "voicebank/v2/SourceRecords.h"

namespace HalvorenEngineV2 {

struct RecordLayout {
    using SrcParameter = HalvorenEngineV2::SrcParameter;
    using SrcContinuantParameter = HalvorenEngineV2::SrcContinuantParameter;
    using SrcMaterial = HalvorenEngineV2::SrcMaterial;
    static constexpr Halvoren::IndexFormat kIndexFormat = Halvoren::kIndexFormatV2;
    static constexpr Halvoren::PeakFrameShape kPeakFrames = Halvoren::PeakFrameShape::Harmonics;
    static constexpr std::int32_t kVoiceValueBytes = 15 * 4;
    static void readValues(Halvoren::CMemoryStream& s, SrcParameter& p)
    {
        Halvoren::readVoiceValues12(s, p);
        s.readFloat(p.ratio1);
        s.readFloat(p.ratio2);
        s.readFloat(p.ratio3);
    }
};

class SourceStorePackager : public Halvoren::HprPackager<RecordLayout> {
public:
    using HprPackager::HprPackager;
};

}  // namespace HalvorenEngineV2
