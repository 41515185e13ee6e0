// The join family of SourceJoiner. Placement of the residual: frame i of out
// is centred on sample H * i (H = out's hop). The kept head of a is copied
// with its last hop faded out; each re-synthesised frame is overlap-added at
// its own centre through the output writer's triangle; a model that follows
// plainly (joinTwo's b) is copied from one hop before its first frame, that
// hop faded in. The whole length is laid out first, so the writer's buffer
// never moves.
#include <algorithm>
#include <limits>
#include <memory>

#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/SampleOutWriter.h"
#include "dsp/SourceJoiner.h"
#include "dsp/Spline.h"

namespace Halvoren {

using HalvorenEngine::SampleOutWriter;

namespace {

constexpr int kLevelRadius = 5;

// Moves a frame's peak levels by w times the level difference between two
// join frames: per peak index (levels averaged around each join frame), or
// at each peak's frequency on spline envelopes through the two frames.
class PeakShift {
public:
    PeakShift(bool spline, float rate, const HPR_model& from, int fromFrame, const HPR_model& to, int toFrame)
        : spline_(spline)
    {
        if (!spline) {
            std::vector<float> fromLevels, toLevels;
            from.peaks.smoothFrame(fromFrame, kLevelRadius, fromLevels);
            to.peaks.smoothFrame(toFrame, kLevelRadius, toLevels);
            const std::size_t m = std::min(fromLevels.size(), toLevels.size());
            delta_.resize(m);
            for (std::size_t k = 0; k < m; ++k)
                delta_[k] = toLevels[k] - fromLevels[k];
            return;
        }
        fromEnv_ = std::make_unique<HarmonicPeakAnalyser>(rate);
        toEnv_ = std::make_unique<HarmonicPeakAnalyser>(rate);
        frameEnv_ = std::make_unique<HarmonicPeakAnalyser>(rate);
        setSpline(*fromEnv_, from, fromFrame);
        setSpline(*toEnv_, to, toFrame);
    }

    void apply(PeakList& frame, float w)
    {
        if (!spline_) {
            const std::size_t n = frame.size();
            for (std::size_t k = 0; k < n; ++k) {
                if (k < delta_.size()) {
                    frame.mags[k] += w * delta_[k];
                } else {
                    frame.freqs[k] = 0.0f;
                    frame.mags[k] = 0.0f;
                }
            }
            return;
        }
        frameEnv_->setPeaksSpline(frame);
        frameEnv_->sampleHarmonicsSpline(1.0f, frame);
        if (!hasEnvelope(*fromEnv_) || !hasEnvelope(*toEnv_))
            return;
        for (std::size_t k = 0; k < frame.size(); ++k)
            frame.mags[k] += w * (level(*toEnv_, frame.freqs[k]) - level(*fromEnv_, frame.freqs[k]));
    }

private:
    static void setSpline(HarmonicPeakAnalyser& env, const HPR_model& m, int frame)
    {
        PeakList peaks;
        if (frame >= 0 && static_cast<std::size_t>(frame) < m.peaks.size())
            peaks.assign(m.peaks.frame(static_cast<std::size_t>(frame)));
        env.setPeaksSpline(peaks);
    }
    static bool hasEnvelope(const HarmonicPeakAnalyser& env) { return env.splineY2().size() >= 2; }
    static float level(const HarmonicPeakAnalyser& env, float f)
    {
        return splineValueAt(env.splineY2(), env.envelope().freqs.data(), env.envelope().mags.data(), f);
    }

