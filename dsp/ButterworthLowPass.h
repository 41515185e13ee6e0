#pragma once
// Butterworth low-pass design in double precision: an analog prototype,
// mapped by the bilinear transform with tangent pre-warping into a cascade of
// second-order sections normalised to unit gain at DC.
#include <array>
#include <complex>
#include <limits>

namespace Halvoren {

using ComplexD = std::complex<double>;

// A zero at infinity.
inline ComplexD infinityPoint() { return {std::numeric_limits<double>::infinity(), 0.0}; }

struct PoleZeroPair {
    ComplexD pole1, pole2;
    ComplexD zero1, zero2;
    bool isSinglePole() const { return pole2 == ComplexD() && zero2 == ComplexD(); }
};

struct PoleZeroLayout {
    static constexpr int kMaxPoles = 16;

    int numPoles = 0;
    int maxPoles = kMaxPoles;
    std::array<PoleZeroPair, kMaxPoles / 2> pairs{};
    double normalW = 0.0;
    double normalGain = 1.0;

    void reset() { numPoles = 0; }
    // A single real pole and zero; throws std::length_error when full.
    void add(ComplexD pole, ComplexD zero);
    // A pole and a zero together with their conjugates.
    void addConjugatePairs(ComplexD pole, ComplexD zero);
};

struct AnalogLowPassPrototype {
    PoleZeroLayout layout;
    int designedOrder = -1;

    // Poles of the normalised Butterworth low-pass of the given order
    // (1..16, else std::invalid_argument); the same order twice keeps the poles.
    void design(int order);
};

// Bilinear low-pass transform of `analog` at the normalised cutoff fc
// (cutoff / sample rate) into `digital`.
void lowPassTransform(double fc, PoleZeroLayout& digital, const PoleZeroLayout& analog);

// One second-order section. Stored coefficients are divided by a0; the
// readers return them scaled back.
class BiquadStage {
public:
    void set(double a0, double a1, double a2, double b0, double b1, double b2);
    void scaleNumerator(double s);
    double getA0() const { return a0_; }
    double getA1() const { return a1_ * a0_; }
    double getA2() const { return a2_ * a0_; }
    double getB0() const { return b0_ * a0_; }
    double getB1() const { return b1_ * a0_; }
    double getB2() const { return b2_ * a0_; }
    // One value through the section in direct form II, state (w1, w2).
    double step(double x, double& w1, double& w2) const
    {
        const double w = x - a1_ * w1 - a2_ * w2;
        const double y = b0_ * w + b1_ * w1 + b2_ * w2;
        w2 = w1;
        w1 = w;
        return y;
    }

private:
    double a0_ = 1, a1_ = 0, a2_ = 0, b1_ = 0, b2_ = 0, b0_ = 1;
};

class BiquadCascade {
public:
    static constexpr int kMaxStages = 8;

    // One stage per pole pair, then the first stage's numerator is scaled so
    // that the gain at the layout's normal frequency is its normal gain.
    void setLayout(const PoleZeroLayout& layout);
    // Response at the normalised frequency f (cycles per sample).
    ComplexD response(double f) const;

    // One value through every section in turn; each section keeps its state
    // between calls until reset().
    float process(float x);
    void reset() { state_ = {}; }

    int numStages() const { return numStages_; }
    const BiquadStage& stage(int i) const { return stages_[i]; }

private:
    int numStages_ = 0;
    std::array<BiquadStage, kMaxStages> stages_{};
    std::array<std::array<double, 2>, kMaxStages> state_{};
};

struct ButterworthLowPass {
    BiquadCascade cascade;
    PoleZeroLayout digital;
    AnalogLowPassPrototype prototype;

    // Designs the low-pass of the given order at cutoff / sampleRate = fc.
    void setup(int order, double fc);
};

}  // namespace Halvoren
