#pragma once
// The four coefficient tables of the tabulated band filters: 48 fourth-order
// Chebyshev type I designs (0.5 dB ripple) each for low-pass and high-pass,
// row k with its passband edge at (k + 1) * 0.02 of the Nyquist frequency.
#include <array>

namespace Halvoren {

inline constexpr int kBandFilterRows = 48;
inline constexpr int kBandFilterTaps = 5;

using BandFilterRow = std::array<float, kBandFilterTaps>;
using BandFilterTable = std::array<BandFilterRow, kBandFilterRows>;

struct BandFilterTables {
    BandFilterTable lowA;
    BandFilterTable lowB;
    BandFilterTable highA;
    BandFilterTable highB;
};

// Built on first use and shared read-only.
const BandFilterTables& bandFilterTables();

}  // namespace Halvoren