    bool spline_;
    std::vector<float> delta_;
    std::unique_ptr<HarmonicPeakAnalyser> fromEnv_, toEnv_, frameEnv_;
};

// Samples [first, first + count) of m's residual; samples outside it are 0.
std::vector<short> residualSpan(const HPR_model& m, long long first, long long count)
{
    std::vector<short> span(static_cast<std::size_t>(std::max(count, 0LL)), 0);
    const long long have = m.residual.numSamples();
    const short* src = m.residual.ptrBegin();
    for (long long i = std::max(first, 0LL); i < std::min(first + count, have); ++i)
        span[static_cast<std::size_t>(i - first)] = src[i];
    return span;
}

// A frame count for the writer's layout; one beyond int is refused there.
int layoutFrames(long long frames)
{
    return static_cast<int>(std::min<long long>(frames, std::numeric_limits<int>::max()));
}

bool hopFits(int hop, int n) { return hop > 0 && hop <= n / 2; }

int clampInt(long long v, long long lo, long long hi)
{
    return static_cast<int>(std::clamp(v, lo, std::max(lo, hi)));
}

// A's frames 0..keep-1 into out, and its residual up to sample keep * H with
// the last hop faded out.
void writeHead(SampleOutWriter& writer, HPR_model& out, const HPR_model& a, int keep)
{
    out.peaks.appendFrames(a.peaks, 0, keep - 1);
    const int hop = writer.hop();
    const std::vector<short> head = residualSpan(a, 0, static_cast<long long>(keep) * hop);
    writer.addFrames(keep - 1, head.data(), false, true);
}

// Empties out and runs build on it, emptying it again on failure; when out
// is one of the inputs, build runs on a scratch model that replaces out only
// on success, so a refused join loses no input.
template <class Build>
bool buildInto(HPR_model& out, std::initializer_list<const HPR_model*> inputs, int hop, Build build)
{
    for (const HPR_model* m : inputs) {
        if (m == &out) {
            HPR_model built;
            const bool ok = buildInto(built, {}, hop, build);
            if (ok)
                out.assign(built);
            return ok;
        }
    }
    out.peaks.clear();
    out.residual.clear();
    out.hop = hop;
    if (build(out))
        return true;
    out.peaks.clear();
    out.residual.clear();
    return false;
}

// A join with no frames to continue with keeps a as it is; reported as refused.
bool keepFirst(const HPR_model& a, HPR_model& out)
{
    out.assign(a);
    return false;
}

// A join frame of a model with `frames` frames: past the end it is the last
// frame (0 when there is none).
int joinFrame(int frame, long long frames)
{
    return clampInt(frame, 0, frames - 1);
}

// Checks shared by the forms without a start frame; on success frameA is a
// frame of a that has a frame before it.
bool chainFits(const SourceJoiner& j, const HPR_model& a, std::initializer_list<const HPR_model*> others, int& frameA)
{
    if (!j.isReady() || a.peaks.size() < 2 || !hopFits(a.hop, j.fftSize))
        return false;
    for (const HPR_model* m : others)
        if (!hopFits(m->hop, j.fftSize))
            return false;
    frameA = clampInt(frameA, 1, static_cast<long long>(a.peaks.size()) - 1);
    return true;
}

}  // namespace

const float* SourceJoiner::resynthesise(const HPR_model& m, int frame, float w)
{
    FreqMagAndPhaseBox& box = *box_;
    const int half = fftSize / 2;
    const long long centre = static_cast<long long>(m.hop) * frame - half;
    box.loadFrame(m.residual, static_cast<int>(std::clamp<long long>(centre, -(1LL << 30), 1LL << 30)), window, 1.0f);
    box.fft.forward(box.re.data(), box.re.data(), box.im.data());
    box.computeMagsDbAndPhases();
    for (int k = 0; k <= half; ++k)
        box.mags[static_cast<std::size_t>(k)] += w * correction[static_cast<std::size_t>(k)];
    box.addSinusoids();
    box.fft.inverse(box.re.data(), box.im.data(), box.re.data());
    box.swapHalves();
    return box.re.data();
}

bool SourceJoiner::joinTwo(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB, int start,
                           int countB)
{
    if (b.peaks.empty())
        return keepFirst(a, out);
    return buildInto(out, {&a, &b}, a.hop, [&](HPR_model& dst) {
        const int hop = a.hop;
        const long long framesA = static_cast<long long>(a.peaks.size());
        const long long framesB = static_cast<long long>(b.peaks.size());
        if (!isReady() || framesA < 2 || !hopFits(hop, fftSize) || !hopFits(b.hop, fftSize))
            return false;
        frameA = clampInt(frameA, 1, framesA - 1);
        start = clampInt(start, 1, frameA);
        frameB = joinFrame(frameB, framesB);
        const int takeB = countB < 0 ? static_cast<int>(framesB - frameB) : clampInt(countB, 0, framesB - frameB);

        PeakShift shift(false, sampleRate, a, frameA, b, frameB);
        computeResidualCorrection(a, b, frameA, frameB);
        SampleOutWriter writer(dst.residual, fftSize, hop);
        if (!writer.appendZeros(layoutFrames(static_cast<long long>(frameA) + 1 + takeB)))
            return false;
        writeHead(writer, dst, a, start);

        const float step = 1.0f / static_cast<float>(frameA - start + 1);
        for (int i = start; i <= frameA; ++i) {
            const float w = static_cast<float>(i - start) * step;
            writer.addFrameInt(resynthesise(a, i, w), 1.0f);
            PeakList& frame = dst.peaks.appendFrame();
            frame.assign(a.peaks.frame(static_cast<std::size_t>(i)));
            shift.apply(frame, w);
        }

        dst.peaks.appendFrames(b.peaks, frameB, static_cast<long long>(frameB) + takeB - 1);
        const long long tailStart = static_cast<long long>(b.hop) * frameB - hop;
        const std::vector<short> tail = residualSpan(b, tailStart, (static_cast<long long>(takeB) + 1) * hop);
        writer.addFrames(takeB, tail.data(), true, false);
        writer.finish();
        return true;
    });
}

bool SourceJoiner::joinChain(const HPR_model& a, int keep, const Segment* segments, int segmentCount, float fade,
                             bool spline, HPR_model& out)
{
    long long total = keep;
    for (int s = 0; s < segmentCount; ++s)
        total += segments[s].count;
    SampleOutWriter writer(out.residual, fftSize, a.hop);
    if (!writer.appendZeros(layoutFrames(total)))
        return false;
    writeHead(writer, out, a, keep);
    for (int s = 0; s < segmentCount; ++s) {
        const Segment& seg = segments[s];
        if (seg.count <= 0)
            continue;
        PeakShift shift(spline, sampleRate, *seg.model, seg.first, *seg.reference, seg.referenceFrame);
        // The correction moves the reference toward this model; taken
        // negatively it moves this model's frames toward the reference.
        computeResidualCorrection(*seg.reference, *seg.model, seg.referenceFrame, seg.first);
        const float step = (1.0f - fade) / static_cast<float>(seg.count + 1);
        for (int j = 0; j < seg.count; ++j) {
            const float factor = 1.0f - static_cast<float>(j) * step;
            const int frame = seg.first + j;
            writer.addFrameInt(resynthesise(*seg.model, frame, -factor), 1.0f);
            PeakList& peaks = out.peaks.appendFrame();
            peaks.assign(seg.model->peaks.frame(static_cast<std::size_t>(frame)));
            shift.apply(peaks, factor);
        }
    }
    writer.finish();
    return true;
}

bool SourceJoiner::chainTwo(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB, float fade,
                            int length, bool spline)
{
    if (b.peaks.empty())
        return keepFirst(a, out);
    return buildInto(out, {&a, &b}, a.hop, [&](HPR_model& dst) {
        if (!chainFits(*this, a, {&b}, frameA))
            return false;
        const long long framesB = static_cast<long long>(b.peaks.size());
        frameB = joinFrame(frameB, framesB);
        const Segment seg{&b, frameB, clampInt(length, 0, framesB - frameB), &a, frameA};
        return joinChain(a, frameA, &seg, 1, fade, spline, dst);
    });
}

bool SourceJoiner::chainThree(const HPR_model& a, const HPR_model& b, const HPR_model& c, HPR_model& out, int frameA,
                              int frameB, int frameB2, int frameC, int length, bool spline)
{
    if (b.peaks.empty())
        return keepFirst(a, out);
    return buildInto(out, {&a, &b, &c}, a.hop, [&](HPR_model& dst) {
        if (!chainFits(*this, a, {&b, &c}, frameA))
            return false;
        const long long framesB = static_cast<long long>(b.peaks.size());
        const long long framesC = static_cast<long long>(c.peaks.size());
        length = std::max(length, 0);
        frameB = joinFrame(frameB, framesB);
        frameB2 = clampInt(frameB2, frameB, framesB);
        const int span = std::min(frameB2 - frameB, length);
        frameC = joinFrame(frameC, framesC);
        // c joins b at b's second join frame, or at its last frame when that lies past it.
        const int joinB = joinFrame(frameB2, framesB);
        const Segment segs[2] = {{&b, frameB, span, &a, frameA},
                                 {&c, frameC, clampInt(length - span, 0, framesC - frameC), &b, joinB}};
        return joinChain(a, frameA, segs, 2, kDefaultFade, spline, dst);
    });
}

bool SourceJoiner::joinTwoScaled(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB,
                                 float fade, int length)
{
    return chainTwo(a, b, out, frameA, frameB, fade, length, false);
}

bool SourceJoiner::joinTwoSpline(const HPR_model& a, const HPR_model& b, HPR_model& out, int frameA, int frameB,
                                 float fade, int length)
{
    return chainTwo(a, b, out, frameA, frameB, fade, length, true);
}

bool SourceJoiner::joinThree(const HPR_model& a, const HPR_model& b, const HPR_model& c, HPR_model& out, int frameA,
                             int frameB, int frameB2, int frameC, int length)
{
    return chainThree(a, b, c, out, frameA, frameB, frameB2, frameC, length, false);
}

bool SourceJoiner::joinThreeSpline(const HPR_model& a, const HPR_model& b, const HPR_model& c, HPR_model& out,
                                   int frameA, int frameB, int frameB2, int frameC, int length)
{
    return chainThree(a, b, c, out, frameA, frameB, frameB2, frameC, length, true);
}

}  // namespace Halvoren
