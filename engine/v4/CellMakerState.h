#pragma once
// What the cell makers of a fourth-generation job share: the shared state of
// the third generation (frames, stop flag, curves, warp-ratio bounds, band
// axis, analyser) with this generation's store, symbol manager and record
// cache, and the record fetch with its "-" + unit retry.
#include <string>

#include "engine/v3/CellMakerStateBase.h"
#include "engine/v3/ICellBuildingListener.h"
#include "engine/v4/ISourceStore.h"
#include "voicebank/v4/SrcCache.h"

namespace HalvorenEngineV4 {

using HalvorenEngineV3::CellCursor;
using HalvorenEngineV3::ICellBuildingListener;

class CellMakerState : public HalvorenEngineV3::CellMakerStateOf<ISourceStore, SrcCache> {
public:
    using CellMakerStateOf::CellMakerStateOf;

    // A record of unit near pitch through the cache; null when the bank has
    // none. With retryWithDash set, a missing unit is asked again as
    // "-" + unit. A continuant goes by its one name ("-" or an initial).
    VoiceSrc* fetchVoiceSrc(const std::string& unit, const std::string& pitch, bool retryWithDash);
    SrcParameter* fetchSrcParameter(const std::string& unit, const std::string& pitch, bool retryWithDash);
    ContinuantSrc* fetchContinuantSrc(const std::string& name, const std::string& pitch, bool retryWithDash);
    SrcContinuantParameter* fetchSrcContinuantParameter(const std::string& name, const std::string& pitch,
                                                        bool retryWithDash);

    // The phase table a cell's frames carry: the unit record's "ext1" table
    // when the bank has the block, else none (null).
    Halvoren::StepTable* phaseEntryOf(VoiceSrc* unit);
};

}  // namespace HalvorenEngineV4
