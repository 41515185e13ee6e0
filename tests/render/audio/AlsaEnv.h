#pragma once
// Points the ALSA library at a test configuration. Must run before the first
// use of the audio library in the process.
#include <cstdlib>

namespace audiotest {

inline void useAlsaConfig(const char* path) { setenv("ALSA_CONFIG_PATH", path, 1); }

}  // namespace audiotest
