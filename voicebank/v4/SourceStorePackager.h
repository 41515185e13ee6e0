#pragma once
// The voice package of banks "4.0" to "4.03": the index is read at
// construction (with the optional "ext3" and "ext4" blocks of this
// generation), records are loaded on demand and belong to the caller.
#include <cstdint>

#include "dsp/CMemoryStream.h"
#include "voicebank/package/GhrPackager.h"
#include "voicebank/v4/SourceRecords.h"

namespace HalvorenEngineV4 {

// Nine voice values in memory order; four continuant values stored in the
// order 1, 2, 4, 3.
struct RecordLayout {
    using SrcParameter = HalvorenEngineV4::SrcParameter;
    using SrcContinuantParameter = HalvorenEngineV4::SrcContinuantParameter;
    using SrcMaterial = HalvorenEngineV4::SrcMaterial;
    static constexpr Halvoren::IndexFormat kIndexFormat = Halvoren::kIndexFormatV4;
    static constexpr std::int32_t kVoiceValueBytes = 9 * 4;
    static constexpr std::int32_t kContinuantValueBytes = 4 * 4;
    static void readValues(Halvoren::CMemoryStream& s, SrcParameter& p);
    static void readValues(Halvoren::CMemoryStream& s, SrcContinuantParameter& p);
};

class SourceStorePackager : public Halvoren::GhrPackager<RecordLayout> {
public:
    using GhrPackager::GhrPackager;

    bool hasExt3() const { return index().hasExt3; }
    bool hasExt4() const { return index().hasExt4; }
    // 0.5, 1.2, -20.0 when the index holds no "ext3" block.
    const float* ext3Values() const { return index().ext3Values; }
};

}  // namespace HalvorenEngineV4
