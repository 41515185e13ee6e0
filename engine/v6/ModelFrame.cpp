#include "engine/v6/ModelFrame.h"

#include <algorithm>
#include <cmath>

namespace HalvorenEngineV6 {

namespace {

template <class T>
T valueAt(const Halvoren::FastVector<T>& values, int index)
{
    if (index < 0 || static_cast<std::uint32_t>(index) >= values.numSamples())
        return T(0);
    return values.ptrBegin()[index];
}

// 20 log10(weight), with -120 dB standing for silence.
float weightDb(float weight)
{
    return weight < 0.000001f ? -120.0f : 20.0f * std::log10(weight);
}

void mixBuffer(const Halvoren::FrameMags& a, const Halvoren::FrameMags& b, float w, Halvoren::FrameMags& out)
{
    Halvoren::frameMix(a, b, 1.0f - w, out);
    out.frameSize = a.frameSize;
    out.sampleRate = a.sampleRate;
}

}  // namespace

int modelFrameCount(const HVVM_V0::HvVoiceModelCompact& model)
{
    return static_cast<int>(model.floats1.numSamples());
}

void ModelFrame::loadFrom(const HVVM_V0::HvVoiceModelCompact& model, int index)
{
    refValue = valueAt(model.floats1, index);
    row = std::clamp(valueAt(model.ints1, index), 0, kMaxTiltRow);
    model.mags3.getFrame(index, harmonics);
    gainDb = valueAt(model.floats2, index);
    model.mags1.getFrame(index, noiseBands);
    model.mags4.getFrame(index, noiseLevels);
    modFloor = valueAt(model.floats3, index);
    model.mags2.getFrame(index, phaseOffsets);
}

void ModelFrame::interpolate(const ModelFrame& a, const ModelFrame& b, float w, ModelFrame& out)
{
    if (!a.holdsData() || !b.holdsData()) {
        const bool fromB = !a.holdsData();
        out = fromB ? b : a;
        out.gainDb += weightDb(fromB ? w : 1.0f - w);
        return;
    }
    const float v = 1.0f - w;
    out.refValue = v * a.refValue + w * b.refValue;
    const float row = v * static_cast<float>(a.row) + w * static_cast<float>(b.row);
    out.row = std::isnan(row) ? 0 : static_cast<std::int32_t>(std::clamp(row, 0.0f, static_cast<float>(kMaxTiltRow)));
    out.gainDb = v * a.gainDb + w * b.gainDb;
    out.modFloor = std::min(v * a.modFloor + w * b.modFloor, 1.0f);
    mixBuffer(a.harmonics, b.harmonics, w, out.harmonics);
    mixBuffer(a.noiseBands, b.noiseBands, w, out.noiseBands);
    mixBuffer(a.noiseLevels, b.noiseLevels, w, out.noiseLevels);
    mixBuffer(a.phaseOffsets, b.phaseOffsets, w, out.phaseOffsets);
}

}  // namespace HalvorenEngineV6
