#pragma once
// One second of a soft, nearly sinusoidal preview tone (fundamental plus
// three weak harmonics, about -20 dB below full scale) with short fades, a
// crossfade for gliding to a new pitch and a fade-out for the release.
#include <cstdint>
#include <vector>

class CToneAudioMgr {
public:
    static constexpr int kToneLength = 44100;
    static constexpr int kFadeLength = 120;
    static constexpr float kMinFreq = 50.0f;
    static constexpr float kMaxFreq = 10000.0f;

    CToneAudioMgr();
    virtual ~CToneAudioMgr() = default;

    // Fills the buffer with a tone of the frequency, clamped to 50..10000 Hz.
    void generate(float frequency);
    // Generates the new tone and fades the old one's next samples from
    // playPos out over its first 120 samples; the caller restarts at 0.
    void retune(float frequency, int playPos);
    // Fades the tone to zero over 120 samples from playPos (fewer near the
    // end) and silences the rest; returns the index of the last sample.
    int release(int playPos);

    int toneLength() const { return kToneLength; }
    const int16_t* samples() const { return toneBuf_.data(); }
    const std::vector<int16_t>& toneBuf() const { return toneBuf_; }

private:
    std::vector<int16_t> toneBuf_;
    std::vector<int16_t> fadeBuf_;
};
