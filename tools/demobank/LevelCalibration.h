#pragma once
// What the frame synthesis does to a stored level. The analysis reads a
// full-scale sine as -6.02 dB (windows summing to 1); a record holds that
// reading plus one constant for the harmonics and one for the noise, so a
// frame sung at its own pitch with Amplitude 0.5 comes back at the level of
// the recording it was analysed from.
#include "dsp/Windows.h"

namespace demobank {

struct LevelCalibration {
    float harmonicDb = 0.0f;
    float noiseDb = 0.0f;
};

// Renders a steady sine and a steady flat noise envelope through the third
// generation's frame synthesis (bank header defaults, hop 128, Amplitude 0.5)
// and compares what comes out with the stored levels. Rounded to 0.01 dB.
LevelCalibration measureLevelCalibration();

// The 512-point Blackman-Harris window summing to 1 that reads the residual.
Halvoren::AnalysisWindow residualWindow();

}  // namespace demobank
