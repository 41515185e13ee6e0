#pragma once
// Phase slope per partial (fractions of a cycle) of the tabulated linear
// phase model, by voice-shape index 0..269: the relative excitation instant
// of the LF pulse at Rd = (index + 1) * 0.01. Built once, shared read-only.
#include <array>

namespace Halvoren {

inline constexpr int kPhaseSlopeCount = 270;

const std::array<double, kPhaseSlopeCount>& phaseSlopeTable();
// The table's entry, or 0.5 for an index outside 0..269.
double phaseSlopeAt(int index);

}  // namespace Halvoren
