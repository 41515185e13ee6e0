#pragma once
// Where a project body stopped reading as it was written. The readers go on
// past damage with defaults, as they must, so a damaged body would open as a
// smaller project without a word; the stop is what tells it from a whole
// one: the first read whose bytes were not there, the first list that held
// fewer records than its count, a block with bytes left unread, or a value
// no writer stores. A body may also read whole and still hold what the model
// cannot keep (the segments of an older generation's instrumental track):
// that is named too, since saving over the file would drop it.
#include <cstdint>
#include <string>
#include <utility>

struct ReadStop {
    bool stopped = false;
    std::uint64_t offset = 0;  // from the start of the body (of the file, once loaded)
    std::string what;          // what was being read, and how it fell short
    std::string leftOut;       // the first part read whole but not kept, "" when none

    // Records the stop unless one is recorded already: the first is where
    // the damage begins, what follows it is read out of step.
    void at(std::uint64_t where, std::string text)
    {
        if (stopped) return;
        stopped = true;
        offset = where;
        what = std::move(text);
    }

    // Records what was read but cannot be kept, unless something is already.
    void leave(std::string text)
    {
        if (leftOut.empty()) leftOut = std::move(text);
    }

    // "byte 24 (tempo list block cut short)".
    std::string describe() const { return "byte " + std::to_string(offset) + " (" + what + ")"; }
};
