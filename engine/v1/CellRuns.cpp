#include <cmath>

#include "dsp/TruncToInt.h"
#include "engine/v1/CellPlan.h"

namespace HalvorenEngineV1 {

using HalvorenEngine::countOf;

void makeCellRun(float a, float span, int m, bool noise, CellSink& sink)
{
    if (m <= 0)
        return;
    const float step = span / float(m);
    float t = a;
    for (int i = 0; i < m; ++i) {
        sink.add(t, noise);
        t = t + step;
    }
}

void makeLoopedRun(Generation g, const SourceMarks& marks, int a, int span, int cLoop, float limit, CellSink& sink,
                   DrawFn draw)
{
    // A quotient that is not a number counts as above the limit.
    const double perFrame = double(cLoop) / double(span);
    const float s = 1.0f / limit;
    const int q = g == Generation::First ? countOf(float(marks.param9) * limit) : countOf(2.0f * limit);
    // A leg of no cell cannot walk: the region is played once, evenly.
    if ((!std::isnan(perFrame) && double(limit) >= perFrame) || q <= 0 || !std::isfinite(s)) {
        makeCellRun(float(a), float(span), cLoop, true, sink);
        return;
    }
    // In 64 bits: the marks are bank data, so p and e may lie anywhere.
    const std::int64_t p = countOf(float(std::int64_t(marks.param8) - a) / s);
    const std::int64_t e = countOf(float(cLoop) - limit * float(span)) + std::int64_t(q) + p;
    const float af = float(a);
    const float walkStart = af + float(p) * s;
    const float walkEnd = af + float(p + q) * s;
    const bool second = g == Generation::Second;
    float t = af;
    float step = s;
    bool noise = second;
    for (int i = 0; i < cLoop; ++i) {
        if (i == e) {
            t = walkEnd;
            noise = second;
        }
        sink.add(t, noise);
        if (i < p || i >= e) {
            t = t + s;
            noise = second;
            continue;
        }
        const std::int64_t j = i - p;
        if (second) {
            if (j % q == 0) {
                // The first leg goes forward without a draw.
                if (j == 0 || draw() % 2 == 0) {
                    t = walkStart + s;
                    step = s;
                } else {
                    t = walkEnd - s;
                    step = -s;
                }
            } else {
                t = t + step;
            }
            continue;
        }
        noise = true;
        if (j % q != q - 1)
            t = (j / q) % 2 == 0 ? t + s : t - s;
    }
}

}  // namespace HalvorenEngineV1
