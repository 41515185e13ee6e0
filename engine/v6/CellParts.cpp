#include "engine/v6/CellParts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "dsp/TruncToInt.h"
#include "engine/v6/BuildHarmonics.h"
#include "engine/v6/CellMakers.h"
#include "engine/v6/FetchRecords.h"
#include "engine/v6/PartLayout.h"
#include "engine/v6/TailChoice.h"

namespace HalvorenEngineV6 {

using HalvorenEngine::spanOf;

namespace {

constexpr int kConsonantFade = 18;
// The reference pitch of an unvoiced head frame.
constexpr float kUnvoicedRef = 300.0f;

const HvVoiceModelCompact* modelOf(const VoiceSrc* record)
{
    return record != nullptr ? record->material.get() : nullptr;
}

// The frame making of one cell: where its frames go and the work space.
class CellFrames {
public:
    CellFrames(CellMakerState& state, HalvorenEngine::CellListCache& list, std::int32_t base)
        : state_(state), list_(list), base_(base)
    {
    }

    // Moves the counter past n frames that are not made.
    void skip(int n)
    {
        if (n > 0)
            counter_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{counter_} + n,
                                                                        std::numeric_limits<std::int32_t>::max()));
    }

    // n frames of maker, each frame from the maker's scratch frame.
    void partLoop(CellMakerCore& maker, int n);
    // n frames of main, the first `overlap` mixed out of second when given.
    void twoMakerLoop(CellMakerCore* second, CellMakerCore& main, int n, int overlap);
    // The head: X's frames from its v6Param2 over h frames, bent towards M
    // at its v6Param3, over n frames.
    void headTransition(const HvVoiceModelCompact& target, int targetFrame, const HvVoiceModelCompact& source,
                        int from, int h, int n);
    // u frames of the model from s, stretched over n frames.
    void plainPart(const HvVoiceModelCompact* model, int s, int u, int n);

    // Sets up a maker for the parts of this cell.
    void prepare(CellMakerCore& maker)
    {
        maker.span.set(state_.modelFrameFlag(), state_.framePeriod(), state_.headTime(), base_, counter_,
                       state_.upperRatio(), state_.neutralRatio(), state_.lowerRatio(), &state_.analyser(),
                       &state_.bandLayout(), &state_.frequencyGrid());
    }

private:
    float timeNow() const { return state_.timeOf(static_cast<std::int32_t>(std::int64_t{base_} + counter_)); }
    // The harmonics of a model frame at f0, read through the analyser with
    // the warp ratio at t, into out.
    void harmonicsOf(const Halvoren::FrameMags& stored, float f0, std::int32_t row, float gainDb, float ref, float t,
                     Halvoren::PeakList& out);
    // Fills the frame's fields from a model frame and emits it.
    void emit(const ModelFrame& from, float levelDb, float ref, float f0, float t,
              const Halvoren::FrameMags& frameBuffer);

    CellMakerState& state_;
    HalvorenEngine::CellListCache& list_;
    std::int32_t base_;
    std::int32_t counter_ = 0;
    ModelFrame p_, q_, mixed_;
    Halvoren::PeakList work_;
    Halvoren::FrameMags bufferP_, bufferQ_, empty_;
    Halvoren::SynthFrameV6 frame_;
};

void CellFrames::harmonicsOf(const Halvoren::FrameMags& stored, float f0, std::int32_t row, float gainDb, float ref,
                             float t, Halvoren::PeakList& out)
{
    buildHarmonicsFromModel(stored, f0, row, gainDb, ref, state_.sampleRate(), work_);
    out.clear();
    // Without a pitch or harmonics there is nothing to read.
    if (work_.empty() || !(f0 > 0.0f) || !std::isfinite(f0))
        return;
    state_.analyser().setPeaks(work_);
    state_.analyser().sampleHarmonicsWarped(f0, state_.warpRatioAt(t), out);
}

