#pragma once
// Where the sung segments and clips of a track start in an output that
// begins at a tick: the rule shared by the exports and playback.
#include <cstdint>
#include <functional>
#include <vector>

#include "model/current/TempoMap.h"
#include "model/current/Track.h"

class ISynth;
class SegmentSynthMgr;

inline constexpr float kSingLeadIn = 1.5f;  // seconds sung before a segment starts
inline constexpr double kOutputRate = 44100.0;

// Frames of seconds at the output rate, truncated toward zero, within int.
int secondsToFrames(double seconds);

// The track's gain: 0 when muted, else its volume / 100.
float trackGain(const HVCurrentModel::Track& track);

class OutputStart {
public:
    OutputStart(const std::vector<HVCurrentModel::Tempo*>& tempos, int startTick);

    int startTick() const { return startTick_; }
    // Sings each segment of the singing track that has notes and ends after
    // the start, from the start up to endTick (relative: clamped to the
    // segment): its synthesizer by the calling rule, off any chain, loaded
    // with the lead-in. Hands each loaded one to add with the frame where its
    // output starts (negative: that many frames are before the start). Each
    // segment goes to before, when given, ahead of its loading, with its
    // synthesizer (null: none could be made) and its tick range; one whose
    // synthesizer takes none of its notes goes to unloaded, when given.
    using BeforeLoad = std::function<void(HVCurrentModel::SingSegment*, ISynth*, int, int)>;
    void singEntries(const HVCurrentModel::Track& track, SegmentSynthMgr& synths, int endTick,
                     const std::function<void(HVCurrentModel::SingSegment*, ISynth*, int)>& add,
                     const BeforeLoad& before = {},
                     const std::function<void(HVCurrentModel::SingSegment*)>& unloaded = {}) const;
    // Each clip of the instrumental track with frames that ends after the
    // start, with the frame where it starts. For each clip that could not be
    // loaded (it plays as silence) and ends after the start, kept, when
    // given, is told the frames where its stored times start and end.
    void clipEntries(const HVCurrentModel::Track& track,
                     const std::function<void(HVCurrentModel::InstrumentSegment*, int)>& add,
                     const std::function<void(int, int)>& kept = {}) const;

private:
    const std::vector<HVCurrentModel::Tempo*>& tempos_;
    HVCurrentModel::TempoMap map_;
    int startTick_;
    double startSec_;
};
