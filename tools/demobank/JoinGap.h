#pragma once
// Where two back-to-back notes join, how long the sound drops out: the
// longest stretch over which it stays well under both notes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace demobank {

// A join drops out when the sound stays kJoinDropDb under both notes for
// kJoinDropMs or more, read in frames of kJoinFrameMs.
constexpr double kJoinDropDb = 20.0;
constexpr double kJoinDropMs = 50.0;
constexpr double kJoinFrameMs = 5.0;

// The longest run, in milliseconds, of consecutive kJoinFrameMs frames from
// sample `first` on, each ending before sample `last`, whose level lies more
// than kJoinDropDb under `quieterNoteDb` (the level of the quieter of the
// two notes); 0 when there is none.
double joinDropMs(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last, double quieterNoteDb,
                  int rate);

}  // namespace demobank
