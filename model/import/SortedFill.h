#pragma once
// Filling an empty element container in one pass: the same order and
// overlap flags as inserting the elements one by one (each after every
// element of equal or lower position, both elements of every overlapping
// pair flagged), in n log n steps instead of n squared, so that a score's
// size cannot make its import take quadratic time.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/current/ElementContainer.h"

namespace HVCurrentModel {

template <class T>
void fillSorted(ElementContainer<T>& into, const std::vector<T*>& elements)
{
    std::vector<T*> sorted(elements.begin(), elements.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const T* a, const T* b) { return a->pos < b->pos; });
    const size_t n = sorted.size();
    // Two elements overlap when each starts before the other ends. For an
    // element x the candidates starting before x ends are a prefix of the
    // sorted list; x overlaps one of them exactly when the latest end in
    // that prefix, other than x's own, lies after x's start. The two
    // largest ends of every prefix are kept to leave x's own out.
    struct Top2 {
        int64_t first = std::numeric_limits<int64_t>::min();
        size_t firstAt = 0;
        int64_t second = std::numeric_limits<int64_t>::min();
    };
    std::vector<Top2> prefix(n + 1);
    for (size_t i = 0; i < n; ++i) {
        Top2 t = prefix[i];
        const int64_t end = spanEnd(*sorted[i]);
        if (end > t.first) {
            t.second = t.first;
            t.first = end;
            t.firstAt = i;
        } else if (end > t.second) {
            t.second = end;
        }
        prefix[i + 1] = t;
    }
    for (size_t i = 0; i < n; ++i) {
        T* x = sorted[i];
        const int64_t end = spanEnd(*x);
        // Elements starting before x's end: those of a position below it.
        const auto stop = std::lower_bound(sorted.begin(), sorted.end(), end,
                                           [](const T* e, int64_t v) { return e->pos < v; });
        const Top2& t = prefix[static_cast<size_t>(stop - sorted.begin())];
        const bool xLeads = t.firstAt == i && t.first != std::numeric_limits<int64_t>::min();
        x->overlapped = (xLeads ? t.second : t.first) > x->pos;
    }
    into.assign(sorted);
}

}  // namespace HVCurrentModel
