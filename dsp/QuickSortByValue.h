#pragma once
// Ranks values from the largest down, carrying an index array along: a
// quicksort with the first element of each range as the pivot and a moving
// hole. Equal values do not keep their order. A NaN compares as neither
// greater nor less than the pivot and ends up wherever the partition leaves
// it; the sort still ends.
#include <cstdint>

namespace Halvoren {

// Sorts values[lo..hi] (inclusive) into descending order in place and moves
// indices[i] with values[i]. Nothing happens when lo >= hi. Both arrays must
// hold at least hi + 1 elements.
void quickSortByValue(float* values, std::int32_t* indices, int lo, int hi);

}  // namespace Halvoren
