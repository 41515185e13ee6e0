#include "model/history/ScoreShift.h"

#include <algorithm>
#include <cstdint>

#include "model/current/HalvorenModel.h"
#include "model/current/TempoMap.h"
#include "model/current/TickRange.h"
#include "model/history/BeatSignature.h"
#include "model/history/HistoryGroup.h"
#include "model/history/MarkerActs.h"
#include "model/history/MarkerRecorders.h"
#include "model/history/TrackSegmentRecorders.h"

using namespace HVCurrentModel;

int calcBar1Tick(const std::vector<Beat*>& beats) {
    int64_t c = 0;  // measures counted so far
    int64_t t = 0;  // ticks counted so far
    for (size_t i = 0; i < beats.size(); ++i) {
        const BeatSignature sig = effectiveSignature(beats[i]->numerator, beats[i]->denominator);
        const int64_t n = sig.numerator;
        const int64_t d = sig.denominator;
        if (i + 1 == beats.size()) return static_cast<int>(t + ((4 - c) * kWholeNoteTicks / d) * n);
        const int64_t m = int64_t{beats[i + 1]->pos} - beats[i]->pos;
        if (c + m >= 4) return static_cast<int>(t + ((4 - c) * kWholeNoteTicks / d) * n);
        t += (m * kWholeNoteTicks / d) * n;
        c += m;
    }
    return 0;
}

void recShiftScore(CHistoryGroup* group, int delta) {
    if (delta == 0) return;
    HalvorenModel* model = group->model;
    const std::vector<Tempo*> tempos = model->tempos;
    TempoEdits moves;
    for (Tempo* t : tempos) {
        if (t->pos == 0) continue;
        const int64_t moved = int64_t{t->pos} + delta;
        if (moved < 1) {
            eraseMarker(model->tempos, t);
            t->selected = false;
            group->addRec(new CDeleteTempoAct(t, true, model));
        } else {
            Tempo after = *t;
            after.pos = static_cast<int32_t>(std::min<int64_t>(moved, INT32_MAX));
            moves.emplace_back(t, after);
        }
    }
    // Taken out and put back one by one, so the list stays sorted even when
    // it held markers below tick 1 (from a file).
    recMoveTempos(group, moves);
    for (Track* track : model->tracks) {
        BaseSegmentContainer* segs = track->getSegments();
        if (!segs) continue;
        std::vector<SegmentPosWidth> edits;
        edits.reserve(segs->size());
        for (BaseSegment* seg : *segs) edits.push_back({seg, clampTick(int64_t{seg->pos} + delta), seg->width});
        recEditSegmentsPosWidth(group, edits, segs);
    }
}

void recRefitAudioSegments(CHistoryGroup* group) {
    HalvorenModel* model = group->model;
    const TempoMap map(model->tempos);
    for (Track* track : model->tracks) {
        if (track->kind != kInstrumentTrack || !track->instSegs) continue;
        InstrumentSegmentContainer* segs = track->instSegs;
        std::vector<SegmentPosWidth> edits;
        for (BaseSegment* base : *segs) {
            auto* seg = static_cast<InstrumentSegment*>(base);
            // A segment whose audio could not be loaded has no length to fit.
            if (seg->sampleRate <= 0 || seg->frames <= 0) continue;
            const float duration = static_cast<float>(seg->frames) / static_cast<float>(seg->sampleRate);
            const int width = map.secToTick(map.tickToSec(seg->pos) + duration) + 1 - seg->pos;
            edits.push_back({seg, seg->pos, width});
        }
        recEditSegmentsPosWidth(group, edits, segs);
    }
}
