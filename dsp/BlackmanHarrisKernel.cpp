#include "dsp/BlackmanHarrisKernel.h"

#include <cmath>
#include <numbers>

namespace Halvoren {

double blackmanHarrisKernel(double u)
{
    // Each cosine term shifts a sinc by k bins; sin(pi (u - k)) is
    // (-1)^k sin(pi u), so one sine serves all seven sincs.
    static constexpr double a[4] = {0.35875, 0.48829, 0.14128, 0.01168};
    const double s = std::sin(std::numbers::pi * u);
    auto sinc = [s](double x, int k) {
        if (std::fabs(x) < 1e-9)
            return 1.0;
        const double sign = (k % 2 == 0) ? 1.0 : -1.0;
        return sign * s / (std::numbers::pi * x);
    };
    double sum = a[0] * sinc(u, 0);
    for (int k = 1; k < 4; ++k)
        sum += a[k] * 0.5 * (sinc(u - k, k) + sinc(u + k, k));
    return sum / a[0];
}

}  // namespace Halvoren
