#pragma once
// Told by a player, on the audio thread and inside the player's lock, where
// the stream is and when every source has ended. Implementations may only
// record or post; they must never stop or abort the stream themselves.
class AudioStreamListener {
public:
    virtual ~AudioStreamListener() = default;
    // Seconds since the last start, less the stream's output latency.
    virtual void onPlayPosition(double seconds) = 0;
    // Every source has ended; seconds = frames delivered since the last start
    // divided by the sample rate. Called again on every later buffer.
    virtual void onPlayFinished(double seconds) = 0;
};
