#include "engine/v1/NotePlanning.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "dsp/TruncToInt.h"

namespace HalvorenEngineV1 {

using HalvorenEngine::clampToInt;
using HalvorenEngine::countOf;

int leadSamples(float leadIn, float rate)
{
    return countOf(leadIn * rate);
}

int startFrame(float start, float rate, int lead, int hop)
{
    const float q = (start * rate + float(lead)) / float(hop);
    return countOf(std::fabs(q));
}

int frameCount(float duration, float rate, int hop)
{
    return countOf(duration * rate / float(hop));
}

int onsetLength(Generation g, const SourceMarks& marks, bool legato, bool zeroInitial)
{
    const int stretched = countOf(float(std::int64_t(marks.endPos) - marks.beginPos) * marks.param7);
    if (g == Generation::First || !legato)
        return stretched;
    return zeroInitial ? 1 : countOf(float(stretched) * marks.ratio1);
}

void resolveOverlap(NotePlan& previous, NotePlan& current)
{
    const std::int64_t sp = previous.start;
    const std::int64_t lp = previous.count;
    if (sp + lp <= std::int64_t(current.start) - current.onset)
        return;
    const std::int64_t d = current.start - sp - current.onset;
    if (2 * d >= lp) {
        previous.count = clampToInt(d);
        return;
    }
    previous.count = clampToInt(lp / 2);
    current.onset = clampToInt(current.start - sp - lp / 2);
}

NextContext nextNoteContext(Generation g, Halvoren::ChnSymbolMgr& symbols, const HalvorenEngine::SynthNoteV1& note,
                            const HalvorenEngine::SynthNoteV1* next)
{
    NextContext context;
    if (!next || next->start - (note.start + note.duration) > 0.4f)
        return context;
    std::string vowel;
    symbols.splitSyllable(next->symbol, context.b, vowel);
    context.c = next->symbol;
    if (context.b.empty())
        return context;
    if (symbols.isZeroInitialSyllable(context.b)) {
        if (g == Generation::First)
            return NextContext{};
        return context;
    }
    context.b = symbols.consonantGroup(context.b);
    if (!symbols.isVoicedOnset(context.b))
        context.c.clear();
    return context;
}


std::vector<PlannedNote> planNotes(Generation g, const std::vector<NoteInput>& notes, float rate, int hop,
                                   float leadIn)
{
    const int lead = leadSamples(leadIn, rate);
    std::vector<PlannedNote> plans;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const NoteInput& in = notes[i];
        if (!in.source)
            continue;
        NotePlan plan{startFrame(in.start, rate, lead, hop), frameCount(in.duration, rate, hop),
                      onsetLength(g, *in.source, in.legato, in.zeroInitial), in.legato, in.zeroInitial};
        if (!plans.empty())
            resolveOverlap(plans.back().plan, plan);
        plans.push_back(PlannedNote{i, plan});
    }
    return plans;
}

}  // namespace HalvorenEngineV1
