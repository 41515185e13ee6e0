#pragma once
// Compact models for the cell-maker tests, read from the stored form of
// frames described in code.
#include <memory>
#include <string>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "support/bank/SingingBankV6.h"
#include "voicebank/v6/HvVoiceModelCompact.h"

namespace v6test {

using Frames = std::vector<testbank::ModelFrameV6>;

// Reads the stored form of the frames into model.
inline void readModel(const Frames& frames, HVVM_V0::HvVoiceModelCompact& model)
{
    const std::string bytes = testbank::compactModelBytes(testbank::compactModelOf(frames));
    Halvoren::CMemoryBuffer buffer;
    buffer.bytes().putSamples(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Halvoren::CMemoryStream stream(&buffer);
    model.readFrom(stream);
}

inline std::unique_ptr<HVVM_V0::HvVoiceModelCompact> modelOf(const Frames& frames)
{
    auto model = std::make_unique<HVVM_V0::HvVoiceModelCompact>(44100.0f);
    readModel(frames, *model);
    return model;
}

// A frame whose every buffer holds `values` values of one level: harmonics
// at harmonicDb, noise bands at harmonicDb - 40, noise levels 0.1, phase
// offsets at phase. f0 0 leaves the harmonics empty (unvoiced).
inline testbank::ModelFrameV6 flatFrame(float f0, float harmonicDb = -20.0f, std::int32_t row = 50,
                                        float gainDb = 0.0f, float modFloor = 0.5f, float phase = 0.0f,
                                        std::size_t values = 3)
{
    testbank::ModelFrameV6 f;
    f.f0 = f0;
    if (f0 != 0.0f)
        f.harmonicsDb.assign(values, harmonicDb);
    f.row = row;
    f.gainDb = gainDb;
    f.noiseBandsDb.assign(values, harmonicDb - 40.0f);
    f.noiseLevels.assign(values, 0.1f);
    f.modFloor = modFloor;
    f.phaseOffsets.assign(values, phase);
    return f;
}

// The values of a buffer.
inline std::vector<float> valuesOf(const Halvoren::FastVector<float>& v)
{
    return std::vector<float>(v.ptrBegin(), v.ptrBegin() + v.numSamples());
}

}  // namespace v6test
