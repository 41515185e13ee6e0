#include "render/synth/PitchRender.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dsp/TruncToInt.h"
#include "model/current/ParabolicSin.h"
#include "model/current/TempoMap.h"
#include "render/synth/TickMath.h"

using namespace HVCurrentModel;
using HalvorenEngine::truncToInt;

namespace {

constexpr double kGridStep = 0.01;
constexpr double kGridMargin = 0.005;
// Bounds a line from a damaged file (huge widths, a tempo near zero): grid
// nodes per segment, and milliseconds of vibrato rendered over all notes.
constexpr std::int64_t kMaxGridNodes = std::int64_t{1} << 21;
constexpr std::int64_t kMaxVibratoMs = kMaxGridNodes * 10;

int roundToInt(double v) { return truncToInt(std::round(v)); }

// One note on the time line, in seconds.
struct NoteSpan {
    Note* note;
    float start;
    float end;  // the start of the note's last tick
    float vibStart;
    int level;
    bool zero;  // the "0" note: no line of its own
};

float transitionSeconds(int percent, float duration)
{
    const float t = static_cast<float>(std::max(percent, 0)) * 0.3f / 100.0f;
    return std::max(0.0f, std::min(t, duration * 0.5f));
}

int msBetween(double from, double to) { return roundToInt((to - from) * 1000.0); }

class PitchLine {
public:
    PitchLine(NodeContainer& out, const TempoMap& tempo, int segPos) : out_(out), tempo_(tempo), segPos_(segPos) {}

    void push(int tick, double value) { out_.pushBack({tick, roundToInt(value)}); }
    void pushAt(double seconds, double value) { push(tickAt(seconds), value); }
    int tickAt(double seconds) const
    {
        return addTicks(tempo_.secToTick(static_cast<float>(seconds)), -std::int64_t{segPos_});
    }

    // A's own line from `from` up to `to`, a node every 0.01 s while more
    // than 0.005 s remain.
    void line(const NoteSpan& a, double from, double to)
    {
        for (std::int64_t i = 0; budget_ > 0; ++i) {
            const double t = from + static_cast<double>(i) * kGridStep;
            if (!(to - t > kGridMargin))
                return;
            const int ms = msBetween(a.start, t);
            push(tickAt(t), static_cast<double>(a.level) + a.note->bendCurve.valueAt(ms) +
                                a.note->vibrato.vibCurve.valueAt(ms));
            --budget_;
        }
    }

    // The transition from A to B over [s0, s0 + len).
    void span(const NoteSpan& a, const NoteSpan& b, double s0, double len)
    {
        for (std::int64_t i = 0; budget_ > 0; ++i) {
            const double t = static_cast<double>(i) * kGridStep;
            if (!(t < len - kGridMargin))
                return;
            const double at = s0 + t;
            const float phase = 3.14159265f * (static_cast<float>(t / len) - 0.5f);
            const float ramp =
                static_cast<float>(static_cast<double>(b.level) - a.level) * (1.0f + parabolicSin(phase)) / 2.0f;
            int vibrato = 0;
            if (at > a.vibStart && at < a.end)
                vibrato = a.note->vibrato.vibCurve.valueAt(msBetween(a.start, at));
            else if (at > b.vibStart)
                vibrato = b.note->vibrato.vibCurve.valueAt(msBetween(b.start, at));
            int bend = 0;
            if (at < a.end)
                bend = a.note->bendCurve.valueAt(msBetween(a.start, at));
            else if (at > b.start)
                bend = b.note->bendCurve.valueAt(msBetween(b.start, at));
            push(tickAt(at), static_cast<double>(a.level) + ramp + vibrato + bend);
            --budget_;
        }
    }

private:
    NodeContainer& out_;
    const TempoMap& tempo_;
    int segPos_;
    std::int64_t budget_ = kMaxGridNodes;
};

// Times, level and the rendered vibrato and bend curves of every note.
std::vector<NoteSpan> spansOf(SingSegment& seg, const TempoMap& tempo)
{
    std::vector<NoteSpan> spans;
    spans.reserve(seg.notes.size());
    std::int64_t vibratoMs = 0;
    for (Note* n : seg.notes) {
        const float start = tempo.tickToSec(addTicks(seg.pos, n->pos));
        const float end = tempo.tickToSec(addTicks(seg.pos, n->pos, std::int64_t{n->width} - 1));
        const float duration = end - start;
        const int percent = std::clamp(n->vibPercent, 0, 100);
        const int lengthMs = roundToInt(duration * 1000.0);
        vibratoMs += std::max(lengthMs, 0);
        n->vibrato.buildPitchCurve(lengthMs, vibratoMs <= kMaxVibratoMs ? percent : 0, n->cycle);
        buildNoteBendCurve(n->bendLen, n->bendDep, lengthMs, n->bendCurve);
        n->vibrato.vibCurve.resetCursor();
        n->bendCurve.resetCursor();
        const float vibStart = start + static_cast<float>(100 - percent) / 100.0f * duration;
        const int level = truncToInt(static_cast<double>(n->key) * 100.0 + 50.0);
        spans.push_back({n, start, end, vibStart, level, n->phoneticSymbol == "0"});
    }
    return spans;
}

}  // namespace

