#include "dsp/BrentRoot.h"

#include <cmath>
#include <utility>

namespace Halvoren {

namespace {
constexpr float kTolerance = 1e-8f;

bool between(float s, float p, float q)
{
    return p < q ? (s > p && s < q) : (s > q && s < p);
}
}  // namespace

float brentRoot(const std::function<float(float)>& f, float a, float b)
{
    float fa = f(a);
    float fb = f(b);
    if (!(fa * fb < 0.0f))
        return (a + b) / 2.0f;
    // b is the current estimate: the end with the smaller |f|.
    if (std::fabs(fa) < std::fabs(fb)) {
        std::swap(a, b);
        std::swap(fa, fb);
    }
    float c = a;
    float fc = fa;
    float d = c;
    bool bisected = true;
    for (int iter = 0; iter < kBrentMaxIterations; ++iter) {
        if (std::fabs(fb) <= kTolerance || std::fabs(b - a) < kTolerance)
            break;
        float s;
        if (fa != fc && fb != fc) {
            s = a * fb * fc / ((fa - fb) * (fa - fc)) + b * fa * fc / ((fb - fa) * (fb - fc)) +
                c * fa * fb / ((fc - fa) * (fc - fb));
        } else {
            s = b - fb * (b - a) / (fb - fa);
        }
        const float reference = bisected ? std::fabs(b - c) : std::fabs(c - d);
        if (!between(s, (3.0f * a + b) / 4.0f, b) || std::fabs(s - b) >= reference / 2.0f ||
            reference < kTolerance) {
            s = (a + b) / 2.0f;
            bisected = true;
            if (s == a || s == b)
                break;  // the bracket cannot shrink any further in float
        } else {
            bisected = false;
        }
        const float fs = f(s);
        d = c;
        c = b;
        fc = fb;
        if (fa * fs < 0.0f) {
            b = s;
            fb = fs;
        } else {
            a = s;
            fa = fs;
        }
        if (std::fabs(fa) < std::fabs(fb)) {
            std::swap(a, b);
            std::swap(fa, fb);
        }
    }
    return b;
}

}  // namespace Halvoren