void CellFrames::emit(const ModelFrame& from, float levelDb, float ref, float f0, float t,
                      const Halvoren::FrameMags& frameBuffer)
{
    harmonicsOf(from.harmonics, f0, from.row, from.gainDb, ref, t, frame_.peaks);
    frame_.levelDb = levelDb;
    frame_.glottalShape = from.row;
    frame_.refValue = ref;
    frame_.trackFrame.assign(frameBuffer);
    frame_.noiseBands.assign(from.noiseBands);
    frame_.mags.assign(from.noiseLevels);
    frame_.modFloor = from.modFloor;
    state_.emitFrame(frame_, base_, counter_, list_);
}

void CellFrames::partLoop(CellMakerCore& maker, int n)
{
    for (int i = 0; i < n; ++i) {
        const float t = timeNow();
        const float f0 = state_.curveAt(HalvorenEngine::kScorePitch, t);
        float level = 0.0f, value = 0.0f;
        if (!maker.make(i, level, bufferP_, value, f0, p_)) {
            skip(1);
            continue;
        }
        emit(p_, level, value, f0, t, bufferP_);
    }
}

void CellFrames::twoMakerLoop(CellMakerCore* second, CellMakerCore& main, int n, int overlap)
{
    if (second == nullptr)
        overlap = 0;
    for (int i = 0; i < n; ++i) {
        const float t = timeNow();
        const float f0 = state_.curveAt(HalvorenEngine::kScorePitch, t);
        float levelP = 0.0f, valueP = 0.0f;
        if (!main.make(i, levelP, bufferP_, valueP, f0, p_)) {
            skip(1);
            continue;
        }
        float levelQ = 0.0f, valueQ = 0.0f;
        if (i >= overlap || !second->make(i, levelQ, bufferQ_, valueQ, f0, q_)) {
            emit(p_, levelP, valueP, f0, t, p_.phaseOffsets);
            continue;
        }
        const float ref = valueP > 0.0f ? valueP : (valueQ > 0.0f ? valueQ : 0.0f);
        const float w = static_cast<float>(i) / static_cast<float>(overlap);
        for (auto [frame, level] : {std::pair{&p_, levelP}, std::pair{&q_, levelQ}}) {
            if (level != 0.0f) {
                frame->gainDb += level;
                Halvoren::frameAddScalar(frame->noiseBands, level);
            }
        }
        ModelFrame::interpolate(q_, p_, w, mixed_);
        const Halvoren::FrameMags& buffer = state_.modelFrameFlag() ? mixed_.phaseOffsets
                                            : valueP > 0.0f        ? bufferP_
                                            : valueQ > 0.0f        ? bufferQ_
                                                                   : empty_;
        emit(mixed_, 0.0f, ref, f0, t, buffer);
    }
}

void CellFrames::plainPart(const HvVoiceModelCompact* model, int s, int u, int n)
{
    if (model == nullptr || u < 1) {
        skip(n);
        return;
    }
    CellMakerCore_FromStdModel maker;
    prepare(maker);
    maker.setUp(0, s, u, n, *model);
    partLoop(maker, n);
}

