#pragma once
// The voice package of banks "3.1" to "3.5": the index is read at
// construction, records are loaded on demand and belong to the caller.
#include <cstdint>

#include "dsp/CMemoryStream.h"
#include "voicebank/package/GhrPackager.h"
#include "voicebank/v3/SourceRecords.h"

namespace HalvorenEngineV3 {

// Sixteen voice values, stored in memory order except param6, which comes
// last; three continuant values in memory order.
struct RecordLayout {
    using SrcParameter = HalvorenEngineV3::SrcParameter;
    using SrcContinuantParameter = HalvorenEngineV3::SrcContinuantParameter;
    using SrcMaterial = HalvorenEngineV3::SrcMaterial;
    static constexpr Halvoren::IndexFormat kIndexFormat = Halvoren::kIndexFormatV3;
    static constexpr std::int32_t kVoiceValueBytes = 16 * 4;
    static constexpr std::int32_t kContinuantValueBytes = 3 * 4;
    static void readValues(Halvoren::CMemoryStream& s, SrcParameter& p);
    static void readValues(Halvoren::CMemoryStream& s, SrcContinuantParameter& p);
};

class SourceStorePackager : public Halvoren::GhrPackager<RecordLayout> {
public:
    using GhrPackager::GhrPackager;
};

}  // namespace HalvorenEngineV3
