#pragma once
// Bytes of the compact voice model of sixth-generation records: the head,
// the samples and the packed peak frames plain, then the eight members in
// their rotated form. Rotation stores the memory bytes M[0..S-1] of a value
// or block as M[1..S-1] followed by M[0]. Written from the file layout
// alone, never from the reader under test.
#include <cstdint>
#include <type_traits>
#include <string>
#include <vector>

#include "tools/bankwriter/ByteBuilder.h"
#include "tools/bankwriter/GhrModelWriter.h"

namespace bankwriter {

// One peak frame: the f0 step and the harmonic levels; empty when unvoiced.
struct PeakFrame {
    float f0Step = 220.0f;
    std::vector<float> levels;
};

using MagFrames = std::vector<std::vector<float>>;

struct CompactModel {
    std::int32_t modelInt0 = 0;
    std::int32_t modelSize = 512;
    float sampleRate = 44100.0f;
    std::vector<std::int16_t> samples;
    std::vector<PeakFrame> peakFrames;
    MagFrames mags1;
    std::vector<float> floats1;
    MagFrames mags2;
    MagFrames mags3;
    std::vector<std::int32_t> ints1;
    std::vector<float> floats2;
    MagFrames mags4;
    std::vector<float> floats3;
};

// Memory bytes (little-endian) rotated by one: the first byte goes last.
inline std::string rotated(std::string memory)
{
    if (memory.size() > 1)
        memory = memory.substr(1) + memory[0];
    return memory;
}

inline void rotatedI32(ByteBuilder& b, std::int32_t v) { b.raw(rotated(ByteBuilder().i32(v).bytes)); }
inline void rotatedF32(ByteBuilder& b, float v) { b.raw(rotated(ByteBuilder().f32(v).bytes)); }

// The count as a rotated float, then the values as one rotated block.
template <class T>
void compactVector(ByteBuilder& b, const std::vector<T>& values)
{
    rotatedF32(b, static_cast<float>(values.size()));
    ByteBuilder block;
    for (T v : values) {
        if constexpr (std::is_same_v<T, float>)
            block.f32(v);
        else
            block.i32(v);
    }
    b.raw(rotated(block.bytes));
}

// Frame size 512, 44100 Hz and the frame count rotated, then offsets, counts
// and values as compact vectors.
inline void compactMagsStore(ByteBuilder& b, const MagFrames& frames)
{
    const detail::FlatFrames flat = detail::flatten(frames);
    rotatedI32(b, 512);
    rotatedF32(b, 44100.0f);
    rotatedI32(b, static_cast<std::int32_t>(frames.size()));
    compactVector(b, flat.offsets);
    compactVector(b, flat.counts);
    compactVector(b, flat.data);
}

// Peak frames with no shared axis (length 0, step -1), as the band model
// stores them.
inline void plainPeakFrames(ByteBuilder& b, const std::vector<PeakFrame>& frames)
{
    std::vector<ByteBuilder> packed;
    for (const PeakFrame& f : frames)
        packed.push_back(detail::peakFrame(f.f0Step, f.levels));
    b.i32(0).f32(-1.0f);
    detail::packedFrames(b, packed);
}

inline std::string compactModelBytes(const CompactModel& m)
{
    ByteBuilder b;
    b.i32(m.modelInt0).i32(m.modelSize).f32(m.sampleRate);
    b.i32(static_cast<std::int32_t>(m.samples.size()));
    for (std::int16_t s : m.samples)
        b.u16(static_cast<std::uint16_t>(s));
    plainPeakFrames(b, m.peakFrames);
    compactMagsStore(b, m.mags1);
    compactVector(b, m.floats1);
    compactMagsStore(b, m.mags2);
    compactMagsStore(b, m.mags3);
    compactVector(b, m.ints1);
    compactVector(b, m.floats2);
    compactMagsStore(b, m.mags4);
    compactVector(b, m.floats3);
    return b.bytes;
}

}  // namespace bankwriter
