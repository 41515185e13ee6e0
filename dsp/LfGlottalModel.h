#pragma once
// Liljencrants-Fant glottal pulse shape driven by the single parameter Rd
// through Fant's Rd regression (held at 2.7; beyond, a relaxation amount
// that softens the closure with a Bezier arc).
#include <vector>

namespace Halvoren {

// The model's instants in absolute time and the constants of its two phases.
struct LfPulseTimes {
    float T0 = 0.0f;
    float Te = 0.0f;
    float Tp = 0.0f;
    float Ta = 0.0f;
    float wg = 0.0f;
    float sinWgTe = 0.0f;
    float cosWgTe = 0.0f;
    float eps = 0.0f;    // return-phase decay
    float alpha = 0.0f;  // open-phase growth
    float E0 = 0.0f;     // open-phase amplitude
};

struct LfGlottalModel {
    static constexpr int kPulseSamples = 100;

    float Rd = 0.0f;
    float relax = 0.0f;
    float T0 = 0.0f;
    float te = 0.0f;  // excitation instant, relative to T0
    float tp = 0.0f;  // instant of maximum flow, relative to T0
    float ta = 0.0f;  // return-phase time constant, relative to T0
    float Ee = 0.0f;

    void setRd(float rd, float period, float excitation);
    // Absolute instants, eps from the return-phase condition and alpha from
    // zero net flow over the period, both by Brent's method.
    LfPulseTimes deriveTimes() const;
    // The flow derivative after the excitation instant (0 past T0).
    float returnPhaseAt(const LfPulseTimes& times, float t) const;
    // The flow derivative before the excitation instant.
    static float openPhaseAt(const LfPulseTimes& times, float t);
    // One period in exactly 100 samples, sample M = round(100*Te/T0) on the
    // excitation instant; a non-finite sample is written as 0.
    void buildPulse(std::vector<float>& out) const;

private:
    // Replaces the samples between tA = Te - relax*(Te - Tp)/2 and
    // tB = Te + relax*(T0 - Te)/2 by a quadratic Bezier arc tangent to the
    // pulse at both ends.
    void bendClosure(const LfPulseTimes& times, float step, int M, std::vector<float>& out) const;
};

}  // namespace Halvoren
