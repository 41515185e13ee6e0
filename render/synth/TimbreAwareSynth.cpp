#include "render/synth/TimbreAwareSynth.h"

#include <algorithm>

#include "model/current/TempoMap.h"
#include "platform/StringUtil.h"
#include "render/synth/CurveSampling.h"
#include "render/synth/NoteSelection.h"
#include "render/synth/PitchNames.h"
#include "render/synth/PitchRender.h"
#include "render/synth/SungSymbol.h"
#include "render/synth/TickMath.h"

using namespace HVCurrentModel;
using HalvorenEngine::SynthNoteV3;

namespace {
// The curves in the order of the score: pitch, Amplitude, Power, Breath,
// Gender, Brightness, Cross.
constexpr CurveSlot kScoreCurveSlots[HalvorenEngine::kScoreCurveCount] = {
    kPitchWorkCurve2, kAmplitudeCurve, kPowerCurve, kBreathCurve, kGenderCurve, kBrightnessCurve, kCrossCurve};
// What a zero-length ("0") note is sung with.
const std::string kZeroNoteSymbol = "a";
// What a note is sung with whose symbol the bank does not know.
const std::string kUnknownSymbolStandIn = "la";
}  // namespace

void TimbreAwareSynth::attachCore(const std::string& bankPath)
{
    core_.reset(createCore(bankPath));
    timbres_.loadFrom(*this);
}

int TimbreAwareSynth::timbreCount() { return engine() != nullptr ? core_->timbreCount() : 0; }

void TimbreAwareSynth::timbrePitchNames(int index, std::string& a, std::string& b, std::string& c)
{
    if (engine() != nullptr)
        core_->timbrePitchNames(index, a, b, c);
}

void TimbreAwareSynth::timbreName(int key, int timbreIndex, std::string& out)
{
    if (engine() == nullptr)
        return;
    out = keyIndexToPitchName(key);
    if (timbres_.empty())
        return;
    int index = timbres_.getTimbreIndex(key);
    if (timbreIndex >= 0 && timbreIndex < core_->timbreCount())
        index = timbreIndex;
    std::string low, high;
    core_->timbrePitchNames(index, low, high, out);
}

void TimbreAwareSynth::timbreNameFor(const Note& note, std::string& out) { timbreName(note.key, note.timbreIndex, out); }

void TimbreAwareSynth::crossTimbreNameFor(const Note& note, std::string& out)
{
    timbreName(note.key, note.crossTimbre, out);
}

std::string TimbreAwareSynth::symbolFor(const std::string& phoneticSymbol, bool* replaced)
{
    const std::string symbol = withVForUe(removeStrBetween(phoneticSymbol, "<", ">"));
    const bool unknown =
        !keepUnknownSymbols_ &&
        (symbol.empty() || (symbol != "-" && symbol != "0" && !core_->isValidSymbol(symbol)));
    if (replaced != nullptr)
        *replaced = unknown;
    return unknown ? kUnknownSymbolStandIn : symbol;
}

bool TimbreAwareSynth::buildScore(std::vector<Note*>* outNotes, SingSegment& seg, const std::vector<Tempo*>& tempos,
                                  int fromTick, int toTick, float leadIn, bool withCurves, bool startJob)
{
    HalvorenEngine::IHVSynthesizer* front = engine();
    HalvorenEngine::SynthScoreV3* score = front != nullptr ? core_->score() : nullptr;
    if (score == nullptr)
        return false;
    front->setListener(this);
    if (!fillScore(*score, outNotes, seg, tempos, fromTick, toTick, leadIn, withCurves))
        return false;
    if (!score->notes.empty() && startJob)
        front->prepare();
    front->setSynthText(seg.name);
    return !score->notes.empty();
}

