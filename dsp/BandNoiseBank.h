#pragma once
// Coloured noise from a handful of band levels: per band a table of
// band-pass filtered Gaussian noise, of which each frame adds a randomly
// placed 512-sample stretch scaled by the band's level.
#include <cstdint>
#include <vector>

namespace Halvoren {

class FreqBox;

class BandNoiseBank {
public:
    static constexpr int kTableLength = 512 + 528;

    // edges holds bandCount upper band edges in Hz (band k spans
    // edges[k-1]..edges[k], band 0 starts at 0 Hz). A count outside 0..4096
    // is clamped; null edges make no bands. Draws 1040 Gaussian values per
    // band from a generator of the bank's own, started as a fresh thread's
    // is, so every bank of the same bands holds the same tables.
    BandNoiseBank(int bandCount, float sampleRate, const float* edges);
    BandNoiseBank(const BandNoiseBank&) = delete;
    BandNoiseBank& operator=(const BandNoiseBank&) = delete;

    std::int32_t frameSize = 512;
    float sampleRate;
    std::int32_t bandCount;
    std::vector<float> edges;
    std::vector<std::vector<float>> tables;
};

// Zeroes the frame, adds tables[k][offset_k + i] * levels[k] for i < 512
// (offset_k = generator % 512, one draw per bank band, band 0 first) and
// transforms the sum forwards into the frame's spectrum. levels are linear
// amplitudes; only the first min(levelCount, bandCount) bands sound, but
// every band still draws its offset. The frame must be of the bank's frame
// size (std::invalid_argument otherwise).
void renderNoiseFrame(int levelCount, BandNoiseBank& bank, const float* levels, FreqBox& frame);

}  // namespace Halvoren
