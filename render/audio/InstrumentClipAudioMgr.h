#pragma once
// Plays the instrumental clips under the play marker while it is dragged:
// each request sounds one block of 2205 frames (50 ms) of every clip from the
// marker's tick; requests that arrive meanwhile are queued and played in
// turn. Each queued block holds its own copy of the clip frames it plays, so
// the audio thread never reads the project, which may change or be replaced
// at any time; a project whose clips differ from the sources' gets new
// sources on its first request.
#include <array>
#include <cstdint>
#include <vector>

#include "model/current/Markers.h"
#include "model/current/TempoMap.h"
#include "model/current/Track.h"
#include "model/document/DocPlayers.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/AudioStreamListener.h"
#include "render/audio/WavAudioSrc.h"

class CInstrumentClipAudioMgr : public IClipAudioMgr, public AudioStreamListener {
public:
    static constexpr int kBlockFrames = 2205;
    static constexpr int kMaxPending = 6;

    CInstrumentClipAudioMgr();
    ~CInstrumentClipAudioMgr() override;
    CInstrumentClipAudioMgr(const CInstrumentClipAudioMgr&) = delete;
    CInstrumentClipAudioMgr& operator=(const CInstrumentClipAudioMgr&) = delete;

    void playClipsAt(int tick, const std::vector<HVCurrentModel::Tempo*>& tempos,
                     const std::vector<HVCurrentModel::Track*>& tracks);

    void onPlayPosition(double) override {}
    // On the audio thread, inside the player's lock: the block has ended.
    void onPlayFinished(double) override { finished(); }
    void finished();

    bool isStarted() const { return started_; }
    // Ticks of the queued requests, the one playing first.
    std::vector<int> pendingTicks();
    AudioStreamGroup& group() { return group_; }

private:
    // One clip's part of a block: its place and a copy of its frames.
    struct ClipCut {
        int startDelay = 0;
        int length = 0;  // relative to the first copied frame
        int stored = 0;  // frames copied
        int channels = 0;
        int bitsPerSample = 0;
        bool mono = true;
        float gain = 0.0f;
        float pan = 0.0f;
        std::vector<int16_t> left, right;
    };
    struct Block {
        int tick = 0;
        std::vector<ClipCut> clips;
    };

    // The track index of every clip, in source order.
    static std::vector<int> clipLayout(const std::vector<HVCurrentModel::Track*>& tracks);
    void startFresh(int tick, const std::vector<HVCurrentModel::Tempo*>& tempos,
                    const std::vector<HVCurrentModel::Track*>& tracks, std::vector<int> layout);
    // New sources, one per clip, and block storage for them; stream stopped.
    void buildClipSources(int trackCount, std::vector<int> layout);
    // Copies what the block plays from the project (main thread).
    void prepareBlock(Block& block, int tick, const std::vector<HVCurrentModel::Tempo*>& tempos,
                      const std::vector<HVCurrentModel::Track*>& tracks);
    void fillCut(ClipCut& cut, const HVCurrentModel::Track& track, const HVCurrentModel::InstrumentSegment& seg,
                 float playSec);
    // Points the sources at the block (lock held or stream stopped).
    void repositionClips(const Block& block);
    int freeSlot() const;

    HVCurrentModel::TempoMap tempoMap_;
    bool started_ = false;
    AudioStreamGroup group_;
    std::array<Block, kMaxPending> slots_;
    std::array<int, kMaxPending> pending_{};  // slot indices, oldest first
    int pendingCount_ = 0;
    std::vector<WavAudioSrc*> sources_;  // owned by the group's track lists
    std::vector<int> layout_;
};
