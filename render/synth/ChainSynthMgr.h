#pragma once
// Sings the segments of a track one after another while tracks run side by
// side: when a synthesizer's job is done, the next one of its track starts.
//
// The chain is built on the main thread before the first job starts; the
// completion calls come from the engines' worker threads. One lock guards the
// pairs. A synthesizer is started outside the lock, and taking a synthesizer
// off the chain (forgetSynth) or clearing the chain waits until no start of
// it is under way, so its owner may delete it right after.
#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

#include "render/synth/ISynth.h"

class ChainSynthMgr : public ISynthCallback {
public:
    ChainSynthMgr() = default;
    // Clears the chain.
    ~ChainSynthMgr() override;
    ChainSynthMgr(const ChainSynthMgr&) = delete;
    ChainSynthMgr& operator=(const ChainSynthMgr&) = delete;

    // Starts the synthesizer that follows synth on its track, if any.
    void onSynthFinished(ISynth* synth) override;
    // Drops every pair that holds synth; waits while it is being started.
    void forgetSynth(ISynth* synth) override;

    // Building, in track order: beginTrack for each track, then addSynth for
    // each of its segments whose synthesizer was loaded. The synthesizer gets
    // this chain as its callback and follows the track's previous one.
    void beginTrack();
    void addSynth(ISynth* synth);
    // Forgets every pair and takes itself off every synthesizer it serves
    // (at playback stop and before the chain is built again).
    void clear();

private:
    void dropLocked(ISynth* synth);

    mutable std::mutex mutex_;
    std::condition_variable startDone_;
    std::map<ISynth*, ISynth*> next_;
    std::vector<ISynth*> members_;   // every synthesizer whose callback is this
    std::vector<ISynth*> starting_;  // synthesizers being started now
    ISynth* last_ = nullptr;         // the current track's latest synthesizer
    int count_ = 0;                  // synthesizers added to the current track
};
