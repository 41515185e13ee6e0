// The writer's ring of pending sums against the writer it replaced, on a
// recorded frame sequence: frames in order, gaps, frames reaching back a
// little and far, frames before the start and past the plan, repeated
// frames, placed runs and sized frames. Every sample equal, bit for bit.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/engine/ReferenceWriter.h"

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
    Recorded(int frameSize, int hop) : frameSize_(frameSize), hop_(hop), random_(12345) {}

    std::vector<float> frame(int length, float scale)
    {
        std::uniform_real_distribution<float> value(-scale, scale);
        std::vector<float> f(static_cast<std::size_t>(length));
        for (float& v : f)
            v = value(random_);
        return f;
    }
    std::vector<short> pcm(int count)
    {
        std::uniform_int_distribution<int> value(-30000, 30000);
        std::vector<short> s(static_cast<std::size_t>(count));
        for (short& v : s)
            v = static_cast<short>(value(random_));
        return s;
    }

    // Runs the ops on both writers; compares after each.
    void run(int plannedFrames, const std::vector<Op>& ops)
    {
        OutputBuffer ringBuffer(4096), referenceBuffer(4096);
        SampleOutWriter ring(ringBuffer, frameSize_, hop_);
        enginetest::ReferenceWriter reference(referenceBuffer, frameSize_, hop_);
        ASSERT_TRUE(ring.appendZeros(plannedFrames));
        ASSERT_TRUE(reference.appendZeros(plannedFrames));
        int step = 0;
        for (const Op& op : ops) {
            switch (op.kind) {
            case Op::Frame: {
                const std::vector<float> f = frame(frameSize_, 1.5f);
                ring.addFrame(op.k, f.data(), op.g);
                reference.addFrame(op.k, f.data(), op.g);
                break;
            }
            case Op::Sized: {
                const std::vector<float> f = frame(op.k % 2 == 0 ? 2 * frameSize_ : 4 * frameSize_, 1.5f);
                ring.addFrameSized(op.k, static_cast<int>(f.size()), f.data(), op.g);
                reference.addFrameSized(op.k, static_cast<int>(f.size()), f.data(), op.g);
                break;
            }
            case Op::Int: {
                const std::vector<float> f = frame(frameSize_, 1.5f);
                ring.addFrameInt(f.data(), op.g);
                reference.addFrameInt(f.data(), op.g);
                break;
            }
            case Op::Frames: {
                const std::vector<short> s = pcm((op.k + 1) * hop_);
                ring.addFrames(op.k, s.data(), op.g > 0.0f, op.g > 1.0f);
                reference.addFrames(op.k, s.data(), op.g > 0.0f, op.g > 1.0f);
                break;
            }
            }
            compare(ring, reference, step++);
        }
        ring.finish();
        reference.finish();
        compare(ring, reference, step);
    }

private:
    void compare(const SampleOutWriter& ring, const enginetest::ReferenceWriter& reference, int step)
    {
        ASSERT_EQ(ring.length(), reference.length()) << "step " << step;
        ASSERT_EQ(ring.framesWritten(), reference.framesWritten()) << "step " << step;
        ASSERT_EQ(ring.produced(), reference.produced()) << "step " << step;
        const std::vector<short> a(ring.data(), ring.data() + ring.length());
        const std::vector<short> b(reference.data(), reference.data() + reference.length());
        ASSERT_EQ(a, b) << "step " << step;
    }

    int frameSize_;
    int hop_;
    std::mt19937 random_;
};

TEST(WriterRing, SmallFramesEveryKindOfStep)
{
    // 64-point frames at hop 16, 10 frames planned: 176 samples, 240 with the reserve.
    Recorded r(64, 16);
    r.run(10, {{Op::Frame, 0, 1.0f},  {Op::Frame, 1, 2.0f},  {Op::Frame, 2, 1.0f},   {Op::Frame, 4, 1.5f},
               {Op::Frame, 3, 1.0f},  {Op::Frame, 5, 2.0f},  {Op::Frame, 5, 2.0f},   {Op::Frame, 1, 1.0f},
               {Op::Frame, -1, 1.0f}, {Op::Frame, -5, 1.0f}, {Op::Int, 0, 1.0f},     {Op::Frames, 2, 2.0f},
               {Op::Sized, 8, 1.0f},  {Op::Sized, 9, 0.5f},  {Op::Frame, 12, 1.0f},  {Op::Frame, 14, 1.0f},
               {Op::Frame, 30, 1.0f}, {Op::Frame, 9, 1.0f},  {Op::Frames, 0, 0.0f},  {Op::Frame, 13, 3.0f}});
}

TEST(WriterRing, ThirdGenerationFramesWithJumpsAndLongRuns)
{
    for (int hop : {128, 256}) {
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
        r.run(100, ops);
    }
}

}  // namespace
