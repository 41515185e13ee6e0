#pragma once
// The voice package of banks "1": a plain index of two header values (hop,
// sample rate), records of twelve voice values with full peak lists.
#include "voicebank/package/HprPackager.h"
#include "voicebank/v1/SourceRecords.h"

namespace Halvoren {

struct RecordLayoutV1 {
    using SrcParameter = Halvoren::SrcParameter;
    using SrcContinuantParameter = Halvoren::SrcContinuantParameter;
    using SrcMaterial = Halvoren::SrcMaterial;
    static constexpr IndexFormat kIndexFormat = kIndexFormatV1;
    static constexpr PeakFrameShape kPeakFrames = PeakFrameShape::PeakLists;
    static constexpr std::int32_t kVoiceValueBytes = 12 * 4;
    static void readValues(CMemoryStream& s, SrcParameter& p) { readVoiceValues12(s, p); }
};

class SourceStorePackager_v1 : public HprPackager<RecordLayoutV1> {
public:
    using HprPackager::HprPackager;
};

}  // namespace Halvoren
