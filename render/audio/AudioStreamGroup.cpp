#include "render/audio/AudioStreamGroup.h"

#include <mutex>

#include "render/audio/AudioSingleton.h"

AudioStreamGroup::AudioStreamGroup() {
    getAudioSingleton();
    player_.reset(newPaPlayer());
}

AudioStreamGroup::~AudioStreamGroup() {
    player_->abortStream();
    clearTracks();
}

void AudioStreamGroup::setTrackCount(int n) {
    clearTracks();
    for (int i = 0; i < n; ++i) trackLists_.push_back(std::make_unique<AudioSrcList>());
}

void AudioStreamGroup::clearTracks() {
    {
        // The player must never keep pointers to deleted sources, even when
        // an owner forgot to stop the stream first.
        std::lock_guard<CCommonMutex> guard(player_->lock);
        player_->mixList.clear();
    }
    trackLists_.clear();
}

bool AudioStreamGroup::addSource(int track, AudioSrc* src) {
    if (!hasTrackList(track)) return false;
    trackLists_[track]->addUnique(src);
    return true;
}

void AudioStreamGroup::setGain(int track, float gain) {
    if (!hasTrackList(track)) return;
    AudioSrcList& list = *trackLists_[track];
    for (size_t i = 0; i < list.size(); ++i) list.at(i)->gain.store(gain, std::memory_order_relaxed);
}

void AudioStreamGroup::setPan(int track, float pan) {
    if (!hasTrackList(track)) return;
    AudioSrcList& list = *trackLists_[track];
    for (size_t i = 0; i < list.size(); ++i) list.at(i)->pan.store(pan, std::memory_order_relaxed);
}

void AudioStreamGroup::commitSources() {
    PaPlayer& p = *player_;
    p.mixList.clear();
    for (const auto& list : trackLists_)
        for (size_t i = 0; i < list->size(); ++i) p.mixList.push_back(list->at(i));
}

void AudioStreamGroup::abort() {
    player_->abortStream();
    playing_ = false;
}

void AudioStreamGroup::restart() {
    abort();
    commitSources();
    player_->resetFramesPlayed();
    player_->startStream();
    player_->takeStartTime();
    playing_ = true;
}
