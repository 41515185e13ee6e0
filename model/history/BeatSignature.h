#pragma once
// The time signature that measure arithmetic uses for a beat marker. Markers
// are kept as stored (files round-trip), but a numerator below 1 or a
// denominator outside 1 .. the ticks of a whole note would divide by zero or
// give measures of no length, so such a marker counts as 4/4 in every
// computation.
#include "model/current/Markers.h"

struct BeatSignature {
    int numerator = 4;
    int denominator = 4;
};

inline BeatSignature effectiveSignature(int numerator, int denominator) {
    if (numerator < 1 || denominator < 1 || denominator > HVCurrentModel::kWholeNoteTicks) return {};
    return {numerator, denominator};
}
