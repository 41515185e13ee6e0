#pragma once
// Real-input FFT of one fixed even size. The forward transform returns
// separate real and imaginary arrays of n entries, of which only bins
// 0..n/2 carry the transform; the entries above n/2 are scratch and must not
// be read. The inverse reads bins 0..n/2 and folds in the 1/n scaling, so
// inverse(forward(x)) returns x.
#include <complex>
#include <vector>

struct kiss_fftr_state;

namespace Halvoren {

class RealFft {
public:
    RealFft() = default;
    // Same as init(n).
    explicit RealFft(int n);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    // Makes both plans and the work array; throws std::invalid_argument for
    // a size that is odd or below 2.
    void init(int n);
    int size() const { return n_; }

    void forward(const float* in, float* re, float* im);
    void inverse(const float* re, const float* im, float* out);

private:
    void release();

    int n_ = 0;
    kiss_fftr_state* forwardPlan_ = nullptr;
    kiss_fftr_state* inversePlan_ = nullptr;
    std::vector<std::complex<float>> work_;
};

}  // namespace Halvoren
