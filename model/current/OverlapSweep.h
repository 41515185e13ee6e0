#pragma once
// Overlap flags of a list of elements in order of position, set in one sweep
// whatever the number of overlapping pairs: each element is flagged exactly
// when its half-open span [pos, pos + width) intersects another element's.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace HVCurrentModel {

template <class T>
void markOverlapsInOrder(std::vector<T*>& v)
{
    const size_t n = v.size();
    // The positions, read once into one array: the searches below then stay
    // within it instead of reaching into elements all over memory.
    std::vector<int32_t> starts(n);
    for (size_t k = 0; k < n; ++k) starts[k] = v[k]->pos;
    auto endOf = [&](size_t k) { return int64_t{starts[k]} + v[k]->width; };
    auto spans = [&](size_t k) { return v[k]->width > 0; };
    // First index whose element starts at or after x.
    auto firstFrom = [&](int64_t x) {
        return static_cast<size_t>(
            std::lower_bound(starts.begin(), starts.end(), x, [](int32_t p, int64_t at) { return p < at; }) -
            starts.begin());
    };

    // Largest end among the first k elements.
    constexpr int64_t kNone = std::numeric_limits<int64_t>::min();
    std::vector<int64_t> prefixMaxEnd(n + 1, kNone);
    for (size_t k = 0; k < n; ++k) prefixMaxEnd[k + 1] = std::max(prefixMaxEnd[k], endOf(k));
    // Elements of width 0 or less (only damaged files hold negative ones)
    // overlap only an element that strictly covers them. Within each run of
    // them: the largest end from the run's start up to k, and the index of the
    // next element of positive width.
    std::vector<int64_t> runMaxEnd(n, kNone);
    std::vector<size_t> nextSpanning(n + 1, n);
    for (size_t k = 0; k < n; ++k)
        if (!spans(k)) runMaxEnd[k] = std::max(endOf(k), k > 0 && !spans(k - 1) ? runMaxEnd[k - 1] : kNone);
    for (size_t k = n; k-- > 0;) nextSpanning[k] = spans(k) ? k : nextSpanning[k + 1];

    for (size_t i = 0; i < n; ++i) {
        const int64_t pos = starts[i];
        const int64_t end = endOf(i);
        bool hit;
        if (spans(i)) {
            // An earlier element reaching past pos, or a later one starting
            // before end: one of positive width always reaches past pos; the
            // others right after i form one run, looked for only when the
            // next element starts before end.
            hit = prefixMaxEnd[i] > pos;
            if (!hit && i + 1 < n && starts[i + 1] < end) {
                const size_t later = firstFrom(end);
                hit = nextSpanning[i + 1] < later || runMaxEnd[later - 1] > pos;
            }
        } else {
            // Only an earlier element that starts before end and reaches past pos.
            hit = prefixMaxEnd[firstFrom(end)] > pos;
        }
        v[i]->overlapped = hit;
    }
}

}  // namespace HVCurrentModel
