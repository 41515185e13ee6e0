#include "render/audio/MixBuffer.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "dsp/TruncToInt.h"

void channelGains(float gain, float pan, float& gL, float& gR) {
    if (!std::isfinite(gain)) gain = 0.0f;
    gain = std::clamp(gain, -kMaxMixGain, kMaxMixGain);
    if (!std::isfinite(pan)) pan = 0.0f;
    pan = std::clamp(pan, -1.0f, 1.0f);
    gL = gain;
    gR = gain;
    if (pan >= 0.0f)
        gL = gain * (1.0f - pan);
    else
        gR = gain * (1.0f + pan);
}

namespace {

// Adds n frames of the source from frame `from` into acc (already offset to
// the first output frame). Products are truncated toward zero.
void addFrames(int32_t* acc, const AudioSrc& src, int64_t from, int64_t n, float gL, float gR) {
    if (from < 0) {  // never read before the arrays
        const int64_t skip = std::min(-from, n);
        acc += 2 * skip;
        n -= skip;
        from = 0;
    }
    const int16_t* l = src.left;
    if (!l || n <= 0) return;
    const int16_t* r = src.right ? src.right : l;
    for (int64_t k = 0; k < n; ++k) {
        acc[2 * k] += static_cast<int32_t>(static_cast<float>(l[from + k]) * gL);
        acc[2 * k + 1] += static_cast<int32_t>(static_cast<float>(r[from + k]) * gR);
    }
}

// Read positions stop once the source has ended, so that streams left running
// for days never overflow them.
int advance(int readPos, int64_t by, int length) {
    if (readPos >= length) return readPos;
    return static_cast<int>(std::min<int64_t>(int64_t{readPos} + by, INT_MAX));
}

}  // namespace

bool mixBuffer(int16_t* out, int frameCount, const std::vector<AudioSrc*>& sources, std::vector<int32_t>& acc) {
    if (frameCount <= 0) return sources.empty();
    const size_t samples = static_cast<size_t>(frameCount) * 2;
    if (acc.size() < samples) acc.resize(samples);
    std::fill_n(acc.begin(), samples, 0);

    bool allEnded = true;
    for (AudioSrc* src : sources) {
        float gL, gR;
        channelGains(src->gain.load(std::memory_order_relaxed), src->pan.load(std::memory_order_relaxed), gL, gR);
        int64_t mark = src->readPos;
        if (src->startDelay > 0) {
            if (src->startDelay >= frameCount) {
                src->startDelay -= frameCount;
            } else {
                const int64_t room = frameCount - src->startDelay;
                const int64_t n = std::min<int64_t>(int64_t{src->availableSamples()} - src->readPos, room);
                if (n > 0) {
                    addFrames(acc.data() + 2 * src->startDelay, *src, src->readPos, n, gL, gR);
                    mark = src->readPos + n;
                }
                src->readPos = advance(src->readPos, room, src->length);
                src->startDelay = 0;
            }
        } else if (src->readPos < src->length) {
            const int64_t n = std::min<int64_t>(frameCount, int64_t{src->availableSamples()} - src->readPos);
            if (n > 0) {
                addFrames(acc.data(), *src, src->readPos, n, gL, gR);
                mark = src->readPos + n;
            }
            src->readPos = advance(src->readPos, frameCount, src->length);
        }
        if (mark < src->length) allEnded = false;
    }
    for (size_t i = 0; i < samples; ++i) out[i] = HalvorenEngine::saturateToInt16(acc[i]);
    return allEnded;
}
