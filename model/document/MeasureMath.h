#pragma once
// Conversions between ticks and measures over the beat-marker list (markers
// in list order, positions in measures, the first one at measure -3). Each
// keeps its own rounding order of 32-bit truncating divisions; intermediate
// products are taken in 64 bits so that far positions cannot overflow, and
// markers with an unusable signature count as 4/4.
#include <vector>

namespace HVCurrentModel {
struct Beat;
}

using BeatList = std::vector<HVCurrentModel::Beat*>;

struct TimeSignature {
    int numerator = 4;
    int denominator = 4;
};

// Tick at which measure 1 begins; 0 without markers.
int bar1TickOf(const BeatList& beats);
// Tick at which measure n begins; 0 without markers.
int measureToTickOf(const BeatList& beats, int n);
// Tick of a 1-based beat of a measure; 0 without markers.
int measureBeatToTickOf(const BeatList& beats, int measure, int beat);
// Measure, 1-based beat and remainder of a tick at or after 0. Returns 0, or
// -1 when there is no marker or the tick lies before the time line.
int tickToMeasureBeatOf(const BeatList& beats, int tick, int* measure, int* beat, int* remainder);
// The measure that holds the tick; false (measure untouched) without markers.
bool tickToMeasureOf(const BeatList& beats, int tick, int& measure);
// The stored signature of the marker that holds the measure: 0, -1 without
// markers, -2 when no marker holds it.
int beatAtMeasureOf(const BeatList& beats, int measure, int* numerator, int* denominator);
// The stored signature in force at a tick; false (out untouched) without markers.
bool signatureAtTickOf(const BeatList& beats, int tick, TimeSignature& out);
