#include "dsp/RealFft.h"

#include <kiss_fftr.h>

#include <stdexcept>

static_assert(sizeof(kiss_fft_cpx) == sizeof(std::complex<float>));

namespace Halvoren {

RealFft::RealFft(int n) { init(n); }

RealFft::~RealFft() { release(); }

void RealFft::release()
{
    kiss_fftr_free(forwardPlan_);
    kiss_fftr_free(inversePlan_);
    forwardPlan_ = nullptr;
    inversePlan_ = nullptr;
    n_ = 0;
}

void RealFft::init(int n)
{
    if (n < 2 || n % 2 != 0)
        throw std::invalid_argument("real FFT size must be even and at least 2");
    release();
    forwardPlan_ = kiss_fftr_alloc(n, 0, nullptr, nullptr);
    inversePlan_ = kiss_fftr_alloc(n, 1, nullptr, nullptr);
    if (forwardPlan_ == nullptr || inversePlan_ == nullptr) {
        release();
        throw std::bad_alloc();
    }
    n_ = n;
    work_.assign(static_cast<std::size_t>(n), std::complex<float>(0.0f, 0.0f));
}

void RealFft::forward(const float* in, float* re, float* im)
{
    kiss_fftr(forwardPlan_, in, reinterpret_cast<kiss_fft_cpx*>(work_.data()));
    for (int i = 0; i < n_; ++i) {
        re[i] = work_[i].real();
        im[i] = work_[i].imag();
    }
}

void RealFft::inverse(const float* re, const float* im, float* out)
{
    const float s = static_cast<float>(1.0 / n_);
    for (int i = 0; i <= n_ / 2; ++i)
        work_[i] = std::complex<float>(re[i] * s, im[i] * s);
    kiss_fftri(inversePlan_, reinterpret_cast<const kiss_fft_cpx*>(work_.data()), out);
}

}  // namespace Halvoren
