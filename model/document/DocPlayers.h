#pragma once
// The audio objects the document owns: the preview of instrumental clips and
// the per-track mix of playback. The document creates them lazily through a
// replaceable factory, so that building a document opens no audio device; the
// sound-card players plug in by installing their factory, and until one is
// installed silent stand-ins are made.
#include <functional>
#include <memory>

class IClipAudioMgr {
public:
    virtual ~IClipAudioMgr() = default;
};

class ITrackMixGroup {
public:
    virtual ~ITrackMixGroup() = default;
    // Number of entries in the per-track source lists (index = track index).
    virtual int trackListCount() const = 0;
    // Whether track index i has a source list (an entry may be empty).
    virtual bool hasTrackList(int i) const = 0;
    // Sets the gain or the pan of every source of the list of track index i.
    // Called on the main thread while the output callback mixes: an
    // implementation guards the values it hands over (lock or atomics).
    virtual void setGain(int i, float gain) = 0;
    virtual void setPan(int i, float pan) = 0;
};

struct DocPlayersFactory {
    std::function<std::unique_ptr<IClipAudioMgr>()> makeClipAudio;
    std::function<std::unique_ptr<ITrackMixGroup>()> makeTrackMix;
};

// The factory used by documents created from now on. Parts left empty fall
// back to the silent stand-ins.
void setDocPlayersFactory(DocPlayersFactory factory);
std::unique_ptr<IClipAudioMgr> makeDocClipAudio();
std::unique_ptr<ITrackMixGroup> makeDocTrackMix();
