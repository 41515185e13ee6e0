#pragma once
// The cell makers of banks "3.4" and "3.5": the plain model maker and the
// two-model blend of the third generation, the model-to-recording merge and
// the merge through a recorded tail of the fourth. Their frames go to the
// third generation's listener.
#include "engine/v3/CellMakers.h"
#include "engine/v3/ICellBuildingListener.h"
#include "engine/v4/CellMakers.h"

namespace HalvorenEngineV3_1 {

using ICellBuildingListener = HalvorenEngineV3::ICellBuildingListener;
using CellMakerCore = HalvorenEngineV3::CellMakerCore;
using CellMakerCore_FromStdModel = HalvorenEngineV3::CellMakerCore_FromStdModel;
using CellMakerCore_FromStdModelAndSrcModel_merge2src = HalvorenEngineV4::CellMakerCore_FromStdModelAndSrcModel_merge2src;
using CellMakerCore_ByMergeTwoModelAndTailSrc = HalvorenEngineV4::CellMakerCore_ByMergeTwoModelAndTailSrc;
using CellMakerCore_ByMergeTwoModel = HalvorenEngineV3::CellMakerCore_ByMergeTwoModel;

// Percentage of the end part over which kind 1 fades from the model into
// the recorded transition.
constexpr float kMergeFadePercentage = 60.0f;

}  // namespace HalvorenEngineV3_1