bool TimbreAwareSynth::fillScore(HalvorenEngine::SynthScoreV3& score, std::vector<Note*>* outNotes, SingSegment& seg,
                                 const std::vector<Tempo*>& tempos, int fromTick, int toTick, float leadIn,
                                 bool withCurves)
{
    score.clear();

    const TempoMap tempo(tempos);
    toTick = std::min(toTick, seg.width);
    const float segStart = tempo.tickToSec(seg.pos);
    if (outNotes != nullptr)
        outNotes->clear();
    const std::vector<Note*> notes = selectNotes(seg, fromTick, toTick, true);
    if (notes.empty())
        return false;

    auto& records = score.notes;
    for (Note* n : notes) {
        const std::string symbol = symbolFor(n->phoneticSymbol);
        const float start = tempo.tickToSec(addTicks(n->pos, seg.pos)) - segStart;
        const float end = tempo.tickToSec(addTicks(n->pos, n->width, std::int64_t{seg.pos} - 1)) - segStart;
        if (symbol == "-") {
            if (!records.empty())
                records.back().duration = end - records.back().start;
            n->renderFlag = false;
            continue;
        }
        SynthNoteV3 record;
        record.start = start;
        if (symbol == "0") {
            if (!records.empty())
                records.back().breakAfter = 1;
            record.breakAfter = 1;
            record.symbol = kZeroNoteSymbol;
            timbreNameFor(*n, record.timbre);
            timbreNameFor(*n, record.crossTimbre);
            n->renderFlag = false;
        } else {
            record.breakAfter = n->elemTimesSet ? 1 : 0;
            record.duration = end - start;
            record.symbol = symbol;
            record.symbolTag = getStrBetween(n->phoneticSymbol, "<", ">");
            timbreNameFor(*n, record.timbre);
            record.elemTime0 = n->timeFactor1;
            record.elemFlag = n->timesFlag;
            record.elemTime1 = n->timeFactor2;
            record.elemTime2 = n->timeFactor3;
            record.elemTime3 = n->timeFactor4;
            record.crossSymbol = n->crossSymbol;
            crossTimbreNameFor(*n, record.crossTimbre);
            n->renderFlag = true;
        }
        records.push_back(std::move(record));
        if (outNotes != nullptr)
            outNotes->push_back(n);
    }

    if (withCurves) {
        renderPitchCurve(seg, tempos);
        applyPitchCurve(seg, seg.curve(kPitchWorkCurve1).nodes);
        const int from = std::max(fromTick, 0);
        const int to = addTicks(notes.back()->pos, notes.back()->width, -1);
        for (int kind = 0; kind < HalvorenEngine::kScoreCurveCount; ++kind)
            sampleCurve(kind, score.curves[kind], seg.curve(kScoreCurveSlots[kind]).nodes, from, to, tempo, seg.pos,
                        segStart);
    }
    score.leadIn = leadIn;
    return true;
}

bool TimbreAwareSynth::loadSegment(SingSegment* seg, const std::vector<Tempo*>& tempos, int fromTick, int toTick,
                                   float leadIn)
{
    // A running job reads its score: it is rebuilt only while the job is idle.
    if (seg == nullptr || !isReady())
        return false;
    return buildScore(nullptr, *seg, tempos, fromTick, toTick, leadIn, true, true);
}

void TimbreAwareSynth::getNoteTimes(SingSegment* seg, const std::vector<Tempo*>& tempos, int fromTick, int toTick,
                                    float leadIn, std::vector<NoteTimesRec>& out)
{
    out.clear();
    if (seg == nullptr || !isReady())
        return;
    // The plan reads a score of its own: the job's input, which may be
    // prepared or waiting in a chain, stays as it was loaded.
    std::vector<Note*> notes;
    HalvorenEngine::SynthScoreV3 score;
    fillScore(score, &notes, *seg, tempos, fromTick, toTick, leadIn, false);
    std::vector<HalvorenEngine::NoteTimes> times;
    core_->prepareCells(score, times);
    const float segStart = TempoMap(tempos).tickToSec(seg->pos);
    const std::size_t count = std::min(notes.size(), times.size());
    for (std::size_t i = 0; i < count; ++i) {
        NoteTimesRec rec{times[i].values, notes[i], times[i].sung, {}, true};
        rec.values[0] += segStart;
        bool replaced = false;
        const std::string sung = symbolFor(notes[i]->phoneticSymbol, &replaced);
        if (replaced)
            rec.singsInstead = sung;
        out.push_back(std::move(rec));
    }
}
