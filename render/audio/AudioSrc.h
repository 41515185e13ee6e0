#pragma once
// A source of 16-bit frames that a player mixes into its stream. The play
// state (startDelay, readPos) and the data fields are read and written by the
// player under its lock; gain and pan may be changed by any thread at any
// time and are read once per buffer.
#include <atomic>
#include <cstdint>

class AudioSrc {
public:
    AudioSrc() = default;
    AudioSrc(const AudioSrc&) = delete;
    AudioSrc& operator=(const AudioSrc&) = delete;
    virtual ~AudioSrc() = default;

    // Frames that exist so far (the producer may still be writing the rest).
    virtual int availableSamples() const = 0;

    int channels = 1;
    int bitsPerSample = 16;
    int length = 0;  // frames; the source ends when readPos reaches it
    const int16_t* left = nullptr;
    const int16_t* right = nullptr;  // null for a mono source: left is used
    int startDelay = 0;              // frames of silence still to come
    int readPos = 0;                 // frames read so far
    std::atomic<float> gain{1.0f};
    std::atomic<float> pan{0.0f};  // -1 left only .. 0 centre .. 1 right only
};
