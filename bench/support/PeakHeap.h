#pragma once
// The bytes held through operator new, now and at most since the last reset.
// A benchmark program that links PeakHeap.cpp counts every allocation of
// C++ code (its libraries' too) through the replaced global operators.
#include <cstddef>

namespace hvbench {

size_t heapInUse();
size_t heapPeak();
// The peak becomes the bytes in use now.
void resetHeapPeak();

// The most bytes the work held beyond what was held before it, per byte of
// its input.
template <class Work>
double peakBytesPerInputByte(size_t inputBytes, Work work)
{
    resetHeapPeak();
    const size_t before = heapInUse();
    work();
    return inputBytes == 0 ? 0.0 : double(heapPeak() - before) / double(inputBytes);
}

}  // namespace hvbench
