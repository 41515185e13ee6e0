#include "render/synth/ScoreFillV1.h"

#include <algorithm>

#include "lyrics/PinyinDict.h"
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
}  // namespace

bool fillScoreV1(SingSegment& seg, const std::vector<Tempo*>& tempos, int fromTick, int toTick, float leadIn,
                 HalvorenEngine::SynthScoreV1& score, std::vector<CurvePoint>* power)
{
    score.clear();
    if (power != nullptr)
        power->clear();
    const TempoMap tempo(tempos);
    toTick = std::min(toTick, seg.width);
    const float segStart = tempo.tickToSec(seg.pos);
    const std::vector<Note*> notes = selectNotes(seg, fromTick, toTick, false);
    if (notes.empty())
        return false;

    for (const Note* n : notes) {
        const std::string symbol = syllableOf(n->phoneticSymbol);
        const float end = tempo.tickToSec(addTicks(n->pos, n->width, std::int64_t{seg.pos} - 1)) - segStart;
        if (symbol == "-") {
            if (!score.notes.empty())
                score.notes.back().duration = end - score.notes.back().start;
            continue;
        }
        const float start = tempo.tickToSec(addTicks(n->pos, seg.pos)) - segStart;
        score.notes.push_back({start, end - start, symbol, "G4"});
    }

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
