#pragma once
// A piecewise-linear curve: points (x, y) in rising x, kept as two parallel
// arrays so that the shared cursor lookup can read them, and the index at
// which the last lookup ended.
#include <cstddef>
#include <vector>

#include "dsp/FIFOSampleBuffer.h"
#include "dsp/GammatoneVector.h"

namespace Halvoren {

struct LinearEnvelope {
    int cursor = 0;
    std::vector<float> xs;
    std::vector<float> ys;

    std::size_t size() const { return xs.size(); }

    void clear()
    {
        cursor = 0;
        xs.clear();
        ys.clear();
    }

    // Appends a point; callers append in rising x.
    void addPoint(float x, float y)
    {
        xs.push_back(x);
        ys.push_back(y);
    }

    // The points become (x[i], y[i]), cursor 0. Only indexes both hold are
    // used, so a y shorter than x gives fewer points.
    void setPoints(const GammatoneVector& x, const FastVector<float>& y);
    void setPointsFromBands(const GammatoneVector& x, const GammatoneVector& y);
    // ys[i] = y[i] below the shorter length; the xs stay.
    void setValues(const GammatoneVector& y);

    // The first point's y at and before its x, the last point's y at and
    // after its x, linear in between; 0 without points. The cursor moves to
    // the interval used, so lookups with rising x only scan forward a little.
    float valueAt(float x);
};

}  // namespace Halvoren
