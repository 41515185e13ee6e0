#pragma once
// The eleven bank-wide values at the head of a package index, in file order,
// named after the store slots that hand them to the engines. Values are kept
// as stored; the stores refuse banks whose values the engines cannot use.
// Values an index does not hold whole stay 0.
#include <cstdint>

namespace Halvoren {

struct IndexHeader {
    std::int32_t hopSize = 0;       // samples per frame
    float sampleRate = 0.0f;        // Hz
    float param3 = 0.0f;
    float param4 = 0.0f;
    float param5 = 0.0f;
    float maxHarmonicFreq = 0.0f;   // Hz, highest frequency of the harmonic phase generator
    std::int32_t phaseSetting = 0;  // integer setting of the harmonic phase generator
    std::int32_t param8 = 0;
    float powerAmount = 0.0f;       // dB of the Power bump at Power = 1
    float powerCentre = 0.0f;       // Hz
    float powerWidth = 0.0f;        // Hz, twice the bump's standard deviation
};

}  // namespace Halvoren
