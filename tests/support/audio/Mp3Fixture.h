#pragma once
// MP3 files made at test time from known sines, and a frequency measure to
// check decoded sound against them.
#include <cstdint>
#include <string>
#include <vector>

namespace hvtest {

struct SineClip {
    int sampleRate = 44100;
    int channels = 1;
    double leftHz = 440.0;
    double rightHz = 440.0;  // second channel, when there is one
    double seconds = 1.0;
    double amplitude = 0.5;  // of full scale
    int kbps = 128;          // constant bit rate of the encoding
};

// The clip's 16-bit samples, interleaved.
std::vector<int16_t> sineSamples(const SineClip& clip);

// Encodes the clip at 128 kbit/s, constant bit rate, without an info frame.
bool writeSineMp3(const std::string& path, const SineClip& clip);

// Frequency of a sine from its rising zero crossings; 0 when fewer than two.
// A crossing counts only after the signal went below -threshold, so that
// codec noise around silence is not counted.
double zeroCrossingFrequency(const std::vector<int16_t>& mono, int sampleRate, int threshold = 1000);

}  // namespace hvtest
