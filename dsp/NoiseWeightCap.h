#pragma once
// Keeps the output writer from swelling a frame's spread part.
//
// The writer weights a frame by a triangle divided by the Blackman-Harris
// window, so that parts drawn with that window's shape (the harmonics, a
// residual re-drawn with its own phases) come out as the triangle. A part
// that does not carry that shape keeps the division instead, which at hops
// near half the frame reaches hundreds of times the weight at the centre
// towards the frame's ends: spikes. Such a part's weight never passes the
// window's centre value there:
// - a part spread evenly over the frame (noise drawn with random phases, the
//   small errors of a re-drawn residual) is weighted by that value times a
//   sine over the frame's 2h samples (spreadWeights): the squares of two
//   frames a hop apart add up to its square, so noise keeps one level
//   across the hop, and a frame next to silence fades in and out instead of
//   starting with a step;
// - a part kept under a window of its own, which fades it already, is held
//   at that value where the division would pass it.
// At the hops where no weight of the window exceeds its centre value,
// nothing is done at all.
#include <vector>

#include "dsp/FreqBox.h"

namespace HalvorenEngine {

// The 2 * hop weights the writer gives an evenly spread part, for the window
// samples N/2 - hop .. N/2 + hop - 1 of the writer's window of N samples
// (makeSynthesisWindow at hop): the window's own where none of them exceeds
// its centre value c; otherwise c * sin(pi * (i + 0.5) / (2 * hop)). Empty
// when the window does not hold 2 * hop samples.
std::vector<float> spreadWeights(const std::vector<float>& synthesisWindow, int hop);

class NoiseWeightCap {
public:
    // For frames of frameSize samples overlap-added at hop; a size or hop the
    // writer refuses caps nothing.
    NoiseWeightCap(int frameSize, int hop);

    // How a part taken lies in its frame.
    enum class Spread {
        even,       // spread evenly
        ownWindow,  // under a window of its own
    };

    // Whether some weight of the writer's window exceeds its centre value.
    bool binds() const { return !even_.excess.empty(); }
    // Keeps the transform of the spectrum now in box (bins 0..n/2, the
    // spread part alone) for the next capSpread; nothing when the cap never
    // binds. Uses box's transform.
    void takeSpread(Halvoren::FreqBox& box, Spread spread = Spread::even);
    // The same for a part re-drawn from the spectrum of `carried` (n samples
    // in the transform's order, already under the analysis window) times
    // gain: only what the drawing left beside it is kept, spread evenly.
    void takeSpreadBeside(Halvoren::FreqBox& box, const std::vector<float>& carried, float gain);
    // With box's spectrum unchanged since takeSpread (nothing drawn over the
    // spread part): writes the inverse transform takeSpread made of it into
    // out (n samples, as box's own transform would) and gives true. False,
    // nothing written, when no such transform is held (the cap never binds,
    // or takeSpreadBeside kept only a part of it).
    bool inverseTaken(float* out) const;
    // frame is the whole frame in the writer's order (halves swapped): the
    // part taken last is scaled, where the cap binds, so that the writer
    // gives it the weights of its kind. Without a part taken, nothing.
    void capSpread(float* frame);

private:
    // The runs [from, to) of j - first_ with excess, none crossing n/2.
    struct Run {
        int from;
        int to;
    };
    // The frame samples first_ .. frameSize_ - first_ - 1 have
    // excess[j - first_] = s[j - first_] / w[j] - 1, s being the weights of
    // the part's kind, or 0 where s and w agree.
    struct Excess {
        std::vector<float> excess;
        std::vector<Run> runs;
    };
    Excess excessOf(const std::vector<float>& window, const std::vector<float>& weights) const;

    int frameSize_;
    int first_ = 0;
    Excess even_;
    Excess ownWindow_;
    const Excess* taken_ = nullptr;
    std::vector<float> spread_;
    bool held_ = false;
    // spread_ is the transform of the whole spectrum takeSpread was given.
    bool whole_ = false;
};

}  // namespace HalvorenEngine
