#include "engine/v3/BuildCells.h"

#include <cmath>
#include <memory>

#include "engine/v3/CellParts.h"
#include "engine/v3/MakeTwoBehind.h"

namespace HalvorenEngineV3 {

namespace {

// The records a layout gave are the cache's loaded ones.
VoiceSrc* loaded(SrcParameter* record) { return static_cast<VoiceSrc*>(record); }
ContinuantSrc* loaded(SrcContinuantParameter* record) { return static_cast<ContinuantSrc*>(record); }

const Halvoren::GHR_modelPkg* materialOf(SrcParameter* record)
{
    return record != nullptr ? loaded(record)->material.get() : nullptr;
}
const Halvoren::GHR_modelPkg* materialOf(SrcContinuantParameter* record)
{
    return record != nullptr ? loaded(record)->material.get() : nullptr;
}

const Halvoren::GHR_modelPkg* withFrames(const Halvoren::GHR_modelPkg* model)
{
    return model != nullptr && frameCountOf(*model) > 0 ? model : nullptr;
}

}  // namespace

const Halvoren::GHR_modelPkg* framesOf(SrcParameter* record) { return withFrames(materialOf(record)); }
const Halvoren::GHR_modelPkg* framesOf(SrcContinuantParameter* record) { return withFrames(materialOf(record)); }

std::unique_ptr<CellMakerCore> makeEndMaker(CellMakerState& state, const EndModels& m, int endLen, int cellStart,
                                            int local)
{
    const Halvoren::GHR_modelPkg* a = framesOf(m.first);
    if (a == nullptr)
        return nullptr;
    const int b = m.first->param4;
    const int mid = static_cast<int>((std::int64_t{m.first->param3} + b) / 2);
    const Halvoren::GHR_modelPkg* second = framesOf(m.second);
    const Halvoren::GHR_modelPkg* tail = framesOf(m.c);
    if (m.kind == 3 && second != nullptr) {
        auto maker = std::make_unique<CellMakerCore_ByMergeTwoModel>();
        maker->init(state.makerSetting());
        maker->setUp(*a, b, *second, m.second->param3, endLen, cellStart, local);
        return maker;
    }
    if (m.kind == 2 && second != nullptr && tail != nullptr && framesOf(m.next) != nullptr) {
        auto maker = std::make_unique<CellMakerCore_ByMergeTwoModelAndTailSrc>();
        maker->init(state.makerSetting());
        CellMakerCore_ByMergeTwoModelAndTailSrc::Models models;
        models.first = a;
        models.firstAnchor = b;
        models.second = second;
        models.secondAnchor = m.second->param3;
        models.next = materialOf(m.next);
        models.nextOnset = m.next->posAtRatio();
        models.nextVowel = m.next->param3;
        models.tail = tail;
        models.tailStart = m.c->param1;
        models.tailLength = m.c->param2;
        maker->setUp(models, endLen, cellStart, local);
        return maker;
    }
    if ((m.kind == 1 || m.kind == 2) && tail != nullptr) {
        auto maker = std::make_unique<CellMakerCore_FromStdModelAndSrcModel_merge>(*a, b, mid, *tail, m.c->param1);
        maker->init(state.makerSetting());
        maker->setUp(m.c->param1, m.c->param2, endLen, cellStart, local);
        return maker;
    }
    auto maker = std::make_unique<CellMakerCore_FromStdModel>(*a);
    maker->init(state.makerSetting());
    maker->setModel(b, std::max(0, m.first->param5), endLen, cellStart, local);
    return maker;
}

namespace {

void makeEndPart(CellMakerState& state, ICellRecords& records, const CellRecord& cell, const CellLayout& lay,
                 CellCursor& at, EndMakerFor endMaker)
{
    if (lay.endLen < 1)
        return;
    EndModels own{lay.m1, lay.m3, lay.rN, lay.c, lay.kind};
    const int firstFrame = at.firstFrame;
    auto ownMaker = endMaker(state, own, lay.endLen, firstFrame, at.local);
    if (ownMaker == nullptr)
        return;
    const bool crossed = lay.distinctCross || (lay.nextDistinctCross && lay.kind == 3);
    if (!crossed) {
        emitPieceFrames(state, *ownMaker, lay.endLen, at);
        return;
    }
    EndModels cross;
    cross.first = lay.distinctCross ? lay.m2 : lay.m1;
    cross.second = lay.nextDistinctCross ? lay.m4 : lay.m3;
    cross.next = lay.rN;
    Halvoren::ISymbolMgr& symbols = state.symbols();
    std::string initial, crossFinal;
    symbols.splitSyllable(cell.names.crossUnit, initial, crossFinal);
    cross.kind = endKind(symbols, records, cell, crossFinal, lay.nextInitial, cell.names.crossTimbre,
                         lay.rN != nullptr, cross.second != nullptr, cross.c);
    auto crossMaker = endMaker(state, cross, lay.endLen, firstFrame, at.local);
    if (crossMaker == nullptr) {
        emitPieceFrames(state, *ownMaker, lay.endLen, at);
        return;
    }
    emitTwoMakerFrames(state, *ownMaker, *crossMaker, lay.endLen, at);
}

}  // namespace

SrcContinuantParameter* CachedCellRecords::continuant(const std::string& first, const std::string& second,
                                                      const std::string& pitch)
{
    const std::string stored = state_.store().getRecordKey(first + "_" + second, pitch);
    if (stored.empty())
        return nullptr;
    return state_.cache().getContinuantSrc(state_.store(), first, second, stored);
}

void buildCells(CellMakerState& state, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list)
{
    runCellLoop(state, score, list);
}

void runCellLoop(CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                 HalvorenEngine::CellListCache& list, const CellForm& form)
{
    state.prepare(score);
    CachedCellRecords records(state);
    const WalkTiming timing = walkTimingOf(state.sampleRate(), state.store().getHopSize(), score.leadIn);
    std::vector<CellRecord> cells;
    makeTwoBehind(
        score.notes.size(), [&](std::size_t k) { walkNote(state.symbols(), records, score, k, timing, cells); },
        [&](std::size_t i) { makeCellFrames(state, cells[i], list, form); }, [&] { return state.isStopped(); });
    list.finished = true;
}

void makeBreathCell(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list)
{
    VoiceSrc* r = state.lookupVoiceSrc(cell.names.symbol, cell.names.timbre);
    if (r == nullptr || r->material == nullptr)
        return;
    const BreathSpan span = breathSpan(cell, *r);
    int local = 0;
    CellCursor at{span.start, local, list, nullptr};
    emitModelPart(state, *r->material, r->endPos, span.srcLen, span.length, at, true);
}

void makeCellFrames(CellMakerState& state, const CellRecord& cell, HalvorenEngine::CellListCache& list,
                    const CellForm& form)
{
    const CellUnitNames& n = cell.names;
    if (state.symbols().isBreath(n.symbol)) {
        makeBreathCell(state, cell, list);
        return;
    }
    CachedCellRecords records(state);
    const CellLayout lay = layoutCell(state.symbols(), records, cell);
    const Halvoren::GHR_modelPkg* m1 = materialOf(lay.m1);
    if (m1 == nullptr)
        return;
    Halvoren::StepTable* phase = state.store().hasExt1() ? &loaded(lay.m1)->material->ext1 : nullptr;
    int local = 0;
    CellCursor at{cell.cellStart - cell.cellOffset, local, list, phase};
    const bool sameRecording = n.symbol == n.unit;
    SourceDrive drive;
    drive.model = m1;
    drive.anchor = lay.a;
    drive.loopEnd = lay.mid;
    drive.source = materialOf(lay.rL);
    drive.refFrame = lay.rL != nullptr ? lay.rL->param3 : 0;
    drive.blendFromSource = form.blendFromSource;
    // Onset.
    if (sameRecording)
        emitModelPart(state, *m1, lay.onsetStart, lay.onsetLen, cell.cellOffset, at, false);
    else
        emitSourcePart(state, drive, lay.onsetStart, lay.onsetLen, cell.cellOffset, at);
    // Every part starts where the layout puts it, made or not.
    local = cell.cellOffset;
    // Middle part.
    const Halvoren::GHR_modelPkg* m2 = materialOf(lay.m2);
    const bool crossBody = lay.distinctCross && m2 != nullptr;
    if (lay.secondLen > 0 && lay.rL != nullptr) {
        const int from = lay.rL->endPos;
        if (!crossBody) {
            if (sameRecording)
                emitModelPart(state, *m1, from, lay.secondLen, lay.midLen, at, false);
            else
                emitSourcePart(state, drive, from, lay.secondLen, lay.midLen, at);
        } else {
            CrossDelta delta;
            makeCrossDelta(state, *m1, lay.a, *m2, lay.m2->param3,
                           state.timeOf(at.firstFrame + cell.cellOffset + lay.midLen), delta);
            if (sameRecording)
                emitModelPartWithDelta(state, *m1, from, lay.secondLen, lay.midLen, delta, at);
            else
                emitSourcePartWithDelta(state, drive, from, lay.secondLen, lay.midLen, delta, at);
        }
    }
    local = cell.cellOffset + (lay.secondLen > 0 ? lay.midLen : 0);
    // Body.
    if (!crossBody) {
        emitModelPart(state, *m1, lay.a, lay.b - lay.a, lay.bodyLen, at, false);
    } else {
        emitPieceFramesCross(state, {m1, lay.a, lay.b - lay.a},
                             {m2, lay.m2->param3, lay.m2->param4 - lay.m2->param3}, lay.bodyLen, at);
    }
    local = cell.cellOffset + (lay.secondLen > 0 ? lay.midLen : 0) + lay.bodyLen;
    makeEndPart(state, records, cell, lay, at, form.endMaker);
}

}  // namespace HalvorenEngineV3
