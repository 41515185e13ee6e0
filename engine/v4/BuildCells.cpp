#include "engine/v4/BuildCells.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/v3/MakeTwoBehind.h"
#include "engine/v4/CellMakers.h"
#include "engine/v4/CellParts.h"

namespace HalvorenEngineV4 {

namespace {

// The records a layout gave are the cache's loaded voice records.
VoiceSrc* loaded(SrcParameter* record) { return static_cast<VoiceSrc*>(record); }
ContinuantSrc* loaded(SrcContinuantParameter* record) { return static_cast<ContinuantSrc*>(record); }

// The model of a record; null without a record, or when it has no frames.
template <class Record>
const Halvoren::GHR_modelPkg* modelOf(Record* record)
{
    if (record == nullptr)
        return nullptr;
    const auto* material = loaded(record)->material.get();
    return material != nullptr && HalvorenEngineV3::frameCountOf(*material) > 0 ? material : nullptr;
}

int middleOfSteady(const SrcParameter& r)
{
    return static_cast<int>((std::int64_t{r.v4Param3} + r.v4Param4) / 2);
}

// What one end-part maker is made from: a first model (the unit's or the
// cross unit's), a continuant, and a next model with its anchor frame.
struct EndSource {
    int mode = kEndFromModel;
    SrcParameter* first = nullptr;
    SrcContinuantParameter* tail = nullptr;
    SrcParameter* next = nullptr;
    int nextAnchor = 0;
};

// Where an end part is made: n frames from the part's counter in the cell
// whose first frame is base.
struct EndPlace {
    int n = 0;
    int base = 0;
    int counter = 0;
};

// The maker of an end part; null when a record it needs is missing.
std::unique_ptr<CellMakerCore> endMaker(CellMakerState& state, const EndSource& s, const EndPlace& at,
                                        float percentage)
{
    const Halvoren::GHR_modelPkg* first = modelOf(s.first);
    if (first == nullptr)
        return nullptr;
    const Halvoren::GHR_modelPkg* tail = modelOf(s.tail);
    const Halvoren::GHR_modelPkg* next = modelOf(s.next);
    switch (s.mode) {
    case kEndFromModel: {
        auto maker = std::make_unique<CellMakerCore_FromStdModel>(*first);
        maker->init(state.makerSetting());
        maker->setModel(s.first->v4Param4, std::max(0, s.first->v4Param5), at.n, at.base, at.counter);
        return maker;
    }
    case kEndMergeToSource: {
        if (tail == nullptr)
            return nullptr;
        const int r = s.tail->v4ContParam1;
        auto maker = std::make_unique<CellMakerCore_FromStdModelAndSrcModel_merge2src>(
            *first, s.first->v4Param4, middleOfSteady(*s.first), *tail, r);
        maker->init(state.makerSetting());
        if (!maker->setUp(r, s.tail->v4ContParam2, at.n, at.base, at.counter, percentage))
            return nullptr;
        return maker;
    }
    case kEndThroughTail: {
        if (tail == nullptr || next == nullptr)
            return nullptr;
        auto maker = std::make_unique<CellMakerCore_ByMergeTwoModelAndTailSrc>();
        maker->init(state.makerSetting());
        CellMakerCore_ByMergeTwoModelAndTailSrc::Models m;
        m.first = first;
        m.firstAnchor = s.first->v4Param4;
        m.next = next;
        m.nextAnchor = s.nextAnchor;
        m.tail = tail;
        m.tailStart = s.tail->v4ContParam1;
        m.tailLength = s.tail->v4ContParam2;
        if (!maker->setUp(m, at.n, at.base, at.counter))
            return nullptr;
        return maker;
    }
    default: {
        if (next == nullptr)
            return nullptr;
        auto maker = std::make_unique<CellMakerCore_ByMergeTwoModel>();
        maker->init(state.makerSetting());
        maker->setUp(*first, s.first->v4Param4, *next, s.nextAnchor, at.n, at.base, at.counter);
        return maker;
    }
    }
}

// The own end part as the layout chose it.
EndSource ownEnd(const CellLayout& lay)
{
    EndSource s{lay.mode, lay.unit, lay.tail, nullptr, 0};
    if (lay.mode == kEndThroughTail) {
        s.next = lay.nextSymbol;
        s.nextAnchor = lay.nextAnchor;
    } else if (lay.mode == kEndMergeModels) {
        s.next = lay.nextUnit;
        s.nextAnchor = lay.nextUnit != nullptr ? lay.nextUnit->v4Param3 : 0;
    }
    return s;
}

// The cross timbre's end part: the cross record's own join into the next
// note's cross record (its unit's when they are one), or into a continuant
// at the cross timbre.
EndSource crossEnd(CellMakerState& state, ICellRecords& records, const CellRecord& cell, const CellLayout& lay)
{
    EndSource s;
    s.first = lay.cross != nullptr ? lay.cross : lay.unit;
    if (cell.transition != 0 && lay.intoFinal) {
        s.mode = kEndMergeModels;
        s.next = lay.nextCross != nullptr ? lay.nextCross : lay.nextUnit;
        s.nextAnchor = s.next != nullptr ? s.next->v4Param3 : 0;
        return s;
    }
    const std::string name = cell.transition != 0 ? lay.nextInitial : "-";
    s.tail = records.continuant(name, cell.names.crossTimbre);
    if (s.tail == nullptr)
        return s;
    s.mode = cell.transition != 0 && state.symbols().isVoiced(lay.nextInitial) ? kEndThroughTail : kEndMergeToSource;
    s.next = lay.nextSymbol;
    s.nextAnchor = lay.nextSymbol != nullptr ? lay.nextSymbol->v4Param1 : 0;
    return s;
}

void makeEndPart(CellMakerState& state, ICellRecords& records, const CellRecord& cell, const CellLayout& lay,
                 bool sameCross, CellCursor& at)
{
    if (lay.endLen < 1)
        return;
    const EndPlace place{lay.endLen, at.firstFrame, at.local};
    const bool nextSameCross = lay.nextCross == nullptr || lay.nextCross == lay.nextUnit;
    if (sameCross && (lay.mode != kEndMergeModels || nextSameCross)) {
        if (auto maker = endMaker(state, ownEnd(lay), place, 50.0f))
            emitPieceFrames(state, *maker, lay.endLen, at);
        return;
    }
    auto own = endMaker(state, ownEnd(lay), place, 60.0f);
    if (own == nullptr)
        return;
    auto cross = endMaker(state, crossEnd(state, records, cell, lay), place, 60.0f);
    if (cross == nullptr)
        emitPieceFrames(state, *own, lay.endLen, at);
    else
        emitTwoMakerFrames(state, *own, *cross, lay.endLen, at);
}

void makeBreathCell(CellMakerState& state, ICellRecords& records, const CellRecord& cell,
                    HalvorenEngine::CellListCache& list)
{
    SrcParameter* r = records.voice(cell.names.symbol, cell.names.timbre, cell.followsTransition());
    const Halvoren::GHR_modelPkg* model = modelOf(r);
    if (model == nullptr)
        return;
    const BreathSpan breath = breathSpan(cell, *r);
    int local = 0;
    CellCursor at{breath.start, local, list, nullptr};
    emitModelPart(state, *model, r->v4Param2, breath.span, breath.length, at, true);
}

}  // namespace

void buildCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list)
{
    runCellLoop(state, score, list);
}

