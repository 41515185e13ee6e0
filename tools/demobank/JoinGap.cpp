#include "JoinGap.h"

#include <algorithm>
#include <cmath>

namespace demobank {

double joinDropMs(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last, double quieterNoteDb,
                  int rate)
{
    if (rate <= 0)
        return 0.0;
    last = std::min(last, samples.size());
    const auto half = static_cast<std::size_t>(rate / 200);  // 5 ms either side
    // Mean square over the window, full scale 1, under which a sample drops out.
    const double below = std::pow(10.0, (quieterNoteDb - kJoinDropDb) / 10.0);
    // Running sums of squares over the stretch and the windows around it.
    const std::size_t begin = first > half ? first - half : 0, end = std::min(samples.size(), last + half);
    if (begin >= end)
        return 0.0;
    std::vector<double> sums(end - begin + 1, 0.0);
    for (std::size_t i = begin; i < end; ++i) {
        const double x = samples[i] / 32768.0;
        sums[i - begin + 1] = sums[i - begin] + x * x;
    }
    std::size_t run = 0, longest = 0;
    for (std::size_t i = first; i < last; ++i) {
        const std::size_t from = std::max(begin, i > half ? i - half : 0), to = std::min(end, i + half);
        const double meanSquare = (sums[to - begin] - sums[from - begin]) / double(std::max<std::size_t>(1, to - from));
        run = meanSquare < below ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return 1000.0 * double(longest) / rate;
}

}  // namespace demobank
