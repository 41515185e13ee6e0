#pragma once
// Reading back what the writers made: the samples of a canonical 44-byte-
// header WAV file, and an MP3 file decoded gaplessly by libmpg123.
#include <cstdint>
#include <string>
#include <vector>

namespace hvtest {

// The 16-bit samples after the 44-byte header, interleaved as stored.
std::vector<int16_t> wavSamples(const std::string& path);

struct DecodedMp3 {
    long rate = 0;
    int channels = 0;  // 0 when the file does not decode to 16-bit samples
    std::vector<int16_t> pcm;

    // Frequency of one channel from its zero crossings.
    double hz(int channel) const;
};

// Gapless decoding trims the encoder delay and the padding that the tag
// frame announces.
DecodedMp3 decodeMp3(const std::string& path);

}  // namespace hvtest
