#pragma once
// What the cell building reads of a first- or second-generation synthesis
// source.
#include "engine/v1/CellBuilding.h"
#include "voicebank/package/SourceRecordShapes.h"

namespace HalvorenEngineV1 {

template <int G>
SourceView sourceViewOf(const Halvoren::BasicSynthetiseSource<G>* source)
{
    SourceView view;
    if (source == nullptr)
        return view;
    view.model = source;
    SourceMarks& m = view.marks;
    m.beginPos = source->beginPos;
    m.endPos = source->endPos;
    m.param3 = source->param3;
    m.param4 = source->param4;
    m.param5 = source->param5;
    m.param7 = source->param7;
    m.param8 = source->param8;
    m.param9 = source->param9;
    m.param10 = source->param10;
    if constexpr (G == 2) {
        m.ratio1 = source->ratio1;
        m.ratio2 = source->ratio2;
    }
    view.name = source->name;
    view.pitch = source->pitch;
    return view;
}

}  // namespace HalvorenEngineV1
