#pragma once
// The order of a cell run: note k's cell is walked (appended, trimming the
// one before), and once k >= 2 the cell of note k - 2 is made, so every cell
// is made after the two notes that may still trim it; after the walk the
// cells left are made in order. The stop flag is read after every note and
// before each cell left; once it is set nothing more is walked or made.
#include <cstddef>

namespace HalvorenEngineV3 {

template <class Walk, class Make, class Stopped>
void makeTwoBehind(std::size_t notes, Walk walk, Make make, Stopped stopped)
{
    std::size_t made = 0;
    for (std::size_t k = 0; k < notes && !stopped(); ++k) {
        walk(k);
        if (k >= 2)
            make(made++);
    }
    while (made < notes && !stopped())
        make(made++);
}

}  // namespace HalvorenEngineV3
