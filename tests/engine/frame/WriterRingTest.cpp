// The writer on recorded frame sequences: frames in order, gaps, frames
// reaching back a little and far, frames before the start and past the plan,
// repeated frames, placed runs and sized frames. The hash of its counts and
// samples after every step was recorded from the writer that kept its
// pending sums in a vector erased from its front: the ring that replaced it
// writes the same samples, bit for bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "dsp/SampleOutWriter.h"

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;

namespace {

struct Op {
    enum Kind { Frame, Sized, Int, Frames } kind;
    int k = 0;  // frame index, or the run's frame count for Frames
    float g = 1.0f;
};

class Recorded {
public:
    Recorded(int frameSize, int hop) : frameSize_(frameSize), hop_(hop) {}

    // A value in [0, 1) from a 32-bit congruential generator.
    float next()
    {
        random_ = random_ * 1664525u + 1013904223u;
        return static_cast<float>(random_ >> 8) / 16777216.0f;
    }
    std::vector<float> frame(int length, float scale)
    {
        std::vector<float> f(static_cast<std::size_t>(length));
        for (float& v : f)
            v = scale * (2.0f * next() - 1.0f);
        return f;
    }
    std::vector<short> pcm(int count)
    {
        std::vector<short> s(static_cast<std::size_t>(count));
        for (short& v : s)
            v = static_cast<short>(60000.0f * next() - 30000.0f);
        return s;
    }

    // Runs the ops; after each, and after finish, folds the writer's counts
    // and samples into one FNV-1a hash.
    template <class Writer>
    std::uint64_t run(int plannedFrames, const std::vector<Op>& ops)
    {
        OutputBuffer buffer(4096);
        Writer w(buffer, frameSize_, hop_);
        random_ = 12345;
        hash_ = 14695981039346656037ull;
        w.appendZeros(plannedFrames);
        for (const Op& op : ops) {
            apply(w, op);
            fold(w);
        }
        w.finish();
        fold(w);
        return hash_;
    }

    template <class Writer>
    void apply(Writer& ring, const Op& op)
    {
        switch (op.kind) {
            case Op::Frame: {
                const std::vector<float> f = frame(frameSize_, 1.5f);
                ring.addFrame(op.k, f.data(), op.g);
                break;
            }
            case Op::Sized: {
                const std::vector<float> f = frame(op.k % 2 == 0 ? 2 * frameSize_ : 4 * frameSize_, 1.5f);
                ring.addFrameSized(op.k, static_cast<int>(f.size()), f.data(), op.g);
                break;
            }
            case Op::Int: {
                const std::vector<float> f = frame(frameSize_, 1.5f);
                ring.addFrameInt(f.data(), op.g);
                break;
            }
            case Op::Frames: {
                const std::vector<short> s = pcm((op.k + 1) * hop_);
                ring.addFrames(op.k, s.data(), op.g > 0.0f, op.g > 1.0f);
                break;
            }
        }
    }

private:
    void mixIn(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (v >> (8 * i)) & 0xFF;
            hash_ *= 1099511628211ull;
        }
    }
    template <class Writer>
    void fold(const Writer& w)
    {
        mixIn(static_cast<std::uint64_t>(w.length()));
        mixIn(static_cast<std::uint64_t>(w.framesWritten()));
        mixIn(static_cast<std::uint64_t>(w.produced()));
        for (int i = 0; i < w.length(); ++i)
            mixIn(static_cast<std::uint16_t>(w.data()[i]));
    }

    int frameSize_;
    int hop_;
    std::uint32_t random_ = 12345;
    std::uint64_t hash_ = 0;
};

TEST(WriterRing, SmallFramesEveryKindOfStep)
{
    // 64-point frames at hop 16, 10 frames planned: 176 samples, 240 with the reserve.
    Recorded r(64, 16);
    const std::vector<Op> ops = {{Op::Frame, 0, 1.0f},  {Op::Frame, 1, 2.0f},  {Op::Frame, 2, 1.0f},   {Op::Frame, 4, 1.5f},
               {Op::Frame, 3, 1.0f},  {Op::Frame, 5, 2.0f},  {Op::Frame, 5, 2.0f},   {Op::Frame, 1, 1.0f},
               {Op::Frame, -1, 1.0f}, {Op::Frame, -5, 1.0f}, {Op::Int, 0, 1.0f},     {Op::Frames, 2, 2.0f},
               {Op::Sized, 8, 1.0f},  {Op::Sized, 9, 0.5f},  {Op::Frame, 12, 1.0f},  {Op::Frame, 14, 1.0f},
               {Op::Frame, 30, 1.0f}, {Op::Frame, 9, 1.0f},  {Op::Frames, 0, 0.0f},  {Op::Frame, 13, 3.0f}};
    EXPECT_EQ(r.run<SampleOutWriter>(10, ops), 5199369199857747050ull);
}

TEST(WriterRing, ThirdGenerationFramesWithJumpsAndLongRuns)
{
    const std::pair<int, std::uint64_t> recorded[] = {{128, 9322834131276507923ull}, {256, 7474151765501316667ull}};
    for (const auto& [hop, hash] : recorded) {
        Recorded r(512, hop);
        std::vector<Op> ops;
        for (int k = 0; k < 40; ++k)
            ops.push_back({Op::Frame, k, 1.0f + 0.05f * k});
        ops.push_back({Op::Frame, 37, 2.0f});   // back a few
        ops.push_back({Op::Frame, 60, 1.0f});   // a gap
        ops.push_back({Op::Frames, 12, 1.0f});  // a placed run with its fade-in
        ops.push_back({Op::Frame, 20, 1.0f});   // far back
        ops.push_back({Op::Frame, 99, 1.0f});   // the last planned frame
        ops.push_back({Op::Frame, 101, 1.0f});  // into the reserve
        ops.push_back({Op::Frame, 400, 1.0f});  // beyond the storage
        EXPECT_EQ(r.run<SampleOutWriter>(100, ops), hash) << "hop " << hop;
    }
}

}  // namespace
