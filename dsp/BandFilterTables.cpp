#include "dsp/BandFilterTables.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace Halvoren {

namespace {
using Cd = std::complex<double>;

constexpr int kOrder = 4;
constexpr double kRippleDb = 0.5;

struct Design {
    double a[kBandFilterTaps];
    double b[kBandFilterTaps];
};

// Chebyshev type I by the bilinear transform, the edge pre-warped by the
// tangent. The numerator is the fourfold zero at z = -1 (low-pass) or z = 1
// (high-pass), scaled so that the passband end (DC or Nyquist) sits at the
// bottom of the ripple band.
Design chebyshevDesign(double edge, bool highPass)
{
    const double eps = std::sqrt(std::pow(10.0, kRippleDb / 10.0) - 1.0);
    const double mu = std::asinh(1.0 / eps) / kOrder;
    const double warped = std::tan(std::numbers::pi * edge / 2.0);

    // Denominator polynomial in z^-1, built one pole at a time.
    Cd poly[kBandFilterTaps] = {1.0, 0.0, 0.0, 0.0, 0.0};
    for (int k = 1; k <= kOrder; ++k) {
        const double theta = (2.0 * k - 1.0) * std::numbers::pi / (2.0 * kOrder);
        const Cd prototype(-std::sinh(mu) * std::sin(theta), std::cosh(mu) * std::cos(theta));
        const Cd s = highPass ? warped / prototype : prototype * warped;
        const Cd z = (1.0 + s) / (1.0 - s);
        for (int i = k; i >= 1; --i)
            poly[i] -= z * poly[i - 1];
    }
    Design d{};
    double atEnd = 0.0;  // A(z) at z = 1 (low-pass) or z = -1 (high-pass)
    for (int i = 0; i < kBandFilterTaps; ++i) {
        d.a[i] = poly[i].real();
        atEnd += (highPass && i % 2 == 1) ? -d.a[i] : d.a[i];
    }
    const double gain = std::pow(10.0, -kRippleDb / 20.0) * atEnd / 16.0;
    const double binomial[kBandFilterTaps] = {1, 4, 6, 4, 1};
    for (int i = 0; i < kBandFilterTaps; ++i)
        d.b[i] = gain * ((highPass && i % 2 == 1) ? -binomial[i] : binomial[i]);
    return d;
}

void storeRow(const double (&src)[kBandFilterTaps], BandFilterRow& dst)
{
    for (int i = 0; i < kBandFilterTaps; ++i)
        dst[i] = static_cast<float>(src[i]);
}

BandFilterTables buildTables()
{
    BandFilterTables t{};
    for (int k = 0; k < kBandFilterRows; ++k) {
        const double edge = (k + 1) * 0.02;
        const Design low = chebyshevDesign(edge, false);
        const Design high = chebyshevDesign(edge, true);
        storeRow(low.a, t.lowA[k]);
        storeRow(low.b, t.lowB[k]);
        storeRow(high.a, t.highA[k]);
        storeRow(high.b, t.highB[k]);
    }
    return t;
}
}  // namespace

const BandFilterTables& bandFilterTables()
{
    static const BandFilterTables tables = buildTables();
    return tables;
}

}  // namespace Halvoren
