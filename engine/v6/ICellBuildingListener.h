#pragma once
// Told of every frame a sixth-generation cell maker makes, right after it is
// made; the job's worker renders it at once.
#include "dsp/SynthFrameV6.h"

namespace HalvorenEngineV6 {

class ICellBuildingListener {
public:
    virtual ~ICellBuildingListener() = default;
    virtual void onCellBuilt(Halvoren::SynthFrameV6& frame) = 0;
};

}  // namespace HalvorenEngineV6
