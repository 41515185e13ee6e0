#include "platform/Rand.h"

#include <cstdint>

namespace {
thread_local uint32_t t_state = 1;
}

int hvRand() {
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFF);
}

void hvRandFill(int* out, int count) {
    uint32_t state = t_state;
    for (int i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        out[i] = static_cast<int>((state >> 16) & 0x7FFF);
    }
    t_state = state;
}

void hvSrand(unsigned seed) { t_state = seed; }
