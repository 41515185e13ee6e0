#pragma once
// Bytes of a stored band model (the material of third- and fourth-
// generation records) from plain frames, and of the phase table a voice
// record may carry after it.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bankwriter/ByteBuilder.h"

namespace bankwriter {

struct PlainFrame {
    float f0Step = 220.0f;            // Hz between harmonics
    std::vector<float> harmonicsDb;   // levels of harmonics 1..n; empty when unvoiced
    std::vector<float> magsA = std::vector<float>(257, -60.0f);
    std::vector<float> magsB = std::vector<float>(257, -80.0f);
    std::vector<float> bands = std::vector<float>(64, -30.0f);
};

// The "ext1" extras: step, columns, rows, then the values as a float array.
struct PhaseTable {
    float step = 100.0f;
    std::int32_t stride = 3;
    std::int32_t rows = 1;
    std::vector<float> values = {0.0f, 0.0f, 0.0f};
};

namespace detail {

// Magnitude frames as one value vector: where each frame starts, how many
// values it has, and the values.
struct FlatFrames {
    std::vector<std::int32_t> offsets;
    std::vector<std::int32_t> counts;
    std::vector<float> data;
};

inline FlatFrames flatten(const std::vector<std::vector<float>>& frames)
{
    FlatFrames flat;
    for (const std::vector<float>& f : frames) {
        flat.offsets.push_back(static_cast<std::int32_t>(flat.data.size()));
        flat.counts.push_back(static_cast<std::int32_t>(f.size()));
        flat.data.insert(flat.data.end(), f.begin(), f.end());
    }
    return flat;
}

// frameSize 512, 44100 Hz, the frame count, then offsets, counts and values
// as counted arrays.
inline void magsStore(ByteBuilder& b, const std::vector<std::vector<float>>& frames)
{
    const FlatFrames flat = flatten(frames);
    b.i32(512).f32(44100.0f).i32(static_cast<std::int32_t>(frames.size()));
    b.intArray(flat.offsets).intArray(flat.counts).floatArray(flat.data);
}

// One packed peak frame: n, then for n > 0 the f0 step and the n levels as a
// float array.
inline ByteBuilder peakFrame(float f0Step, const std::vector<float>& levels)
{
    ByteBuilder p;
    p.i32(static_cast<std::int32_t>(levels.size()));
    if (!levels.empty())
        p.f32(f0Step).floatArray(levels);
    return p;
}

// The frame count, the byte offset of each frame, then the frames as one
// length-prefixed blob.
inline void packedFrames(ByteBuilder& b, const std::vector<ByteBuilder>& frames)
{
    ByteBuilder blob;
    std::vector<std::int32_t> offsets;
    for (const ByteBuilder& f : frames) {
        offsets.push_back(static_cast<std::int32_t>(blob.size()));
        blob.raw(f.bytes);
    }
    b.i32(static_cast<std::int32_t>(frames.size())).intArray(offsets).block(blob);
}

}  // namespace detail

// Lead value 0, frame size 512, 44100 Hz; peak frames (no shared axis:
// length 0, step -1; a frame is n, then for n > 0 its f0 step and the n
// levels as a float array); magsA; magsB; band frames (each 64 levels as a
// float array).
inline std::string ghrModelBytes(const std::vector<PlainFrame>& frames)
{
    ByteBuilder b;
    b.i32(0).i32(512).f32(44100.0f);
    std::vector<ByteBuilder> peaks;
    std::vector<ByteBuilder> bands;
    std::vector<std::vector<float>> magsA;
    std::vector<std::vector<float>> magsB;
    for (const PlainFrame& f : frames) {
        peaks.push_back(detail::peakFrame(f.f0Step, f.harmonicsDb));
        ByteBuilder band;
        band.floatArray(f.bands);
        bands.push_back(band);
        magsA.push_back(f.magsA);
        magsB.push_back(f.magsB);
    }
    b.i32(0).f32(-1.0f);
    detail::packedFrames(b, peaks);
    detail::magsStore(b, magsA);
    detail::magsStore(b, magsB);
    detail::packedFrames(b, bands);
    return b.bytes;
}

inline std::string phaseTableBytes(const PhaseTable& t)
{
    ByteBuilder b;
    b.f32(t.step).i32(t.stride).i32(t.rows).floatArray(t.values);
    return b.bytes;
}

}  // namespace bankwriter