void CellFrames::headTransition(const HvVoiceModelCompact& target, int targetFrame,
                                const HvVoiceModelCompact& source, int from, int h, int n)
{
    if (n <= 0)
        return;
    if (h <= 0) {
        skip(n);
        return;
    }
    ModelFrame goal, last, shifted;
    const int sourceFrames = modelFrameCount(source);
    const int targetFrames = modelFrameCount(target);
    auto clampFrame = [](int k, int count) { return std::clamp(k, 0, std::max(count - 1, 0)); };
    goal.loadFrom(target, clampFrame(targetFrame, targetFrames));
    last.loadFrom(source, clampFrame(from + h, sourceFrames));
    Halvoren::PeakList plain, bent;
    const float step = static_cast<float>(h) / static_cast<float>(n);
    float position = static_cast<float>(from);
    for (int i = 0; i < n; ++i, position += step) {
        const float w = static_cast<float>(i) / static_cast<float>(n);
        p_.loadFrom(source, clampFrame(static_cast<int>(position), sourceFrames));
        const float t = timeNow();
        const float f0 = state_.curveAt(HalvorenEngine::kScorePitch, t);
        frame_.trackFrame.assign(p_.phaseOffsets);
        frame_.mags.assign(p_.noiseLevels);
        frame_.refValue = p_.refValue;
        frame_.levelDb = 0.0f;
        if (!p_.holdsData()) {
            // An unvoiced stretch of the syllable.
            frame_.peaks.clear();
            frame_.noiseBands.assign(p_.noiseBands);
            frame_.modFloor = p_.modFloor;
            frame_.glottalShape = 0;
            frame_.refValue = kUnvoicedRef;
            state_.emitFrame(frame_, base_, counter_, list_);
            continue;
        }
        // The frame moved by what separates the syllable's last head frame
        // from the unit's body, so that the head ends on the body.
        shifted.harmonics.assign(p_.harmonics);
        shifted.noiseBands.assign(p_.noiseBands);
        const auto shift = [](Halvoren::FrameMags& values, const Halvoren::FrameMags& to,
                              const Halvoren::FrameMags& from) {
            const std::size_t count =
                std::min({values.numSamples(), to.numSamples(), from.numSamples()});
            float* v = values.ptrBegin();
            for (std::size_t j = 0; j < count; ++j)
                v[j] += to.ptrBegin()[j] - from.ptrBegin()[j];
        };
        shift(shifted.harmonics, goal.harmonics, last.harmonics);
        shift(shifted.noiseBands, goal.noiseBands, last.noiseBands);
        shifted.gainDb = p_.gainDb + goal.gainDb - last.gainDb;
        shifted.row = std::clamp(p_.row + goal.row - last.row, 0, kMaxTiltRow);
        shifted.modFloor = std::clamp(p_.modFloor + goal.modFloor - last.modFloor, 0.0f, 1.0f);

        harmonicsOf(p_.harmonics, f0, p_.row, p_.gainDb, p_.refValue, t, plain);
        harmonicsOf(shifted.harmonics, f0, shifted.row, shifted.gainDb, goal.refValue, t, bent);
        bent.blendWith(plain, w, frame_.peaks);
        Halvoren::frameMix(shifted.noiseBands, p_.noiseBands, w, frame_.noiseBands);
        const float row = w * static_cast<float>(shifted.row) + (1.0f - w) * static_cast<float>(p_.row);
        frame_.glottalShape = std::clamp(static_cast<int>(row), 0, kMaxTiltRow);
        frame_.modFloor = std::clamp(w * shifted.modFloor + (1.0f - w) * p_.modFloor, 0.0f, 1.0f);
        state_.emitFrame(frame_, base_, counter_, list_);
    }
}

// The maker that reads the end of the breath before the cell over its
// first overlapIn frames; null when there is none to read.
bool setUpBreathTail(const CellRecord& cell, CellMakerState& state, CellFrames& frames,
                     CellMakerCore_FromStdModel& maker)
{
    if (cell.afterBreath == 0 || cell.overlapIn < 1 || cell.prevCellFrames <= 0)
        return false;
    const VoiceSrc* prev = fetchVoiceSrc(cell.names.prevSymbol, cell.names.prevTimbre, state, true);
    const HvVoiceModelCompact* model = modelOf(prev);
    if (model == nullptr)
        return false;
    const std::int64_t end = std::int64_t{prev->v6Param4} + prev->v6Param5;
    const double span = static_cast<double>(end - prev->v6Param1);
    const double g = static_cast<double>(cell.overlapIn) / cell.prevCellFrames * span;
    if (!(g >= 0.0) || g > std::numeric_limits<std::int32_t>::max() || end > std::numeric_limits<std::int32_t>::max())
        return false;
    const int used = static_cast<int>(g);
    frames.prepare(maker);
    maker.setUp(0, static_cast<int>(end - used), used, cell.overlapIn, *model);
    return true;
}

