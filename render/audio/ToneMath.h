#pragma once
// The fast approximations the preview tone is drawn with.

// 2 to the power p from a rational fit on the fraction, written into the
// float's bit pattern. p below -126 (or NaN) counts as -126, above 128 as 128.
float fastPow2(float p);

// Sine for any x: folded into one period, then a parabola with a quadratic
// correction.
float toneSine(float x);
