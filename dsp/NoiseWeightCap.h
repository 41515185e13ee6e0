#pragma once
// Keeps the output writer from swelling a frame's evenly spread part.
//
// The writer weights a frame by a triangle divided by the Blackman-Harris
// window, so that parts drawn with that window's shape (the harmonics, a
// residual re-drawn with its own phases) come out as the triangle. A part
// spread evenly over the frame (noise drawn with random phases, a residual
// kept under another window, the small errors of a re-drawn residual) keeps
// the division instead, which at hops near half the frame reaches hundreds
// of times the weight at the centre towards the frame's ends: spikes. That
// part's weight is held at the window's centre value (noiseWeightCap); at
// the hops where no weight exceeds it, nothing is done at all.
#include <vector>

#include "dsp/FreqBox.h"

namespace HalvorenEngine {

// The weight an evenly spread part is held to: the centre value of the
// writer's window (makeSynthesisWindow), which must not be empty.
float noiseWeightCap(const std::vector<float>& synthesisWindow);

class NoiseWeightCap {
public:
    // For frames of frameSize samples overlap-added at hop; a size or hop the
    // writer refuses caps nothing.
    NoiseWeightCap(int frameSize, int hop);

    // Whether some weight of the writer's window exceeds its centre value.
    bool binds() const { return !excess_.empty(); }
    // Keeps the transform of the spectrum now in box (bins 0..n/2, the
    // spread part alone) for the next capSpread; nothing when the cap never
    // binds. Uses box's transform.
    void takeSpread(Halvoren::FreqBox& box);
    // The same for a part re-drawn from the spectrum of `carried` (n samples
    // in the transform's order, already under the analysis window) times
    // gain: only what the drawing left beside it is kept.
    void takeSpreadBeside(Halvoren::FreqBox& box, const std::vector<float>& carried, float gain);
    // With box's spectrum unchanged since takeSpread (nothing drawn over the
    // spread part): writes the inverse transform takeSpread made of it into
    // out (n samples, as box's own transform would) and gives true. False,
    // nothing written, when no such transform is held (the cap never binds,
    // or takeSpreadBeside kept only a part of it).
    bool inverseTaken(float* out) const;
    // frame is the whole frame in the writer's order (halves swapped): the
    // spread part taken last is scaled, where the cap binds, so that the
    // writer gives it the centre weight. Without a part taken, nothing.
    void capSpread(float* frame);

private:
    int frameSize_;
    int first_ = 0;  // the frame samples first_ .. frameSize_ - first_ - 1 ...
    // ... have excess_[j - first_] = cap / w[j] - 1 where w[j] > cap, else 0.
    std::vector<float> excess_;
    // The runs [from, to) of j - first_ with excess, none crossing n/2.
    struct Run {
        int from;
        int to;
    };
    std::vector<Run> runs_;
    std::vector<float> spread_;
    bool held_ = false;
    // spread_ is the transform of the whole spectrum takeSpread was given.
    bool whole_ = false;
};

}  // namespace HalvorenEngine
