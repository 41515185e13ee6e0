#include "dsp/ButterworthLowPass.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace Halvoren {

namespace {
bool isInfinity(ComplexD c) { return c.real() == std::numeric_limits<double>::infinity() && c.imag() == 0.0; }

ComplexD bilinear(ComplexD c, double f)
{
    if (isInfinity(c))
        return {-1.0, 0.0};
    return (1.0 + f * c) / (1.0 - f * c);
}

// Coefficients (1, c1, c2) of the quadratic with the two given roots.
void quadraticFromRoots(ComplexD r1, ComplexD r2, double& c1, double& c2)
{
    if (r1.imag() != 0.0) {
        c1 = -2.0 * r1.real();
        c2 = std::norm(r1);
    } else {
        c1 = -(r1.real() + r2.real());
        c2 = r1.real() * r2.real();
    }
}
}  // namespace

void PoleZeroLayout::add(ComplexD pole, ComplexD zero)
{
    if (numPoles + 1 > maxPoles)
        throw std::length_error("too many poles");
    pairs[numPoles / 2] = PoleZeroPair{pole, ComplexD(), zero, ComplexD()};
    numPoles += 1;
}

void PoleZeroLayout::addConjugatePairs(ComplexD pole, ComplexD zero)
{
    if (numPoles + 2 > maxPoles)
        throw std::length_error("too many poles");
    pairs[numPoles / 2] = PoleZeroPair{pole, std::conj(pole), zero, std::conj(zero)};
    numPoles += 2;
}

void AnalogLowPassPrototype::design(int order)
{
    if (order < 1 || order > PoleZeroLayout::kMaxPoles)
        throw std::invalid_argument("Butterworth order must be 1..16");
    if (order == designedOrder)
        return;
    designedOrder = order;
    layout.reset();
    layout.normalW = 0.0;
    layout.normalGain = 1.0;
    const double pi = std::numbers::pi;
    for (int i = 0; i < order / 2; ++i) {
        const double theta = pi / 2 + (2 * i + 1) * pi / (2 * order);
        layout.addConjugatePairs(ComplexD(std::cos(theta), std::sin(theta)), infinityPoint());
    }
    if (order % 2 == 1)
        layout.add(ComplexD(-1.0, 0.0), infinityPoint());
}

void lowPassTransform(double fc, PoleZeroLayout& digital, const PoleZeroLayout& analog)
{
    const double f = std::tan(std::numbers::pi * fc);
    digital.reset();
    const int n = analog.numPoles;
    for (int i = 0; i < n / 2; ++i) {
        const PoleZeroPair& p = analog.pairs[i];
        digital.addConjugatePairs(bilinear(p.pole1, f), bilinear(p.zero1, f));
    }
    if (n % 2 == 1) {
        const PoleZeroPair& p = analog.pairs[n / 2];
        digital.add(bilinear(p.pole1, f), bilinear(p.zero1, f));
    }
    digital.normalW = analog.normalW;
    digital.normalGain = analog.normalGain;
}

void BiquadStage::set(double a0, double a1, double a2, double b0, double b1, double b2)
{
    a0_ = a0;
    a1_ = a1 / a0;
    a2_ = a2 / a0;
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
}

void BiquadStage::scaleNumerator(double s)
{
    b0_ *= s;
    b1_ *= s;
    b2_ *= s;
}

float BiquadCascade::process(float x)
{
    double y = x;
    for (int i = 0; i < numStages_; ++i)
        y = stages_[i].step(y, state_[i][0], state_[i][1]);
    return static_cast<float>(y);
}

void BiquadCascade::setLayout(const PoleZeroLayout& layout)
{
    numStages_ = (layout.numPoles + 1) / 2;
    state_ = {};
    for (int i = 0; i < numStages_; ++i) {
        const PoleZeroPair& p = layout.pairs[i];
        if (p.isSinglePole()) {
            stages_[i].set(1.0, -p.pole1.real(), 0.0, -p.zero1.real(), 1.0, 0.0);
        } else {
            double a1, a2, b1, b2;
            quadraticFromRoots(p.pole1, p.pole2, a1, a2);
            quadraticFromRoots(p.zero1, p.zero2, b1, b2);
            stages_[i].set(1.0, a1, a2, 1.0, b1, b2);
        }
    }
    if (numStages_ > 0) {
        const double gain = std::abs(response(layout.normalW / (2 * std::numbers::pi)));
        if (gain > 0.0 && std::isfinite(gain))
            stages_[0].scaleNumerator(layout.normalGain / gain);
    }
}

ComplexD BiquadCascade::response(double f) const
{
    const double w = 2 * std::numbers::pi * f;
    const ComplexD z1 = std::polar(1.0, -w);
    const ComplexD z2 = std::polar(1.0, -2 * w);
    ComplexD num(1.0, 0.0), den(1.0, 0.0);
    for (int i = 0; i < numStages_; ++i) {
        const BiquadStage& s = stages_[i];
        num *= (s.getB0() + s.getB1() * z1 + s.getB2() * z2) / s.getA0();
        den *= 1.0 + (s.getA1() / s.getA0()) * z1 + (s.getA2() / s.getA0()) * z2;
    }
    return num / den;
}

void ButterworthLowPass::setup(int order, double fc)
{
    prototype.design(order);
    lowPassTransform(fc, digital, prototype.layout);
    cascade.setLayout(digital);
}

}  // namespace Halvoren