void renderPitchCurve(SingSegment& seg, const std::vector<Tempo*>& tempos)
{
    NodeContainer& out = seg.curve(kPitchWorkCurve1).nodes;
    out.clear();
    if (seg.notes.empty())
        return;
    const TempoMap tempo(tempos);
    const std::vector<NoteSpan> spans = spansOf(seg, tempo);
    PitchLine line(out, tempo, seg.pos);

    const Note& first = *seg.notes.front();
    line.push(std::min(addTicks(first.pos, -1), -1), spans.front().level);
    double lineStart = spans.front().start;
    for (size_t i = 0; i + 1 < spans.size(); ++i) {
        const NoteSpan& a = spans[i];
        const NoteSpan& b = spans[i + 1];
        const float head = transitionSeconds(b.note->headChg, b.end - b.start);
        if (a.zero) {
            // Flat at the next note's level; the next line begins after its head.
            line.pushAt(lineStart, b.level);
            line.push(addTicks(a.note->pos, a.note->width, -1), b.level);
            line.push(b.note->pos, b.level);
            lineStart = b.start + head;
            continue;
        }
        double spanStart = a.end;
        double spanEnd = a.end;
        if (!b.zero) {
            spanStart = a.end - transitionSeconds(a.note->tailChg, a.end - a.start);
            spanEnd = static_cast<double>(b.start) + head;
        }
        line.line(a, lineStart, spanStart);
        line.span(a, b, spanStart, spanEnd - spanStart);
        lineStart = spanEnd;
    }

    const NoteSpan& last = spans.back();
    if (last.zero)
        line.pushAt(lineStart, last.level);
    else
        line.line(last, lineStart, last.end);
    const int lastTick = addTicks(last.note->pos, last.note->width, -1);
    line.push(lastTick, last.level);
    if (std::int64_t{lastTick} < std::int64_t{seg.width} + 1)
        line.push(addTicks(seg.width, 1), last.level);
}

void applyPitchCurve(SingSegment& seg, const NodeContainer& rendered)
{
    ParamCurve& merged = seg.curve(kPitchWorkCurve2);
    merged.nodes.assign(rendered);
    NodeContainer run;
    NodeContainer removed;
    auto flush = [&] {
        if (!run.empty())
            merged.replaceRange(removed, run, run.front().pos, run.back().pos);
        run.clear();
    };
    for (const CurveNode& node : seg.curve(kPitchCurve).nodes) {
        if (node.value >= 0)
            run.pushBack(node);
        else
            flush();
    }
    flush();
}
