#include "render/audio/PaPlayer.h"

#include <cstdio>
#include <mutex>

#include "render/audio/AudioSingleton.h"
#include "render/audio/MixBuffer.h"

PaPlayer::PaPlayer() {
    acc_.resize(kFramesPerBuffer * kChannels);
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice) {
        // Said once per audio session, however many players find no device
        // (they are made on the main thread).
        static int saidInSession = -1;
        if (saidInSession != audioSession()) std::fprintf(stderr, "Error: No default output device.\n");
        saidInSession = audioSession();
        return;
    }
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = kChannels;
    output.sampleFormat = paInt16;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    output.suggestedLatency = info ? info->defaultLowOutputLatency : 0.0;
    output.hostApiSpecificStreamInfo = nullptr;
    openStream(output);
}

PaPlayer::~PaPlayer() {
    if (hasStream()) {
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
    }
}

void PaPlayer::openStream(PaStreamParameters output) {
    PaStream* s = nullptr;
    const PaError err = Pa_OpenStream(&s, nullptr, &output, kSampleRate, kFramesPerBuffer, paClipOff,
                                      &PaPlayer::streamCallback, this);
    if (err != paNoError) {
        printPaError(err);
        return;
    }
    stream_ = s;
    session_ = audioSession();
}

bool PaPlayer::hasStream() const { return stream_ && session_ == audioSession(); }

void PaPlayer::startStream() {
    if (hasStream()) Pa_StartStream(stream_);
}

void PaPlayer::abortStream() {
    if (hasStream()) Pa_AbortStream(stream_);
}

double PaPlayer::streamTime() const { return hasStream() ? Pa_GetStreamTime(stream_) : 0.0; }

void PaPlayer::setListener(AudioStreamListener* l) {
    std::lock_guard<CCommonMutex> guard(lock);
    listener_ = l;
}

void PaPlayer::resetFramesPlayed() {
    std::lock_guard<CCommonMutex> guard(lock);
    framesPlayed_ = 0;
    startTimeTaken_ = false;
}

int64_t PaPlayer::framesPlayed() {
    std::lock_guard<CCommonMutex> guard(lock);
    return framesPlayed_;
}

void PaPlayer::takeStartTime() {
    const double now = streamTime();
    std::lock_guard<CCommonMutex> guard(lock);
    startTime_ = now;
    startTimeTaken_ = true;
}

void PaPlayer::process(int16_t* out, int frameCount) {
    std::lock_guard<CCommonMutex> guard(lock);
    const bool allEnded = mixBuffer(out, frameCount, mixList, acc_);
    if (!listener_) return;
    framesPlayed_ += frameCount;
    const PaStreamInfo* info = hasStream() ? Pa_GetStreamInfo(stream_) : nullptr;
    if (!allEnded) {
        if (!startTimeTaken_) return;
        const double latency = info ? info->outputLatency : 0.0;
        listener_->onPlayPosition(streamTime() - startTime_ - latency);
    } else {
        const double rate = info && info->sampleRate > 0.0 ? info->sampleRate : kSampleRate;
        listener_->onPlayFinished(static_cast<double>(framesPlayed_) / rate);
    }
}

int PaPlayer::streamCallback(const void*, void* output, unsigned long frameCount, const PaStreamCallbackTimeInfo*,
                             PaStreamCallbackFlags, void* userData) {
    static_cast<PaPlayer*>(userData)->process(static_cast<int16_t*>(output), static_cast<int>(frameCount));
    return paContinue;
}
