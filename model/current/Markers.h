#pragma once
// Tempo and beat (time signature) markers and their sorted pointer lists.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace HVCurrentModel {

// Ticks of a whole note; a quarter note is a fourth of it. A measure of
// signature n/d lasts n * kWholeNoteTicks / d ticks.
inline constexpr int32_t kWholeNoteTicks = 1920;

struct Tempo {
    int32_t pos = 0;        // ticks
    int32_t tempo = 12000;  // beats per minute times 100
    bool selected = false;  // view flag, not saved
};

struct Beat {
    int32_t pos = -3;  // measure index at which the signature takes effect
    int32_t numerator = 4;
    int32_t denominator = 4;
    bool selected = false;  // view flag, not saved
};

// Tempo markers other than the fixed one at tick 0 stand at tick 1 or later:
// a position below 0 becomes 1 (0 itself names the fixed marker's place).
inline int32_t tempoPosInRange(int32_t pos)
{
    return pos < 0 ? 1 : pos;
}

// Inserts after every marker of equal or lower position; a marker already in
// the list is left where it is.
template <class M>
void insertMarkerSorted(std::vector<M*>& markers, M* marker)
{
    if (std::find(markers.begin(), markers.end(), marker) != markers.end()) return;
    auto where = std::find_if(markers.begin(), markers.end(),
                              [marker](const M* m) { return m->pos > marker->pos; });
    markers.insert(where, marker);
}

// Puts markers appended in any order where inserting each in turn would
// (after every marker of equal or lower position), in n log n steps instead
// of the n squared of inserting them one by one. The sort runs over pairs of
// position and list index, so equal positions keep their order and no
// marker is read while sorting.
template <class M>
void sortMarkersAsInserted(std::vector<M*>& markers)
{
    std::vector<std::pair<int32_t, size_t>> keys(markers.size());
    for (size_t i = 0; i < markers.size(); ++i) keys[i] = {markers[i]->pos, i};
    std::sort(keys.begin(), keys.end());
    std::vector<M*> sorted(markers.size());
    for (size_t i = 0; i < keys.size(); ++i) sorted[i] = markers[keys[i].second];
    markers.swap(sorted);
}

// The first marker at pos, or null.
template <class M>
M* findMarkerAt(const std::vector<M*>& markers, int32_t pos)
{
    auto it = std::find_if(markers.begin(), markers.end(), [pos](const M* m) { return m->pos == pos; });
    return it == markers.end() ? nullptr : *it;
}

// Takes the marker out of the list without deleting it.
template <class M>
void eraseMarker(std::vector<M*>& markers, M* marker)
{
    markers.erase(std::remove(markers.begin(), markers.end(), marker), markers.end());
}

}  // namespace HVCurrentModel
