#include "engine/v3_1/BuildCells.h"

#include <cstdint>

namespace HalvorenEngineV3_1 {

namespace {

using HalvorenEngineV3::framesOf;

// Kind 2: the continuant's frames carry the model at b into the next
// syllable's recording, entered where its shortened onset begins.
std::unique_ptr<CellMakerCore> tailMaker(HalvorenEngineV3::CellMakerState& state,
                                         const HalvorenEngineV3::EndModels& m, int endLen, int cellStart, int local)
{
    const Halvoren::GHR_modelPkg* next = framesOf(m.next);
    const Halvoren::GHR_modelPkg* tail = framesOf(m.c);
    if (next == nullptr || tail == nullptr)
        return nullptr;
    auto maker = std::make_unique<CellMakerCore_ByMergeTwoModelAndTailSrc>();
    maker->init(state.makerSetting());
    CellMakerCore_ByMergeTwoModelAndTailSrc::Models models;
    models.first = framesOf(m.first);
    models.firstAnchor = m.first->param4;
    models.next = next;
    models.nextAnchor = m.next->posAtRatio();
    models.tail = tail;
    models.tailStart = m.c->param1;
    models.tailLength = m.c->param2;
    if (!maker->setUp(models, endLen, cellStart, local))
        return nullptr;
    return maker;
}

// Kind 1: the model at b, walked toward the middle of its steady part and
// bent by the continuant's bands, fading into the continuant.
std::unique_ptr<CellMakerCore> mergeMaker(HalvorenEngineV3::CellMakerState& state,
                                          const HalvorenEngineV3::EndModels& m, int endLen, int cellStart, int local)
{
    const Halvoren::GHR_modelPkg* tail = framesOf(m.c);
    if (tail == nullptr)
        return nullptr;
    const int b = m.first->param4;
    const int mid = static_cast<int>((std::int64_t{m.first->param3} + b) / 2);
    auto maker =
        std::make_unique<CellMakerCore_FromStdModelAndSrcModel_merge2src>(*framesOf(m.first), b, mid, *tail, m.c->param1);
    maker->init(state.makerSetting());
    if (!maker->setUp(m.c->param1, m.c->param2, endLen, cellStart, local, kMergeFadePercentage))
        return nullptr;
    return maker;
}

}  // namespace

std::unique_ptr<CellMakerCore> makeEndMaker(HalvorenEngineV3::CellMakerState& state,
                                            const HalvorenEngineV3::EndModels& models, int endLen, int cellStart,
                                            int local)
{
    if ((models.kind == 1 || models.kind == 2) && framesOf(models.first) != nullptr) {
        if (models.kind == 2)
            if (auto maker = tailMaker(state, models, endLen, cellStart, local))
                return maker;
        if (auto maker = mergeMaker(state, models, endLen, cellStart, local))
            return maker;
        HalvorenEngineV3::EndModels plain = models;
        plain.kind = 0;
        return HalvorenEngineV3::makeEndMaker(state, plain, endLen, cellStart, local);
    }
    return HalvorenEngineV3::makeEndMaker(state, models, endLen, cellStart, local);
}

void buildCells(HalvorenEngineV3::CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                HalvorenEngine::CellListCache& list)
{
    HalvorenEngineV3::CellForm form;
    form.endMaker = &makeEndMaker;
    form.blendFromSource = true;
    HalvorenEngineV3::runCellLoop(state, score, list, form);
}

}  // namespace HalvorenEngineV3_1
