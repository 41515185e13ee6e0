#pragma once
// Analysis and synthesis windows. x = 2*pi*i/(n-1) for i = 0..n-1; a window
// of one sample is 1.
#include <vector>

namespace Halvoren {

struct AnalysisWindow {
    int length = 0;
    std::vector<float> w;

    void resize(int n)
    {
        length = n > 0 ? n : 0;
        w.assign(static_cast<std::size_t>(length), 0.0f);
    }
};

void makeHammingWindow(float* w, int n);
void makeBlackmanHarrisWindow(float* w, int n);
// Blackman with both end samples set to 0.
void makeBlackmanWindow(float* w, int n);
// Symmetric triangle that never reaches 0 at the ends.
void makeTriangularWindow(float* w, int n);

// Scales the window so that its values sum to 1; a window that sums to 0
// (or to no finite value) is left as it is and false is returned.
bool normalizeWindowSum(float* w, int n);
inline bool normalizeWindowSum(AnalysisWindow& window) { return normalizeWindowSum(window.w.data(), window.length); }

}  // namespace Halvoren
