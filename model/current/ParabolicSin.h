#pragma once
// Fast sine approximation shared by the vibrato wave table and the bend curve.

namespace HVCurrentModel {

// Approximately sin(theta); the arithmetic is fixed so that stored tables
// and rendered curves come out identical everywhere.
float parabolicSin(double theta);

}  // namespace HVCurrentModel
