#include "render/synth/ScoreFillV1.h"

#include <algorithm>

#include "lyrics/PinyinDict.h"
#include "model/current/TempoMap.h"
#include "render/synth/CurveSampling.h"
#include "render/synth/NoteSelection.h"
#include "render/synth/PitchRender.h"
#include "render/synth/SungSymbol.h"
#include "render/synth/TickMath.h"

using namespace HVCurrentModel;
using HalvorenEngine::CurvePoint;

namespace {
// The syllable a note is sung with; "-" when it continues the previous one.
std::string syllableOf(const std::string& symbol)
{
    if (symbol == "nue" || symbol == "lue")
        return withVForUe(symbol);
    if (symbol.empty())
        return "la";
    if (!getPinyinDict().isPinyin(symbol))
        return "-";
    return symbol;
}

// Fills score's note records from the notes taken; returns the note of each
// record.
std::vector<Note*> fillRecords(const std::vector<Note*>& notes, const SingSegment& seg, const TempoMap& tempo,
                               HalvorenEngine::SynthScoreV1& score)
{
    const float segStart = tempo.tickToSec(seg.pos);
    std::vector<Note*> owners;
    for (Note* n : notes) {
        const std::string symbol = syllableOf(n->phoneticSymbol);
        const float end = tempo.tickToSec(addTicks(n->pos, n->width, std::int64_t{seg.pos} - 1)) - segStart;
        n->renderFlag = symbol != "-";
        if (symbol == "-") {
            if (!score.notes.empty())
                score.notes.back().duration = end - score.notes.back().start;
            continue;
        }
        const float start = tempo.tickToSec(addTicks(n->pos, seg.pos)) - segStart;
        score.notes.push_back({start, end - start, symbol, "G4"});
        owners.push_back(n);
    }
    return owners;
}
}  // namespace

bool fillScoreV1(SingSegment& seg, const std::vector<Tempo*>& tempos, int fromTick, int toTick, float leadIn,
                 HalvorenEngine::SynthScoreV1& score, std::vector<CurvePoint>* power)
{
    score.clear();
    if (power != nullptr)
        power->clear();
    const TempoMap tempo(tempos);
    const std::vector<Note*> notes = selectNotes(seg, fromTick, std::min(toTick, seg.width), false);
    if (notes.empty())
        return false;
    fillRecords(notes, seg, tempo, score);

    const float segStart = tempo.tickToSec(seg.pos);
    renderPitchCurve(seg, tempos);
    applyPitchCurve(seg, seg.curve(kPitchWorkCurve1).nodes);
    const int from = notes.front()->pos;
    const int to = addTicks(notes.back()->pos, notes.back()->width, -1);
    sampleCurve(0, score.pitch, seg.curve(kPitchWorkCurve2).nodes, from, to, tempo, seg.pos, segStart);
    sampleCurve(1, score.amplitude, seg.curve(kAmplitudeCurve).nodes, from, to, tempo, seg.pos, segStart);
    if (power != nullptr)
        sampleCurve(2, *power, seg.curve(kPowerCurve).nodes, from, to, tempo, seg.pos, segStart);
    score.leadIn = leadIn;
    return !score.notes.empty();
}

std::vector<Note*> fillNoteRecordsV1(SingSegment& seg, const std::vector<Tempo*>& tempos, int fromTick, int toTick,
                                     HalvorenEngine::SynthScoreV1& score)
{
    score.clear();
    return fillRecords(selectNotes(seg, fromTick, std::min(toTick, seg.width), false), seg, TempoMap(tempos), score);
}
