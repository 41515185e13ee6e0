#include "platform/Rand.h"

#include <cstdint>
#include <cstring>

namespace {
thread_local uint32_t t_state = 1;

int step(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}
}  // namespace

int hvRand() { return step(t_state); }

void hvRandFill(int* out, int count) {
    // Four draws at a time: the states four steps on are the same affine
    // map of the states now, state * a^4 + c * (a^3 + a^2 + a + 1), in the
    // same 32-bit arithmetic.
    typedef uint32_t Lanes __attribute__((vector_size(16)));
    constexpr uint32_t a = 214013u, c = 2531011u;
    constexpr uint32_t a2 = a * a, a3 = a2 * a, a4 = a3 * a;
    constexpr uint32_t c2 = a * c + c, c3 = a * c2 + c, c4 = a * c3 + c;
    uint32_t state = t_state;
    int i = 0;
    if (count >= 4) {
        Lanes states{state * a + c, state * a2 + c2, state * a3 + c3, state * a4 + c4};
        for (; i + 4 <= count; i += 4) {
            const Lanes values = (states >> 16) & 0x7FFFu;
            std::memcpy(out + i, &values, sizeof values);
            state = states[3];
            states = states * a4 + c4;
        }
    }
    for (; i < count; ++i)
        out[i] = step(state);
    t_state = state;
}

void hvSrand(unsigned seed) { t_state = seed; }

int HvRandGen::next() { return step(state_); }