// A breath: its record stretched over the cell, ending where the next
// consonant begins.
void makeBreathCell(const CellRecord& cell, CellMakerState& state, HalvorenEngine::CellListCache& list)
{
    const std::string key = state.store().getRecordKey(cell.names.symbol, cell.names.timbre);
    VoiceSrc* breath = key.empty() ? nullptr : state.cache().getVoiceSrc(state.store(), cell.names.symbol, key);
    if (breath == nullptr || breath->material == nullptr)
        return;
    if (breath->v6Param1 < std::numeric_limits<std::int32_t>::max())
        breath->v6Param2 = breath->v6Param1 + 1;
    std::int64_t total = std::int64_t{cell.cellLength} + cell.cellOffset;
    const std::int64_t span = std::int64_t{breath->v6Param4} + breath->v6Param5 - breath->v6Param1;
    std::int64_t end = std::int64_t{breath->v6Param4} + breath->v6Param5;
    if (cell.overlapOut > 0 && total > 0) {
        end -= static_cast<std::int64_t>(static_cast<double>(cell.overlapOut) / static_cast<double>(total) *
                                         static_cast<double>(span));
        total -= cell.overlapOut;
    }
    if (total < 1 || span < 0 || total > std::numeric_limits<std::int32_t>::max())
        return;
    const std::int64_t used = end - breath->v6Param1;
    CellFrames frames(state, list, cell.cellStart - cell.cellOffset);
    CellMakerCore_FromStdModel maker;
    frames.prepare(maker);
    maker.setUp(0, breath->v6Param1, static_cast<int>(std::clamp<std::int64_t>(used, -1, INT32_MAX)),
                static_cast<int>(total), *breath->material);
    CellMakerCore_FromStdModel before;
    const bool crossing = setUpBreathTail(cell, state, frames, before);
    frames.twoMakerLoop(crossing ? &before : nullptr, maker, static_cast<int>(total), cell.overlapIn);
}

}  // namespace

