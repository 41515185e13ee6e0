#pragma once
// The process-wide preview player: a one-second tone when a key is pressed,
// a short crossfade when another key follows while it sounds, and a fade-out
// on release. The stream keeps running in silence between tones.
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/AudioStreamListener.h"
#include "render/audio/ToneAudioMgr.h"
#include "render/audio/WavAudioSrc.h"

class CAppSoundPlayer : public AudioStreamListener {
public:
    static constexpr float kToneGain = 0.5f;

    CAppSoundPlayer();
    ~CAppSoundPlayer() override;
    CAppSoundPlayer(const CAppSoundPlayer&) = delete;
    CAppSoundPlayer& operator=(const CAppSoundPlayer&) = delete;

    void playTone(float frequency);
    void stopTone();

    void onPlayPosition(double) override {}
    void onPlayFinished(double) override {}

    bool isToneOn() const { return toneOn_ && toneSounding_; }
    AudioStreamGroup& group() { return group_; }
    WavAudioSrc& source() { return *source_; }
    const CToneAudioMgr& tone() const { return tone_; }

private:
    // Points the source at the start of the tone buffer.
    void refillSource();

    AudioStreamGroup group_;
    bool toneOn_ = false;
    WavAudioSrc* source_ = nullptr;  // owned by the group's one track list
    bool toneSounding_ = false;
    CToneAudioMgr tone_;
};

// Built on first use; destroyed at exit before the audio library shuts down
// (or earlier by destroyAppSoundPlayer, after which the next use builds anew).
CAppSoundPlayer& getAppSoundPlayer();
void destroyAppSoundPlayer();
