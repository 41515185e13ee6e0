#include "engine/v4/CellParts.h"

#include <cstdint>

namespace HalvorenEngineV4 {

SourceDrive middleDrive(const VoiceSrc& unit, const VoiceSrc& onset)
{
    SourceDrive drive;
    drive.model = unit.material.get();
    drive.anchor = unit.v4Param3;
    drive.loopEnd = static_cast<int>((std::int64_t{unit.v4Param3} + unit.v4Param4) / 2);
    drive.source = onset.material.get();
    drive.refFrame = onset.v4Param3;
    drive.blendFromSource = true;
    return drive;
}

void emitMiddlePart(HalvorenEngineV3::CellMakerStateBase& state, const VoiceSrc& unit, const VoiceSrc& onset,
                    int secondLen, int midLen, CellCursor& at, const CrossDelta* delta)
{
    const SourceDrive drive = middleDrive(unit, onset);
    if (delta != nullptr)
        HalvorenEngineV3::emitSourcePartWithDelta(state, drive, onset.v4Param2, secondLen, midLen, *delta, at);
    else
        HalvorenEngineV3::emitSourcePart(state, drive, onset.v4Param2, secondLen, midLen, at);
}

}  // namespace HalvorenEngineV4
