#pragma once
// Told of every frame a third-generation cell maker makes, right after it is
// made; the job's worker renders it at once.
#include "engine/SynthFrameV4.h"

namespace HalvorenEngineV3 {

class ICellBuildingListener {
public:
    virtual ~ICellBuildingListener() = default;
    virtual void onCellBuilt(HalvorenEngine::SynthFrameV4& frame) = 0;
};

}  // namespace HalvorenEngineV3
