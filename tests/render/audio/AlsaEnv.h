#pragma once
// Points the ALSA library at a test configuration. It must be in place before
// the first use of the audio library in the process, so fixtures hold one as
// their first member, ahead of any player they own.
#include <cstdlib>

namespace audiotest {

struct AlsaConfig {
    explicit AlsaConfig(const char* path) { setenv("ALSA_CONFIG_PATH", path, 1); }
};

}  // namespace audiotest
