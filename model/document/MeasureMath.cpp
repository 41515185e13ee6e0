#include "model/document/MeasureMath.h"

#include <climits>
#include <cstdint>

#include "model/current/Markers.h"
#include "model/history/BeatSignature.h"

using HVCurrentModel::Beat;
using HVCurrentModel::kWholeNoteTicks;

namespace {

constexpr int64_t kLastMarkerEnd = INT_MAX;

struct Span {
    int64_t p;        // first measure of the marker
    int64_t q;        // first measure of the next marker, or INT_MAX for the last
    bool last;
    int64_t n;        // effective numerator
    int64_t d;        // effective denominator
};

Span spanAt(const BeatList& beats, size_t i) {
    const Beat* b = beats[i];
    const BeatSignature sig = effectiveSignature(b->numerator, b->denominator);
    const bool last = i + 1 == beats.size();
    return {b->pos, last ? kLastMarkerEnd : int64_t{beats[i + 1]->pos}, last, sig.numerator, sig.denominator};
}

int toInt(int64_t v) { return static_cast<int>(v); }

}  // namespace

int bar1TickOf(const BeatList& beats) {
    int64_t acc = 0;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        if (s.q < 1)
            acc += ((s.q - s.p) * s.n * kWholeNoteTicks) / s.d;
        else if (s.p < 2)
            return toInt(acc + ((1 - s.p) * s.n * kWholeNoteTicks) / s.d);
    }
    return toInt(acc);
}

int measureToTickOf(const BeatList& beats, int n) {
    const int64_t target = int64_t{n} + 3;
    int64_t c = 0;
    int64_t acc = 0;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        const int64_t m = s.last ? target - c : s.q - s.p;
        if (c + m >= target) return toInt(acc + (((target - c) * kWholeNoteTicks) / s.d) * s.n);
        c += m;
        acc += ((m * kWholeNoteTicks) / s.d) * s.n;
    }
    return toInt(acc);
}

int measureBeatToTickOf(const BeatList& beats, int measure, int beat) {
    int64_t acc = 0;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        // A marker's own measures, from its first one, take its beat length.
        if (!s.last && measure >= s.q)
            acc += ((s.q - s.p) * s.n * kWholeNoteTicks) / s.d;
        else if (measure >= s.p)
            return toInt(acc + ((measure - s.p) * s.n * kWholeNoteTicks) / s.d + (int64_t{beat} * kWholeNoteTicks - kWholeNoteTicks) / s.d);
    }
    return toInt(acc);
}

int tickToMeasureBeatOf(const BeatList& beats, int tick, int* measure, int* beat, int* remainder) {
    int64_t acc = 0;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        const int64_t T = (s.n * kWholeNoteTicks) / s.d;
        if (!s.last && tick > acc + (s.q - s.p) * T) {
            acc += (s.q - s.p) * T;
            continue;
        }
        // Measures of this marker are T ticks long from acc on: the tick lies
        // in measure p + (tick - acc) / T unless that reaches the next marker.
        if (tick < acc) return -1;
        const int64_t k = (tick - acc) / T;
        if (s.p + k >= s.q) {
            acc += (s.q - s.p) * T;
            continue;
        }
        const int64_t start = acc + k * T;
        const int64_t beatLen = kWholeNoteTicks / s.d;
        if (measure) *measure = toInt(s.p + k);
        if (beat) *beat = toInt((tick - start) / beatLen + 1);
        if (remainder) *remainder = toInt((tick - start) % beatLen);
        return 0;
    }
    return -1;
}

bool tickToMeasureOf(const BeatList& beats, int tick, int& measure) {
    int64_t acc = 0;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        const int64_t T = (kWholeNoteTicks / s.d) * s.n;
        if (s.last || acc + (s.q - s.p) * T >= tick) {
            measure = toInt((tick - acc) / T + s.p);
            return true;
        }
        acc += (s.q - s.p) * T;
    }
    return false;
}

int beatAtMeasureOf(const BeatList& beats, int measure, int* numerator, int* denominator) {
    if (beats.empty()) return -1;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        if (s.p <= measure && measure < s.q) {
            if (numerator) *numerator = beats[i]->numerator;
            if (denominator) *denominator = beats[i]->denominator;
            return 0;
        }
    }
    return -2;
}

bool signatureAtTickOf(const BeatList& beats, int tick, TimeSignature& out) {
    int64_t acc = 0;
    for (size_t i = 0; i < beats.size(); ++i) {
        const Span s = spanAt(beats, i);
        // The last marker holds every later tick; its span is never computed,
        // so the INT_MAX end cannot overflow with a negative position.
        if (!s.last) acc += (s.q - s.p) * ((s.n * kWholeNoteTicks) / s.d);
        if (s.last || tick < acc) {
            out = {beats[i]->numerator, beats[i]->denominator};
            return true;
        }
    }
    return false;
}