void runCellLoop(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list)
{
    state.prepare(score);
    CachedCellRecords records(state);
    const WalkTiming timing =
        HalvorenEngineV3::walkTimingOf(state.sampleRate(), state.store().getHopSize(), score.leadIn);
    std::vector<CellRecord> cells;
    HalvorenEngineV3::makeTwoBehind(
        score.notes.size(), [&](std::size_t k) { walkNote(state.symbols(), records, score, k, timing, cells); },
        [&](std::size_t i) { makeCellFrames(state, cells[i], list); }, [&] { return state.isStopped(); });
    list.finished = true;
}

void makeCellFrames(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list)
{
    if (cell.valid == 0)
        return;
    const CellUnitNames& n = cell.names;
    CachedCellRecords records(state);
    if (state.symbols().isBreath(n.symbol)) {
        makeBreathCell(state, records, cell, list);
        return;
    }
    const CellLayout lay = layoutCell(state.symbols(), records, cell);
    VoiceSrc* unit = loaded(lay.unit);
    const Halvoren::GHR_modelPkg* unitModel = modelOf(lay.unit);
    if (unitModel == nullptr)
        return;
    VoiceSrc* onset = loaded(lay.onset);
    const Halvoren::GHR_modelPkg* onsetModel = modelOf(lay.onset);
    const Halvoren::GHR_modelPkg* crossModel = modelOf(lay.cross);
    // A cross record that is missing or has no frames counts as the unit's.
    const bool sameCross = crossModel == nullptr || lay.cross == lay.unit;
    int local = 0;
    CellCursor at{cell.cellStart - cell.cellOffset, local, list, state.phaseEntryOf(unit)};

    // Onset, before the note's start; faded in when it starts the phrase
    // on a voiced consonant.
    if (lay.onsetLen > 0 && onsetModel != nullptr) {
        if (!cell.followsTransition() && cell.initialClass2 != 0)
            emitModelPartFadingIn(state, *onsetModel, onset->v4Param1, lay.onsetLen, cell.cellOffset, at);
        else
            emitModelPart(state, *onsetModel, onset->v4Param1, lay.onsetLen, cell.cellOffset, at, false);
    }
    // Every part starts where the layout puts it, made or not.
    local = cell.cellOffset;
    if (lay.secondLen > 0 && onsetModel != nullptr) {
        if (sameCross && n.symbol == n.unit) {
            emitModelPart(state, *onsetModel, onset->v4Param2, lay.secondLen, lay.midLen, at, false);
        } else if (sameCross) {
            emitMiddlePart(state, *unit, *onset, lay.secondLen, lay.midLen, at);
        } else {
            CrossDelta delta;
            const float bodyTime = state.timeOf(at.firstFrame + cell.cellOffset + lay.midLen);
            makeCrossDelta(state, *unitModel, unit->v4Param3, *crossModel, lay.cross->v4Param3, bodyTime, delta);
            if (n.symbol == n.unit)
                emitModelPartWithDelta(state, *onsetModel, onset->v4Param2, lay.secondLen, lay.midLen, delta, at);
            else
                emitMiddlePart(state, *unit, *onset, lay.secondLen, lay.midLen, at, &delta);
        }
    }
    local = cell.cellOffset + (lay.secondLen > 0 ? lay.midLen : 0);
    if (sameCross) {
        emitModelPart(state, *unitModel, unit->v4Param3, lay.steady, lay.bodyLen, at, false);
    } else {
        const int crossSteady = static_cast<int>(
            std::clamp<std::int64_t>(std::int64_t{lay.cross->v4Param4} - lay.cross->v4Param3, 0, INT32_MAX));
        emitPieceFramesCross(state, {unitModel, unit->v4Param3, lay.steady},
                             {crossModel, lay.cross->v4Param3, crossSteady}, lay.bodyLen, at);
    }
    local = cell.cellOffset + (lay.secondLen > 0 ? lay.midLen : 0) + lay.bodyLen;
    makeEndPart(state, records, cell, lay, sameCross, at);
}

}  // namespace HalvorenEngineV4
