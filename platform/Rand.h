#pragma once
// The C runtime's pseudo-random generator as the synthesis code expects it:
// values 0..32767, one state per thread starting at 1. The C library's own
// rand() has another range and is never called by this project.
#include <cstdint>

constexpr int HV_RAND_MAX = 32767;

int hvRand();
// The next count values of hvRand, drawn in one go.
void hvRandFill(int* out, int count);
// Sets the calling thread's state (the first value after hvSrand(1) is 41).
void hvSrand(unsigned seed);

// The same generator with a state of its own, starting as a fresh thread's:
// for draws whose values must not depend on the thread that makes them.
class HvRandGen {
public:
    int next();

private:
    std::uint32_t state_ = 1;
};
