#pragma once
// Elements of equal position stand in the order they were inserted in, and
// sorted insertion always puts an element after its equals. Undo must give
// back that order too: a record notes where its element stood among its
// equals before the change and moves it back there once it is inserted again.
#include <algorithm>
#include <cstdint>
#include <vector>

// The number of elements of the element's position standing before it.
template <class T>
int32_t rankAmongEqual(const std::vector<T*>& items, const T* element)
{
    int32_t rank = 0;
    for (const T* e : items) {
        if (e == element) return rank;
        if (e->pos == element->pos) ++rank;
    }
    return 0;
}

// Moves the element, already inserted after its equals, back to the given
// rank among them.
template <class T>
void moveToRank(std::vector<T*>& items, T* element, int32_t rank)
{
    auto at = std::find(items.begin(), items.end(), element);
    if (at == items.end()) return;
    auto first = at;
    while (first != items.begin() && (*(first - 1))->pos == element->pos) --first;
    auto target = first + std::min<std::ptrdiff_t>(rank, at - first);
    std::rotate(target, at, at + 1);
}
