#include "dsp/QuickSortByValue.h"

namespace Halvoren {

namespace {

// Moves the pivot (values[lo]) to its place and returns that place: larger
// values end before it, smaller ones after it. Each scan steps past the
// element it has just filled the hole with, so every round shrinks i..j even
// when a value compares neither way (a NaN).
int partition(float* values, std::int32_t* indices, int lo, int hi)
{
    const float pivot = values[lo];
    const std::int32_t pivotIndex = indices[lo];
    int i = lo;
    int j = hi;
    while (i < j) {
        while (i < j && !(values[j] > pivot) && !(values[j] != values[j]))
            --j;
        if (i < j) {
            values[i] = values[j];
            indices[i] = indices[j];
            ++i;
        }
        while (i < j && !(values[i] < pivot) && !(values[i] != values[i]))
            ++i;
        if (i < j) {
            values[j] = values[i];
            indices[j] = indices[i];
            --j;
        }
    }
    values[i] = pivot;
    indices[i] = pivotIndex;
    return i;
}

}  // namespace

void quickSortByValue(float* values, std::int32_t* indices, int lo, int hi)
{
    while (lo < hi) {
        const int p = partition(values, indices, lo, hi);
        quickSortByValue(values, indices, lo, p - 1);
        lo = p + 1;
    }
}

}  // namespace Halvoren
