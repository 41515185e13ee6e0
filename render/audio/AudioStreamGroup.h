#pragma once
// A player with the sources it owns, one list per track. Sources are set up
// while the stream is stopped and handed to the player by commitSources;
// restart runs the whole start sequence.
#include <memory>
#include <vector>

#include "model/document/DocPlayers.h"
#include "render/audio/AudioSrcList.h"
#include "render/audio/PaPlayer.h"

class AudioStreamGroup : public ITrackMixGroup {
public:
    // Starts the audio library if needed, then opens the group's own stream.
    AudioStreamGroup();
    ~AudioStreamGroup() override;
    AudioStreamGroup(const AudioStreamGroup&) = delete;
    AudioStreamGroup& operator=(const AudioStreamGroup&) = delete;

    // clearTracks, then n empty lists (none when n <= 0).
    void setTrackCount(int n);
    // Deletes every list with its sources. The stream must be stopped.
    void clearTracks();
    // Hands the source to list `track`; false (the source stays the
    // caller's) when there is no such list.
    bool addSource(int track, AudioSrc* src);

    int trackListCount() const override { return static_cast<int>(trackLists_.size()); }
    bool hasTrackList(int i) const override { return i >= 0 && i < trackListCount(); }
    // Safe while playing: gain and pan are atomic.
    void setGain(int track, float gain) override;
    void setPan(int track, float pan) override;

    // The player mixes every source of every list, track by track.
    void commitSources();
    void abort();
    // Abort, commit, frame count 0, start, start time; playing afterwards.
    void restart();

    bool isPlaying() const { return playing_; }
    PaPlayer& player() { return *player_; }
    AudioSrcList& trackList(int i) { return *trackLists_[i]; }

private:
    bool playing_ = false;
    std::vector<std::unique_ptr<AudioSrcList>> trackLists_;
    std::unique_ptr<PaPlayer> player_;
};
