#include "voicebank/v6/HvVoiceModelCompact.h"

#include <bit>
#include <cstring>

namespace HVVM_V0 {

using Halvoren::CMemoryStream;
using Halvoren::FrameMagsStore;

namespace {

// The count, then the samples only when the stream holds all of them.
void readSamples(CMemoryStream& stream, Halvoren::FastVector<std::int16_t>& samples)
{
    std::int32_t count = 0;
    stream.readInt32(count);
    if (count <= 0 || !stream.holds(std::int64_t(count) * 2))
        return;
    samples.resize(std::uint32_t(count));
    std::int16_t* out = samples.ptrBegin();
    stream.read(out, count * 2);
    if constexpr (std::endian::native != std::endian::little) {
        for (std::int32_t i = 0; i < count; ++i) {
            const auto* b = reinterpret_cast<const unsigned char*>(out + i);
            const auto v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
            std::memcpy(out + i, &v, 2);
        }
    }
}

}  // namespace

HvVoiceModelCompact::HvVoiceModelCompact(float rate)
    : sampleRate(rate), samples(512), mags1(44100.0f), floats1(512), mags2(44100.0f), mags3(44100.0f), ints1(512),
      floats2(512), mags4(44100.0f), floats3(512)
{
}

void HvVoiceModelCompact::readFrom(CMemoryStream& stream)
{
    stream.readInt32(modelInt0);
    stream.readInt32(modelSize);
    stream.readFloat(sampleRate);
    readSamples(stream, samples);
    peakFrames.readFrom(stream);
    mags1.readFromCompactStream(stream);
    FrameMagsStore::readFromCompact(stream, floats1);
    mags2.readFromCompactStream(stream);
    mags3.readFromCompactStream(stream);
    FrameMagsStore::readFromCompact(stream, ints1);
    FrameMagsStore::readFromCompact(stream, floats2);
    mags4.readFromCompactStream(stream);
    FrameMagsStore::readFromCompact(stream, floats3);
}

}  // namespace HVVM_V0
