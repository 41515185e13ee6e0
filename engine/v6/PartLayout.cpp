#include "engine/v6/PartLayout.h"

#include <algorithm>
#include <cmath>

namespace HalvorenEngineV6 {

namespace {
std::int32_t truncFrames(double v, std::int32_t limit)
{
    if (!(v > 0.0))
        return 0;
    return v >= limit ? limit : static_cast<std::int32_t>(v);
}

// The element-time rule; false when the weights weigh nothing.
bool weighByElementTimes(const PartSpans& s, std::int32_t L, std::int32_t h, PartLayout& out)
{
    const double a = s.elemTimes[0], b = s.elemTimes[1], c = s.elemTimes[2];
    double x = 0.0, y = 0.0;
    if (h > 0) {
        const double sum = a + b + c;
        if (!(sum > 0.0) || !std::isfinite(sum))
            return false;
        x = a / sum;
        y = b / sum;
    } else {
        const double sum = b + c;
        if (!(sum > 0.0) || !std::isfinite(sum))
            return false;
        y = b / sum;
    }
    out.head = truncFrames(static_cast<double>(L) * x, L);
    out.body = truncFrames(static_cast<double>(L) * (x + y) - out.head, L - out.head);
    out.tail = L - out.head - out.body;
    return true;
}
}  // namespace

PartLayout layoutParts(const PartSpans& s)
{
    const std::int32_t L = std::max(s.length, 0);
    const std::int32_t srcLen = std::max(s.srcLen, 0);
    const std::int32_t m = std::max(s.body, 0);
    const std::int32_t h = std::max(s.head, 0);
    PartLayout out;
    if (s.elemFlag && weighByElementTimes(s, L, h, out))
        return out;
    if (std::int64_t(L) > std::int64_t(srcLen) + m + h) {
        out.head = h;
        out.tail = srcLen;
        out.body = L - srcLen - h;
        return out;
    }
    // The tail takes at most half of the cell.
    float q = srcLen > 0 ? (0.5f * static_cast<float>(L)) / static_cast<float>(srcLen) : 1.0f;
    q = std::min(q, 1.0f);
    out.tail = std::min(truncFrames(static_cast<float>(srcLen) * q, L), L);
    if (h > 0) {
        out.body = (L - out.tail) / 2;
        out.head = L - out.tail - out.body;
        if (out.head > h) {
            out.head = h;
            out.body = L - out.tail - h;
        }
    } else {
        out.head = 0;
        out.body = L - out.tail;
    }
    return out;
}

}  // namespace HalvorenEngineV6