void makeCellFrames(const CellRecord& cell, CellMakerState& state, HalvorenEngine::CellListCache& list)
{
    if (cell.valid == 0 || cell.skip != 0)
        return;
    Halvoren::ISymbolMgr& symbols = state.symbols();
    const CellUnitNames& n = cell.names;
    if (symbols.isBreath(n.symbol)) {
        makeBreathCell(cell, state, list);
        return;
    }

    // The records.
    const bool exact = cell.followsTransition != 0;
    VoiceSrc* x = cell.isBoundFinal() ? nullptr : fetchVoiceSrc(n.symbol, n.timbre, state, exact);
    VoiceSrc* m = fetchVoiceSrc(n.unit, n.timbre, state, exact);
    VoiceSrc* a = nullptr;
    VoiceSrc* b = nullptr;
    if (cell.transition != 0) {
        bool standsAlone = false;
        const bool nextFinal = symbols.isFinal(n.nextSymbol, standsAlone);
        if (!(nextFinal && !standsAlone))
            a = fetchVoiceSrc(n.nextSymbol, n.nextTimbre, state, true);
        b = fetchVoiceSrc(n.nextUnit, n.nextTimbre, state, true);
    }
    const HvVoiceModelCompact* modelX = modelOf(x);
    const HvVoiceModelCompact* modelM = modelOf(m);

    // Spans of the marks.
    int c = 0, h = 0;
    const bool noConsonant = (cell.followsTransition != 0 && cell.initialClass != 0) ||
                             (cell.followsTransition == 0 && cell.isBoundFinal());
    if (modelX != nullptr && !noConsonant) {
        c = spanOf(x->v6Param1, x->v6Param2);
        h = spanOf(x->v6Param2, x->v6Param3);
    }
    int body = 0, srcStart = 0, srcLen = 0;
    if (m != nullptr) {
        body = spanOf(m->v6Param3, m->v6Param4);
        srcStart = m->v6Param4;
        srcLen = std::max(m->v6Param5, 0);
    }

    // How the cell ends.
    ContinuantSrc* tailSource = nullptr;
    const TailChoice tail = chooseTail(cell, symbols, [&](const std::string& first, const std::string& second) {
        return fetchContinuantSrc(first, second, n.timbre, state) != nullptr;
    });
    if (tail.hasContinuant) {
        tailSource = fetchContinuantSrc(tail.first, tail.second, n.timbre, state);
        srcStart = tailSource->v6ContParam1;
        srcLen = std::max(tailSource->v6ContParam2, 0);
    }

    PartSpans spans;
    spans.length = cell.cellLength;
    spans.srcLen = srcLen;
    spans.body = body;
    spans.head = h;
    spans.elemFlag = cell.elemFlag != 0;
    spans.elemTimes[0] = cell.elemTime1;
    spans.elemTimes[1] = cell.elemTime2;
    spans.elemTimes[2] = cell.elemTime3;
    const PartLayout layout = layoutParts(spans);

    CellFrames frames(state, list, cell.cellStart - cell.cellOffset);

    // The consonant, sung before the note's start.
    if (c > 0 && modelX != nullptr) {
        const bool fade = cell.followsTransition == 0 && cell.initialClass2 != 0 &&
                          !(m != nullptr && !m->name.empty() && m->name[0] == '-');
        CellMakerCore_FromStdModel consonant;
        frames.prepare(consonant);
        consonant.setUp(fade ? kConsonantFade : 0, x->v6Param1, c, cell.cellOffset, *modelX);
        CellMakerCore_FromStdModel before;
        const bool crossing = setUpBreathTail(cell, state, frames, before);
        frames.twoMakerLoop(crossing ? &before : nullptr, consonant, cell.cellOffset, cell.overlapIn);
    } else {
        frames.skip(cell.cellOffset);
    }

    // The head.
    if (h > 0 && n.symbol == n.unit)
        frames.plainPart(modelX, x->v6Param2, h, layout.head);
    else if (h > 0 && modelM != nullptr)
        frames.headTransition(*modelM, m->v6Param3, *modelX, x->v6Param2, h, layout.head);
    else
        frames.skip(layout.head);

    // The body.
    frames.plainPart(modelM, m != nullptr ? m->v6Param3 : 0, body, layout.body);

    // The tail.
    if (modelM == nullptr || layout.tail < 1)
        return;
    const HvVoiceModelCompact* second = nullptr;
    int secondFrame = 0;
    switch (tail.target) {
    case TailTarget::None:
        break;
    case TailTarget::NextUnitHeadEnd:
        if (modelOf(b) != nullptr) {
            second = modelOf(b);
            secondFrame = b->v6Param3;
        }
        break;
    case TailTarget::NextSyllableHeadEnd:
        if (modelOf(a) != nullptr) {
            second = modelOf(a);
            secondFrame = a->v6Param3;
        } else if (modelOf(b) != nullptr) {
            second = modelOf(b);
            secondFrame = b->v6Param3;
        }
        break;
    case TailTarget::NextSyllableStart:
        if (modelOf(a) != nullptr) {
            second = modelOf(a);
            secondFrame = a->v6Param1;
        }
        break;
    }
    const HvVoiceModelCompact* source = tailSource != nullptr ? tailSource->material.get() : nullptr;
    switch (tail.mode) {
    case 0: {
        CellMakerCore_FromStdModel maker;
        frames.prepare(maker);
        maker.setUp(0, srcStart, srcLen, layout.tail, *modelM);
        frames.partLoop(maker, layout.tail);
        break;
    }
    case 1:
        if (source != nullptr) {
            CellMakerCore_FromStdModelAndSrcModel_merge2src maker;
            frames.prepare(maker);
            maker.setUp(srcStart, srcLen, layout.tail, *modelM, m->v6Param4, *source, tail.keepLength);
            frames.partLoop(maker, layout.tail);
        }
        break;
    case 2:
        if (tailSource != nullptr && source != nullptr && second != nullptr) {
            CellMakerCore_ByMergeTwoModelAndTailSrc maker;
            frames.prepare(maker);
            maker.setUp(*modelM, m->v6Param4, *tailSource, *second, secondFrame, layout.tail);
            frames.partLoop(maker, layout.tail);
        }
        break;
    default:
        if (second != nullptr) {
            CellMakerCore_ByMergeTwoModel maker;
            frames.prepare(maker);
            maker.setUp(*modelM, m->v6Param4, *second, secondFrame, layout.tail);
            frames.partLoop(maker, layout.tail);
        }
        break;
    }
}

}  // namespace HalvorenEngineV6
