#pragma once
// The mixing step of a player's stream: every source is added with its gain
// and pan into one buffer of interleaved stereo 16-bit frames, and its play
// state advances with the buffer, whether or not its frames exist yet.
#include <cstdint>
#include <vector>

#include "render/audio/AudioSrc.h"

// Largest gain magnitude applied; larger gains (and non-finite ones, taken as
// 0) are clamped so that a product always fits the 32-bit sums.
inline constexpr float kMaxMixGain = 256.0f;

// Linear balance law: the far channel is attenuated, the near one keeps the
// full gain. pan is clamped to -1..1 (non-finite: 0).
void channelGains(float gain, float pan, float& gL, float& gR);

// Mixes frameCount frames of the sources into out (overwritten) and advances
// each source. Sums in 32 bits and saturates once per output sample. acc is
// scratch space, grown only when too small. Returns true when every source
// has ended (also for an empty list).
bool mixBuffer(int16_t* out, int frameCount, const std::vector<AudioSrc*>& sources, std::vector<int32_t>& acc);
