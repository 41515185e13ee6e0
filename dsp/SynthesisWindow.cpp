#include "dsp/SynthesisWindow.h"

#include "dsp/Windows.h"

namespace HalvorenEngine {

std::vector<float> makeSynthesisWindow(int length, int hop)
{
    if (hop <= 0 || length <= 0 || hop > length / 2)
        return {};
    std::vector<float> w(static_cast<std::size_t>(length));
    Halvoren::makeBlackmanHarrisWindow(w.data(), length);
    Halvoren::normalizeWindowSum(w.data(), length);
    std::vector<float> triangle(static_cast<std::size_t>(2 * hop));
    Halvoren::makeTriangularWindow(triangle.data(), 2 * hop);
    for (int i = 0; i < 2 * hop; ++i) {
        float& entry = w[static_cast<std::size_t>(length / 2 - hop + i)];
        entry = triangle[static_cast<std::size_t>(i)] / entry;
    }
    return w;
}

}  // namespace HalvorenEngine
