#pragma once
// Which elements of a list in order of position overlap another, found in one
// sweep whatever the number of overlapping pairs. Two elements overlap when
// their half-open spans [pos, pos + width) intersect; an element of width 0 or
// less (only damaged files hold negative ones) overlaps only an element that
// strictly covers it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace HVCurrentModel {

// For each element of v: whether it overlaps another element k of v for
// which partner(k) holds (an element is never its own partner).
template <class T, class Partner>
std::vector<bool> overlapsPartner(const std::vector<T*>& v, Partner partner)
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

    // Over the partners only: the largest end among the first k elements;
    // the index of the first one of positive width from k on; and, since the
    // last one of positive width up to k, the largest end of the others.
    constexpr int64_t kNone = std::numeric_limits<int64_t>::min();
    std::vector<int64_t> prefixMaxEnd(n + 1, kNone);
    std::vector<size_t> nextSpanning(n + 1, n);
    std::vector<int64_t> runMaxEnd(n + 1, kNone);  // shifted by one: runMaxEnd[k + 1] is k's
    for (size_t k = 0; k < n; ++k) {
        const bool counts = partner(k);
        prefixMaxEnd[k + 1] = counts ? std::max(prefixMaxEnd[k], endOf(k)) : prefixMaxEnd[k];
        runMaxEnd[k + 1] = !counts ? runMaxEnd[k] : spans(k) ? kNone : std::max(runMaxEnd[k], endOf(k));
    }
    for (size_t k = n; k-- > 0;) nextSpanning[k] = partner(k) && spans(k) ? k : nextSpanning[k + 1];

    std::vector<bool> hit(n);
    for (size_t i = 0; i < n; ++i) {
        const int64_t pos = starts[i];
        const int64_t end = endOf(i);
        if (!spans(i)) {
            // Only an earlier element that starts before end and reaches past pos.
            hit[i] = prefixMaxEnd[firstFrom(end)] > pos;
            continue;
        }
        // An earlier partner reaching past pos, or a later one starting
        // before end: one of positive width always reaches past pos; among
        // the others the largest end since the last one of positive width
        // decides (those before i end at or before pos).
        hit[i] = prefixMaxEnd[i] > pos;
        if (!hit[i] && i + 1 < n && starts[i + 1] < end) {
            const size_t later = firstFrom(end);
            hit[i] = nextSpanning[i + 1] < later || runMaxEnd[later] > pos;
        }
    }
    return hit;
}

// Flags exactly the elements of v that overlap another element of v.
template <class T>
void markOverlapsInOrder(const std::vector<T*>& v)
{
    const std::vector<bool> hit = overlapsPartner(v, [](size_t) { return true; });
    for (size_t k = 0; k < v.size(); ++k) v[k]->overlapped = hit[k];
}

}  // namespace HVCurrentModel
