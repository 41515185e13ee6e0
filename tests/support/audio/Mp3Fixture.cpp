#include "support/audio/Mp3Fixture.h"

#include <lame/lame.h>

#include <cmath>
#include <fstream>
#include <numbers>

namespace hvtest {

std::vector<int16_t> sineSamples(const SineClip& clip)
{
    const size_t frames = static_cast<size_t>(clip.seconds * clip.sampleRate);
    std::vector<int16_t> out;
    out.reserve(frames * clip.channels);
    for (size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < clip.channels; ++c) {
            const double hz = c == 0 ? clip.leftHz : clip.rightHz;
            const double v = clip.amplitude * std::sin(2 * std::numbers::pi * hz * f / clip.sampleRate);
            out.push_back(static_cast<int16_t>(std::lround(v * 32767)));
        }
    }
    return out;
}

bool writeSineMp3(const std::string& path, const SineClip& clip)
{
    lame_global_flags* gf = lame_init();
    if (gf == nullptr) return false;
    lame_set_in_samplerate(gf, clip.sampleRate);
    lame_set_out_samplerate(gf, clip.sampleRate);
    lame_set_num_channels(gf, clip.channels);
    lame_set_mode(gf, clip.channels == 1 ? MONO : STEREO);
    lame_set_brate(gf, clip.kbps);
    lame_set_quality(gf, 5);
    lame_set_bWriteVbrTag(gf, 0);
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        return false;
    }
    std::vector<int16_t> pcm = sineSamples(clip);
    const int frames = static_cast<int>(pcm.size() / clip.channels);
    // The encoder's worst case for the frames plus room for the flush.
    std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames) + 2 * 7200);
    int n;
    if (clip.channels == 1)
        n = lame_encode_buffer(gf, pcm.data(), pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
    else
        n = lame_encode_buffer_interleaved(gf, pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
    int tail = n < 0 ? -1 : lame_encode_flush(gf, mp3.data() + n, static_cast<int>(mp3.size()) - n);
    lame_close(gf);
    if (n < 0 || tail < 0) return false;
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(mp3.data()), n + tail);
    return static_cast<bool>(f);
}

double zeroCrossingFrequency(const std::vector<int16_t>& mono, int sampleRate, int threshold)
{
    long first = -1, last = -1, count = 0;
    bool armed = false;
    for (size_t k = 0; k < mono.size(); ++k) {
        if (mono[k] < -threshold) armed = true;
        if (armed && mono[k] >= 0) {
            armed = false;
            if (first < 0) first = static_cast<long>(k);
            last = static_cast<long>(k);
            ++count;
        }
    }
    if (count < 2) return 0.0;
    return (count - 1) * static_cast<double>(sampleRate) / (last - first);
}

}  // namespace hvtest
