#include "JoinGap.h"

#include <algorithm>

#include "NoteSound.h"

namespace demobank {

double joinDropMs(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last, double quieterNoteDb,
                  int rate)
{
    const auto hop = static_cast<std::size_t>(rate * kJoinFrameMs / 1000.0);
    if (hop == 0)
        return 0.0;
    last = std::min(last, samples.size());
    std::size_t run = 0, longest = 0;
    for (std::size_t i = first; i + hop < last; i += hop) {
        run = levelDb(samples, i, i + hop) < quieterNoteDb - kJoinDropDb ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return kJoinFrameMs * double(longest);
}

}  // namespace demobank
