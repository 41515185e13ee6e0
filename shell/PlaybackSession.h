#pragma once
// Playback of the project through the document's track mix: each sung
// segment in the play range gets its synthesizer loaded and chained behind
// the previous one of its track, and a source placed where the segment's
// lead-in starts; each clip gets a source over its samples. The first
// synthesizer of each track starts at once; the stream starts once every
// one of them has five seconds ready or has finished, so that playback
// never overtakes the singing. A segment whose singer's bank cannot be read
// whole or used (or whose package files cannot be opened) is named when the
// session starts, and plays as silence; one
// whose bank turns out damaged as it is sung (a content record that cannot
// be read) is named once it has been played.
#include <atomic>
#include <cstddef>
#include <vector>

#include "model/current/Segments.h"
#include "render/audio/AudioStreamListener.h"
#include "render/synth/ChainSynthMgr.h"
#include "shell/UnsungSegments.h"

class AudioStreamGroup;
class CSSSynthesizerDoc;
class ISynth;
class SegmentSynthMgr;

class PlaybackSession : public AudioStreamListener {
public:
    // Samples each first synthesizer must have ready before the stream starts.
    static constexpr int kReadyGate = 220500;

    PlaybackSession(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, AudioStreamGroup& group);
    // Stops.
    ~PlaybackSession() override;
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    // Sets up the range [fromTick, toTick] and starts the first synthesizers;
    // false when the checks refuse the project. The stream is not started.
    bool start(int fromTick, int toTick);
    // Whether each track's first synthesizer has kReadyGate samples ready or
    // has finished (the gate polled every 50 ms).
    bool gateOpen() const;
    // Starts the stream from the beginning of the range.
    void startStream();
    // Once played to the end: names the segments whose bank turned out
    // damaged as they were sung.
    void checkPlayed();
    // A segment in the range whose bank cannot be sung.
    bool hasUnsungSegment() const { return !unsung_.empty() || playedDamaged_; }
    // Every source has been played.
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Aborts the stream, stops every synthesizer and clears the chain and
    // the sources.
    void stop();

    void onPlayPosition(double) override {}
    void onPlayFinished(double) override { finished_.store(true, std::memory_order_release); }

private:
    CSSSynthesizerDoc& doc_;
    SegmentSynthMgr& synths_;
    AudioStreamGroup& group_;
    ChainSynthMgr chain_;
    std::vector<ISynth*> firsts_;
    std::vector<ISynth*> all_;
    UnsungSegments unsung_;
    // Whether checkPlayed found a segment whose bank turned out damaged.
    bool playedDamaged_ = false;
    // The sung segments whose bank was not found damaged at the start.
    struct Sung {
        size_t trackIndex;
        const HVCurrentModel::SingSegment* seg;
        ISynth* synth;
    };
    std::vector<Sung> toCheck_;
    std::atomic<bool> finished_{false};
    bool active_ = false;
};
