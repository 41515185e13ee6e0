#include "render/audio/ToneAudioMgr.h"

#include <algorithm>

#include "dsp/FastMath.h"
#include "render/audio/ToneMath.h"

CToneAudioMgr::CToneAudioMgr() : toneBuf_(kToneLength, 0), fadeBuf_(kFadeLength, 0) {}

void CToneAudioMgr::generate(float frequency) {
    if (!(frequency > kMinFreq)) frequency = kMinFreq;
    if (frequency >= kMaxFreq) frequency = kMaxFreq;
    const int period = static_cast<int>(44100.0 / frequency);

    const float r = Halvoren::fastLog2(10.0f);
    const float w1 = fastPow2(-r);
    const float w2 = fastPow2(-2.0f * r);
    const float w3 = fastPow2(-3.0f * r);
    for (int i = 0; i < period; ++i) {
        const float t = static_cast<float>(i) * 6.283185f / static_cast<float>(period);
        const float s = w1 * toneSine(t) + w2 * toneSine(2.0f * t) + w3 * toneSine(3.0f * t) + w3 * toneSine(4.0f * t);
        toneBuf_[i] = static_cast<int16_t>(s * 32767.0);
    }
    for (int i = period; i < kToneLength; ++i) toneBuf_[i] = toneBuf_[i - period];
    for (int i = 0; i < kFadeLength; ++i) {
        int16_t& tail = toneBuf_[kToneLength - 1 - i];
        tail = static_cast<int16_t>(tail * i / 120.0);
        toneBuf_[i] = static_cast<int16_t>(toneBuf_[i] * i / 120.0);
    }
}

void CToneAudioMgr::retune(float frequency, int playPos) {
    playPos = std::max(playPos, 0);
    const int count = std::min(kFadeLength, kToneLength - playPos);
    if (playPos >= kToneLength || count <= 0) {
        generate(frequency);
        return;
    }
    std::fill(fadeBuf_.begin(), fadeBuf_.end(), int16_t{0});
    std::copy_n(toneBuf_.begin() + playPos, count, fadeBuf_.begin());
    generate(frequency);
    for (int k = 0; k < kFadeLength; ++k) {
        const double w = (119 - k) / 120.0;
        toneBuf_[k] = static_cast<int16_t>((1.0 - w) * toneBuf_[k] + w * fadeBuf_[k]);
    }
}

int CToneAudioMgr::release(int playPos) {
    playPos = std::max(playPos, 0);
    if (playPos >= kToneLength) return kToneLength - 1;
    int count = kFadeLength;
    int last = playPos + kFadeLength;
    // Within the last 120 samples the fade runs to the end and the tone ends
    // at its last sample; the sample after a full fade must exist.
    if (kToneLength - playPos <= kFadeLength) {
        count = kToneLength - playPos;
        last = kToneLength - 1;
    }
    for (int k = 0; k < count; ++k) {
        int16_t& s = toneBuf_[playPos + k];
        s = static_cast<int16_t>(s * (count - 1 - k) / count);
    }
    std::fill(toneBuf_.begin() + playPos + count, toneBuf_.end(), int16_t{0});
    return last;
}
