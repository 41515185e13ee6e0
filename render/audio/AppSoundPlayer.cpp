#include "render/audio/AppSoundPlayer.h"

#include <cstdlib>
#include <memory>
#include <mutex>

CAppSoundPlayer::CAppSoundPlayer() {
    group_.player().setListener(this);
    group_.setTrackCount(1);
    source_ = new WavAudioSrc();
    group_.addSource(0, source_);
}

CAppSoundPlayer::~CAppSoundPlayer() {
    group_.abort();
    group_.player().setListener(nullptr);
}

void CAppSoundPlayer::refillSource() {
    WavAudioSrc& s = *source_;
    s.length = s.storedLength = tone_.toneLength();
    s.channels = 1;
    s.bitsPerSample = 16;
    s.left = s.right = tone_.samples();
    s.gain.store(kToneGain);
    s.pan.store(0.0f);
    s.readPos = 0;
    s.startDelay = 0;
}

void CAppSoundPlayer::playTone(float frequency) {
    if (isToneOn()) {
        std::lock_guard<CCommonMutex> guard(group_.player().lock);
        tone_.retune(frequency, source_->readPos);
        refillSource();
    } else {
        group_.abort();
        tone_.generate(frequency);
        refillSource();
        group_.restart();
    }
    toneOn_ = true;
    toneSounding_ = true;
}

void CAppSoundPlayer::stopTone() {
    if (isToneOn()) {
        std::lock_guard<CCommonMutex> guard(group_.player().lock);
        const int last = tone_.release(source_->readPos);
        source_->length = source_->storedLength = last + 1;
    }
    toneOn_ = false;
    toneSounding_ = false;
}

namespace {
std::unique_ptr<CAppSoundPlayer>& appSoundPlayerSlot() {
    static std::unique_ptr<CAppSoundPlayer> slot;
    return slot;
}
}  // namespace

CAppSoundPlayer& getAppSoundPlayer() {
    auto& slot = appSoundPlayerSlot();
    if (!slot) {
        slot = std::make_unique<CAppSoundPlayer>();
        // Registered after the player's construction started the audio
        // library, so it runs before the library's own exit handler.
        static const bool registered = (std::atexit(destroyAppSoundPlayer), true);
        (void)registered;
    }
    return *slot;
}

void destroyAppSoundPlayer() { appSoundPlayerSlot().reset(); }
