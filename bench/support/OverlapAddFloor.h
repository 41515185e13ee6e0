#pragma once
// The floor the engine benchmarks measure against: a bare KISS FFT inverse of
// a fixed spectrum of frameSize points per frame (after a forward transform
// of a fixed frame, with withForward), each overlap-added into floats over
// two hops, with no synthesis around it. The run is compiled once, in its
// own file and at a fixed alignment, so that its loops sit the same way in
// every benchmark and do not move with the code of the job beside it.
#include <kiss_fftr.h>

#include <vector>

namespace hvbench {

class OverlapAddFloor {
public:
    OverlapAddFloor(int frameSize, int hop, bool withForward = false)
        : frameSize_(frameSize), hop_(hop), withForward_(withForward),
          plan_(kiss_fftr_alloc(frameSize, 1, nullptr, nullptr)),
          forwardPlan_(kiss_fftr_alloc(frameSize, 0, nullptr, nullptr)), input_(frameSize),
          spectrum_(frameSize / 2 + 1), frame_(frameSize), window_(2 * hop, 0.5f)
    {
        for (int i = 0; i < frameSize; ++i)
            input_[i] = 0.001f * static_cast<float>(i % 13);
        for (int k = 0; k <= frameSize / 2; ++k)
            spectrum_[k] = {0.001f * static_cast<float>(k % 7), 0.001f * static_cast<float>(k % 5)};
    }
    ~OverlapAddFloor()
    {
        kiss_fftr_free(plan_);
        kiss_fftr_free(forwardPlan_);
    }
    OverlapAddFloor(const OverlapAddFloor&) = delete;
    OverlapAddFloor& operator=(const OverlapAddFloor&) = delete;

    // Transforms and overlap-adds `frames` frames into a cleared output.
    void run(int frames);

private:
    int frameSize_;
    int hop_;
    bool withForward_;
    kiss_fftr_cfg plan_;
    kiss_fftr_cfg forwardPlan_;
    std::vector<float> input_;
    std::vector<kiss_fft_cpx> spectrum_;
    std::vector<float> frame_;
    std::vector<float> window_;
    std::vector<float> out_;
};

}  // namespace hvbench
