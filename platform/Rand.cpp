#include "platform/Rand.h"

#include <cstdint>

namespace {
thread_local uint32_t t_state = 1;

int step(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}
}  // namespace

int hvRand() { return step(t_state); }

void hvRandFill(int* out, int count) {
    uint32_t state = t_state;
    for (int i = 0; i < count; ++i)
        out[i] = step(state);
    t_state = state;
}

void hvSrand(unsigned seed) { t_state = seed; }

int HvRandGen::next() { return step(state_); }
