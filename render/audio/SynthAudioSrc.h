#pragma once
// A source over a running synthesizer: its output buffer, laid out when the
// job was prepared, fills while the player reads; the frames that exist are
// the samples the job has done.
#include "render/audio/AudioSrc.h"
#include "render/synth/ISynth.h"

class SynthAudioSrc : public AudioSrc {
public:
    // Mono 16-bit over the synthesizer's output (not owned).
    explicit SynthAudioSrc(ISynth* synth) : synth_(synth) {
        int count = 0;
        left = synth->getOutput(&count);
        right = left;
        length = count;
    }
    int availableSamples() const override { return synth_->samplesDone(); }
    ISynth* synth() const { return synth_; }

private:
    ISynth* synth_;
};
