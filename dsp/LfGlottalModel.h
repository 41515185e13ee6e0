#pragma once
// Liljencrants-Fant glottal pulse shape driven by the single parameter Rd
// through Fant's Rd regression (held at 2.7; beyond, a relaxation amount).
namespace Halvoren {

struct LfGlottalModel {
    float Rd = 0.0f;
    float relax = 0.0f;
    float T0 = 0.0f;
    float te = 0.0f;  // excitation instant, relative to T0
    float tp = 0.0f;  // instant of maximum flow, relative to T0
    float ta = 0.0f;  // return-phase time constant, relative to T0
    float Ee = 0.0f;

    void setRd(float rd, float period, float excitation);
};

}  // namespace Halvoren
