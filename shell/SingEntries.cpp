#include "shell/SingEntries.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "render/synth/ISynth.h"
#include "render/synth/SegmentSynthMgr.h"

using namespace HVCurrentModel;

int secondsToFrames(double seconds) {
    const double frames = std::trunc(seconds * kOutputRate);
    if (!(frames > INT_MIN)) return INT_MIN;  // also NaN
    return frames >= INT_MAX ? INT_MAX : static_cast<int>(frames);
}

float trackGain(const Track& track) { return track.muted ? 0.0f : static_cast<float>(track.volume) / 100.0f; }

OutputStart::OutputStart(const std::vector<Tempo*>& tempos, int startTick)
    : tempos_(tempos), map_(tempos), startTick_(startTick), startSec_(map_.tickToSec(startTick)) {}

namespace {
bool endsAfter(const BaseSegment& seg, int tick) { return int64_t{seg.pos} + seg.width - 1 > tick; }
}  // namespace

void OutputStart::singEntries(const Track& track, SegmentSynthMgr& synths, int endTick,
                              const std::function<void(SingSegment*, ISynth*, int)>& add,
                              const BeforeLoad& before,
                              const std::function<void(SingSegment*)>& unloaded) const {
    if (track.kind != kSingingTrack || track.singSegs == nullptr) return;
    for (size_t i = 0; i < track.singSegs->size(); ++i) {
        SingSegment* seg = track.singSegs->segAt(i);
        if (seg->notes.empty() || !endsAfter(*seg, startTick_)) continue;
        ISynth* synth = synths.getSynth(seg);
        const int from = static_cast<int>(std::clamp<int64_t>(int64_t{startTick_} - seg->pos, INT_MIN, INT_MAX));
        const int to = static_cast<int>(std::clamp<int64_t>(int64_t{endTick} - seg->pos, INT_MIN, INT_MAX));
        if (before) before(seg, synth, from, to);
        if (synth == nullptr) continue;
        synth->setCallback(nullptr);
        if (!synth->loadSegment(seg, tempos_, from, to, kSingLeadIn)) {
            if (unloaded) unloaded(seg);
            continue;
        }
        add(seg, synth, secondsToFrames((double{map_.tickToSec(seg->pos)} - kSingLeadIn) - startSec_));
    }
}

void OutputStart::clipEntries(const Track& track, const std::function<void(InstrumentSegment*, int)>& add,
                              const std::function<void(int, int)>& kept) const {
    if (track.kind != kInstrumentTrack || track.instSegs == nullptr) return;
    for (size_t i = 0; i < track.instSegs->size(); ++i) {
        InstrumentSegment* clip = track.instSegs->segAt(i);
        if (!endsAfter(*clip, startTick_)) continue;
        const int from = secondsToFrames(double{map_.tickToSec(clip->pos)} - startSec_);
        if (clip->frames > 0 && !clip->left.empty()) {
            add(clip, from);
        } else if (kept && clipNotLoaded(clip->clipLoad)) {
            const int64_t end = int64_t{clip->pos} + clip->width;
            const int endTick = static_cast<int>(std::min<int64_t>(end, INT_MAX));
            kept(from, secondsToFrames(double{map_.tickToSec(endTick)} - startSec_));
        }
    }
}
