#pragma once
// The spectral tilt rows of the sixth generation: row r holds the level in
// dB of the spectrum of one LF pulse period of shape Rd = (r + 1) * 0.01,
// read at the 400 frequencies of fillFrequencyGrid(400, 44100).
#include <vector>

#include "dsp/FIFOSampleBuffer.h"

namespace Halvoren {

inline constexpr int kCurveRowLength = 400;
inline constexpr int kCurveRowCount = 270;
inline constexpr float kCurveGridSpan = 44100.0f;
// The period the rows are computed for: 200 Hz, so that harmonic h of the
// reference pitch falls on 200*h Hz.
inline constexpr float kCurveReferencePeriod = 1.0f / 200.0f;

// The 270 built-in rows one after another, generated on first use: the
// spectrum of the flow derivative for Ee = 1 at the reference period, each
// row's maximum at 0 dB, nothing below -120 dB.
const std::vector<float>& builtInCurveRows();

// Makes the table that loadCurveRow400 reads `rows` (rows of 400 floats one
// after another; a partial last row is ignored) until called with nullptr,
// which restores the built-in rows. The table must outlive its use. For
// tests that need rows of their own.
void setCurveRows(const std::vector<float>* rows);

// The 400 values of row `row` where they lie in the table in use, the row
// number clamped to its rows; null for an empty table. Valid while that
// table is.
const float* curveRow400(int row);

// Makes out exactly 400 values long (trimming a longer one, extending a
// shorter one) and copies row `row` into it; the row number is clamped to
// the table's rows (0..269 for the built-in table). An empty table gives
// 400 zeros.
void loadCurveRow400(FastVector<float>& out, int row);

}  // namespace Halvoren
