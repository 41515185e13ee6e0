#pragma once
// Bytes requested from operator new by this test program, counted by the
// replacement operators in AllocationCount.cpp.
#include <cstddef>

namespace hvtest {

std::size_t bytesAllocated();

}  // namespace hvtest
