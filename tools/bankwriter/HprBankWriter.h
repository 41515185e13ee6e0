#pragma once
// Bytes of the first- and second-generation voice packages: the plain index
// ("HVI": two or eleven header values, then records of scrambled name,
// scrambled pitch and content offset) and the content file ("HVC") of framed
// records. Written from the file layouts alone, never from the readers
// under test.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bankwriter/BankWriter.h"
#include "tools/bankwriter/ByteBuilder.h"
#include "tools/bankwriter/NameScramble.h"

namespace bankwriter {

// One frame of full peak lists (generation 1).
struct PeakListFrame {
    std::vector<float> freqs;
    std::vector<float> mags;
    std::vector<float> phases;
};

// Peak frames, then the residual as a byte count and 16-bit samples.
inline std::string peakListMaterial(const std::vector<PeakListFrame>& frames,
                                    const std::vector<std::int16_t>& residual)
{
    ByteBuilder b;
    b.i32(std::int32_t(frames.size()));
    for (const PeakListFrame& f : frames) {
        b.i32(std::int32_t(f.freqs.size()));
        if (!f.freqs.empty())
            b.floatArray(f.freqs).floatArray(f.mags).floatArray(f.phases);
    }
    b.i32(std::int32_t(residual.size() * 2));
    for (std::int16_t s : residual)
        b.u16(static_cast<std::uint16_t>(s));
    return b.bytes;
}

// Harmonic levels on a frequency step (generation 2), then the residual.
inline std::string harmonicMaterial(float step, const std::vector<std::vector<float>>& frames,
                                    const std::vector<std::int16_t>& residual)
{
    ByteBuilder b;
    b.f32(step).i32(std::int32_t(frames.size()));
    for (const std::vector<float>& mags : frames) {
        b.i32(std::int32_t(mags.size()));
        if (!mags.empty())
            b.floatArray(mags);
    }
    b.i32(std::int32_t(residual.size() * 2));
    for (std::int16_t s : residual)
        b.u16(static_cast<std::uint16_t>(s));
    return b.bytes;
}

// The voice values in memory order (beginPos, endPos, param3..param5,
// param7..param13, then in generation 2 ratio1..ratio3; floats as their
// bits), then the material.
template <std::size_t N>
inline std::string hprVoiceRecord(const std::array<std::int32_t, N>& values, const std::string& material)
{
    static_assert(N == 12 || N == 15);
    ByteBuilder b;
    for (std::int32_t v : values)
        b.i32(v);
    return b.raw(material).bytes;
}

inline std::string hprContinuantRecord(std::int32_t param1, std::int32_t param2, std::int32_t hop,
                                       const std::string& material)
{
    return ByteBuilder().i32(param1).i32(param2).i32(hop).raw(material).bytes;
}

struct HprBankDescription {
    int generation = 1;  // 1: two header values; 2: eleven
    BankHeader header;
    std::vector<Variant> variants;  // parts are ignored: one content file
};

inline PackageFiles writeHprPackage(const HprBankDescription& bank)
{
    PackageFiles files;
    std::string& content = files.parts[0];
    ByteBuilder index;
    const BankHeader& h = bank.header;
    index.i32(h.hopSize).f32(h.sampleRate);
    if (bank.generation == 2) {
        index.f32(h.param3).f32(h.param4).f32(h.param5).f32(h.maxHarmonicFreq);
        index.i32(h.phaseSetting).i32(h.param8).f32(h.powerAmount).f32(h.powerCentre).f32(h.powerWidth);
    }
    for (const Variant& v : bank.variants) {
        const auto offset = static_cast<std::int32_t>(content.size());
        content += ByteBuilder().str(v.record).bytes;
        ByteBuilder record;
        record.str(scrambleName(v.unit)).str(scrambleName(v.pitch)).i32(offset);
        index.block(record);
    }
    files.index = index.bytes;
    return files;
}

}  // namespace bankwriter
