#pragma once
// Reads the material of a third- or fourth-generation record: the stored
// band model (its part "band model"), then, for a voice of an index that
// carries "ext1" and only when the record still holds bytes, the phase
// table (its part "phase table"): step (float), columns (int32), rows
// (int32) and a float array. A record that ends early leaves what follows
// the cut at its constructed values, and the parse names the part cut.
#include "dsp/GHR_modelPkg.h"
#include "dsp/StepTable.h"
#include "voicebank/package/RecordParse.h"

namespace Halvoren {

void readGhrMaterial(RecordParse& reading, GHR_modelPkg& model, StepTable* ext1);

}  // namespace Halvoren
