#include "engine/v1/CellBuilding.h"

#include <algorithm>
#include <deque>
#include <memory>

#include "dsp/LinearEnvelope.h"
#include "dsp/TruncToInt.h"
#include "engine/CurveValue.h"
#include "engine/ScoreCurves.h"
#include "engine/v1/NotePlanning.h"
#include "lyrics/ChnSymbolMgr.h"
#include "voicebank/NoteName.h"

namespace HalvorenEngineV1 {

namespace {

// The points with their values held to the curve's range.
Halvoren::LinearEnvelope envelopeOf(const std::vector<HalvorenEngine::CurvePoint>* points,
                                    HalvorenEngine::ScoreCurve kind)
{
    Halvoren::LinearEnvelope curve;
    if (points != nullptr)
        for (const HalvorenEngine::CurvePoint& p : *points)
            curve.addPoint(p.seconds, HalvorenEngine::clampCurveValue(kind, p.value));
    return curve;
}

struct PendingNote {
    SourceView source;
    NotePlan plan;
};

class Builder {
public:
    Builder(const CellBuildInput& input, CellQueue& queue, const std::atomic<bool>& stop)
        : in_(input), queue_(queue), stop_(stop), pitch_(envelopeOf(&input.score->pitch, HalvorenEngine::kScorePitch)),
          amplitude_(envelopeOf(&input.score->amplitude, HalvorenEngine::kScoreAmplitude)),
          power_(envelopeOf(input.power, HalvorenEngine::kScorePower)),
          period_(float(input.hop) / input.sampleRate),
          budget_(std::int64_t(kCellsPerFrame) * (std::int64_t(std::max(input.outputFrames, 0)) + 1) + kCellSlack)
    {
    }

    void run()
    {
        const std::vector<HalvorenEngine::SynthNoteV1>& notes = in_.score->notes;
        const int lead = leadSamples(in_.score->leadIn, in_.sampleRate);
        bool previousJoined = false;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const HalvorenEngine::SynthNoteV1& note = notes[i];
            const HalvorenEngine::SynthNoteV1* next = i + 1 < notes.size() ? &notes[i + 1] : nullptr;
            const NextContext context = nextNoteContext(in_.generation, symbols_, note, next);
            std::string initial;
            std::string final;
            symbols_.splitSyllable(note.symbol, initial, final);
            PendingNote pending;
            pending.source = in_.fetch(note.symbol, final, context.b, context.c, note.pitch);
            const bool legato = previousJoined;
            previousJoined = !context.c.empty();
            if (pending.source.model != nullptr) {
                pending.plan = planOf(note, lead, legato, symbols_.isZeroInitialSyllable(initial), pending.source);
                if (!pending_.empty())
                    resolveOverlap(pending_.back().plan, pending.plan);
                pending_.push_back(std::move(pending));
                // Only the next plan changes a note's plan: the note before
                // this one is final, and the synthesis can start on it while
                // later sources are still being joined.
                if (pending_.size() > 1)
                    emitFront();
            }
            if (stop_.load(std::memory_order_acquire))
                return;
        }
        while (!pending_.empty() && !stop_.load(std::memory_order_acquire))
            emitFront();
        if (!stop_.load(std::memory_order_acquire))
            queue_.setAllBuilt();
    }

private:
    // S, n and o, n kept within the output and o within its length.
    NotePlan planOf(const HalvorenEngine::SynthNoteV1& note, int lead, bool legato, bool zeroInitial,
                    const SourceView& source) const
    {
        const int frames = std::max(in_.outputFrames, 0);
        NotePlan plan;
        plan.start = startFrame(note.start, in_.sampleRate, lead, in_.hop);
        const std::int64_t room = std::max<std::int64_t>(0, std::int64_t(frames) + 1 - plan.start);
        plan.count = int(std::clamp<std::int64_t>(frameCount(note.duration, in_.sampleRate, in_.hop), 0, room));
        plan.onset = std::clamp(onsetLength(in_.generation, source.marks, legato, zeroInitial), 0, frames);
        plan.legato = legato;
        plan.zeroInitial = zeroInitial;
        return plan;
    }

    void emitFront()
    {
        const PendingNote note = std::move(pending_.front());
        pending_.pop_front();
        planned_.clear();
        emitNoteCells(in_.generation, note.source.marks, note.plan, planned_, in_.draw);
        for (const PlannedCell& p : planned_) {
            if (budget_ <= 0 || stop_.load(std::memory_order_acquire))
                return;
            --budget_;
            if (!queue_.push(makeCell(note.source, p)))
                return;
        }
    }

    std::unique_ptr<Cell> makeCell(const SourceView& source, const PlannedCell& p)
    {
        auto cell = std::make_unique<Cell>();
        cell->residual = &source.model->residual;
        cell->position = HalvorenEngine::truncToInt(double(p.frame) * double(source.model->hop));
        source.model->peaks.frameAt(p.frame, cell->peaks);
        cell->name = source.name;
        cell->number = p.number;
        cell->index = p.index;
        cell->noise = p.noise;
        const float time = float(p.number) * period_ - in_.score->leadIn;
        cell->pitch = HalvorenEngine::curveValueAt(pitch_, time);
        cell->level = HalvorenEngine::curveValueAt(amplitude_, time);
        if (in_.generation == Generation::Second) {
            cell->sourcePitch = noteNameToFreq(source.pitch);
            cell->boost = HalvorenEngine::curveValueAt(power_, time);
        }
        return cell;
    }

    const CellBuildInput& in_;
    CellQueue& queue_;
    const std::atomic<bool>& stop_;
    Halvoren::ChnSymbolMgr symbols_;
    Halvoren::LinearEnvelope pitch_;
    Halvoren::LinearEnvelope amplitude_;
    Halvoren::LinearEnvelope power_;
    float period_;
    std::int64_t budget_;
    std::deque<PendingNote> pending_;
    std::vector<PlannedCell> planned_;
};

}  // namespace

void buildCells(const CellBuildInput& input, CellQueue& queue, const std::atomic<bool>& stop)
{
    Builder(input, queue, stop).run();
}

}  // namespace HalvorenEngineV1
