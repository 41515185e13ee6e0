#pragma once
// Value of a score or envelope curve at x: the first point's y at and before
// its x, the last point's y at and after its x, linear in between; 0 for a
// curve without points. The curve's cursor moves to the interval used, so
// lookups with rising x only scan forward a little.
#include "dsp/LinearEnvelope.h"

namespace HalvorenEngine {

float curveValueAt(Halvoren::LinearEnvelope& curve, float x);

}  // namespace HalvorenEngine
