#pragma once
// A source over finished samples: all storedLength frames exist already.
#include "render/audio/AudioSrc.h"

class WavAudioSrc : public AudioSrc {
public:
    int availableSamples() const override { return storedLength; }

    int storedLength = 0;
};
