#pragma once
// One output stream on the default device (2 channels, 16-bit, 44100 Hz,
// 256 frames per buffer, no clipping by the library) and the callback that
// mixes its sources. A player whose stream could not be opened, or whose
// stream belongs to an audio session that has been shut down, skips every
// stream call, so its owners need no special case.
#include <cstdint>
#include <vector>

#include <portaudio.h>

#include "platform/CriticalSection.h"
#include "render/audio/AudioSrc.h"
#include "render/audio/AudioStreamListener.h"

class PaPlayer {
public:
    static constexpr int kChannels = 2;
    static constexpr double kSampleRate = 44100.0;
    static constexpr unsigned long kFramesPerBuffer = 256;

    // Opens the stream on the default output device, or prints
    // "Error: No default output device." and goes on without one.
    PaPlayer();
    // Aborts and closes the stream; the sources are not the player's.
    ~PaPlayer();
    PaPlayer(const PaPlayer&) = delete;
    PaPlayer& operator=(const PaPlayer&) = delete;

    void openStream(PaStreamParameters output);
    bool hasStream() const;

    void startStream();
    void abortStream();
    // The stream's clock in seconds (0 without a stream).
    double streamTime() const;

    // Guards the mix list, the sources' play state and the listener against
    // the callback, which holds it for a whole buffer.
    CCommonMutex lock;
    // The sources mixed, in order; not owned. Changed only while the stream
    // is stopped.
    std::vector<AudioSrc*> mixList;
    void setListener(AudioStreamListener* l);
    // The two steps of a start around the library's start call: the frame
    // count restarts at 0, and the stream's clock at the start is kept. The
    // buffers played between the two report no position: it would be
    // measured from the previous start.
    void resetFramesPlayed();
    void takeStartTime();
    int64_t framesPlayed();

    // One buffer of the stream: under the lock, mix the sources, then tell
    // the listener the position or the end. The callback's whole work.
    void process(int16_t* out, int frameCount);

    static int streamCallback(const void* input, void* output, unsigned long frameCount,
                              const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags statusFlags,
                              void* userData);

private:

    PaStream* stream_ = nullptr;
    int session_ = 0;
    AudioStreamListener* listener_ = nullptr;
    double startTime_ = 0.0;
    bool startTimeTaken_ = false;  // for the current start
    int64_t framesPlayed_ = 0;  // counted only while a listener is set
    std::vector<int32_t> acc_;  // the callback's sums, sized once
};
