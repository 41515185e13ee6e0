#include "engine/v6/CellMakers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace HalvorenEngineV6 {

namespace {

// trunc(rate * i + start), clamped into first .. last.
int walkPosition(float rate, int i, int start, int first, int last)
{
    const float p = rate * static_cast<float>(i) + static_cast<float>(start);
    if (!(p > static_cast<float>(first)))
        return first;
    if (p >= static_cast<float>(last))
        return last;
    return static_cast<int>(p);
}

int clampFrame(std::int64_t p, int count)
{
    return static_cast<int>(std::clamp<std::int64_t>(p, 0, count - 1));
}

// u of a and 1 - u of b, for the value a maker reports.
float mixValue(float u, float a, float b)
{
    return u * a + (1.0f - u) * b;
}

}  // namespace

void CellSpan::set(bool modelFramesFlag, float framePeriod, float head, std::int32_t base, std::int32_t count,
                   float upperRatio, float neutralRatio, float lowerRatio,
                   Halvoren::HarmonicPeakAnalyser* peakAnalyser, Halvoren::WarpedBandLayout* bandLayout,
                   const std::vector<float>* frequencyGrid)
{
    modelFrames = modelFramesFlag;
    period = framePeriod;
    headTime = head;
    partBase = base;
    counter = count;
    upper = upperRatio;
    neutral = neutralRatio;
    lower = lowerRatio;
    analyser = peakAnalyser;
    layout = bandLayout;
    grid = frequencyGrid;
}

bool CellMakerCore::make(int, float&, Halvoren::FrameMags&, float&, float, ModelFrame&)
{
    return false;
}

void CellMakerCore::takeFrame(const ModelFrame& scratch, const ModelFrame& stored, Halvoren::FrameMags& frame) const
{
    frame.assign(span.modelFrames ? scratch.phaseOffsets : stored.phaseOffsets);
}

void CellMakerCore_FromStdModel::setUp(int fadeSpan, int start, int used, int total,
                                       const HvVoiceModelCompact& model)
{
    model_ = nullptr;
    frameCount_ = modelFrameCount(model);
    if (total < 1 || used < 0 || frameCount_ < 1)
        return;
    model_ = &model;
    rate_ = static_cast<float>(used) / static_cast<float>(total);
    offset_ = clampFrame(start, frameCount_);
    fade_ = fadeSpan >= 1 ? std::min(fadeSpan, total) : -1;
}

bool CellMakerCore_FromStdModel::make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float,
                                      ModelFrame& scratch)
{
    if (model_ == nullptr)
        return false;
    scratch.loadFrom(*model_, walkPosition(rate_, i, offset_, 0, frameCount_ - 1));
    refValue = scratch.refValue;
    // The stored frame at the position is the one just loaded.
    frame.assign(scratch.phaseOffsets);
    levelDb = 0.0f;
    if (i < fade_)
        levelDb = i <= 0 ? -120.0f : 20.0f * std::log10(static_cast<float>(i) / static_cast<float>(fade_));
    return true;
}

void CellMakerCore_FromStdModelAndSrcModel_merge2src::setUp(int srcStart, int srcLen, int partLen,
                                                             const HvVoiceModelCompact& standard, int standardFrame,
                                                             const HvVoiceModelCompact& source, bool keepLength)
{
    source_ = nullptr;
    const int count = modelFrameCount(source);
    const int standardCount = modelFrameCount(standard);
    if (partLen < 1 || srcLen < 1 || count < 1 || standardCount < 1)
        return;
    start_ = clampFrame(srcStart, count);
    last_ = count - 1;
    const int scanEnd = clampFrame(std::int64_t(start_) + srcLen - 1, count);
    const float* pitch = source.floats1.ptrBegin();
    int found = start_;
    if (pitch[found] != 0.0f)
        while (found < scanEnd && pitch[found + 1] != 0.0f)
            ++found;
    int length = srcLen;
    if (!keepLength)
        length = std::min(found - start_ + 2, srcLen);
    rate_ = static_cast<float>(length) / static_cast<float>(partLen);
    fade_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t(partLen) * (found - start_) / length, 0, partLen));
    standard_.loadFrom(standard, clampFrame(standardFrame, standardCount));
    source_ = &source;
}

bool CellMakerCore_FromStdModelAndSrcModel_merge2src::make(int i, float& levelDb, Halvoren::FrameMags& frame,
                                                           float& refValue, float, ModelFrame& scratch)
{
    if (source_ == nullptr)
        return false;
    levelDb = 0.0f;
    const float w = i < fade_ ? static_cast<float>(fade_ - i) / static_cast<float>(fade_) : 0.0f;
    sourceFrame_.loadFrom(*source_, walkPosition(rate_, i, start_, 0, last_));
    if (!sourceFrame_.holdsData()) {
        scratch = sourceFrame_;
        refValue = 0.0f;
    } else {
        ModelFrame::interpolate(standard_, sourceFrame_, 1.0f - w, scratch);
        refValue = mixValue(w, standard_.refValue, sourceFrame_.refValue);
    }
    takeFrame(scratch, sourceFrame_, frame);
    return true;
}

void CellMakerCore_ByMergeTwoModel::setUp(const HvVoiceModelCompact& first, int firstFrame,
                                          const HvVoiceModelCompact& second, int secondFrame, int partLen)
{
    const int firstCount = modelFrameCount(first);
    const int secondCount = modelFrameCount(second);
    ready_ = partLen >= 1 && firstCount >= 1 && secondCount >= 1;
    if (!ready_)
        return;
    first_.loadFrom(first, clampFrame(firstFrame, firstCount));
    second_.loadFrom(second, clampFrame(secondFrame, secondCount));
    n_ = partLen;
}

bool CellMakerCore_ByMergeTwoModel::make(int i, float& levelDb, Halvoren::FrameMags& frame, float& refValue, float,
                                         ModelFrame& scratch)
{
    if (!ready_)
        return false;
    levelDb = 0.0f;
    const float w = static_cast<float>(n_ - i) / static_cast<float>(n_);
    refValue = mixValue(w, first_.refValue, second_.refValue);
    ModelFrame::interpolate(first_, second_, 1.0f - w, scratch);
    takeFrame(scratch, first_, frame);
    return true;
}

void CellMakerCore_ByMergeTwoModelAndTailSrc::setUp(const HvVoiceModelCompact& first, int firstFrame,
                                                    const ContinuantSrc& tail, const HvVoiceModelCompact& second,
                                                    int secondFrame, int partLen)
{
    source_ = nullptr;
    const int firstCount = modelFrameCount(first);
    const int secondCount = modelFrameCount(second);
    const int count = tail.material ? modelFrameCount(*tail.material) : 0;
    if (partLen < 1 || count < 1 || firstCount < 1 || secondCount < 1)
        return;
    first_.loadFrom(first, clampFrame(firstFrame, firstCount));
    second_.loadFrom(second, clampFrame(secondFrame, secondCount));
    start_ = clampFrame(tail.v6ContParam1, count);
    last_ = std::max(start_, clampFrame(std::int64_t(tail.v6ContParam1) + tail.v6ContParam2 - 1, count));
    rate_ = static_cast<float>(tail.v6ContParam2) / static_cast<float>(partLen);
    length_ = partLen;
    // The single-precision 0.45 and 0.1 taken in double, so that 100 frames
    // merge over 44, not 45.
    merge_ = static_cast<int>(partLen * 0.44999998807907104);
    hold_ = static_cast<int>(partLen * 0.10000000149011612);
    tail_ = partLen - merge_ - hold_;
    source_ = tail.material.get();
}

bool CellMakerCore_ByMergeTwoModelAndTailSrc::make(int i, float& levelDb, Halvoren::FrameMags& frame,
                                                   float& refValue, float, ModelFrame& scratch)
{
    if (source_ == nullptr || i < 0 || i >= length_)
        return false;
    levelDb = 0.0f;
    sourceFrame_.loadFrom(*source_, walkPosition(rate_, i, start_, start_, last_));
    if (i < merge_) {
        const float u = static_cast<float>(merge_ - i) / static_cast<float>(merge_);
        ModelFrame::interpolate(first_, sourceFrame_, 1.0f - u, scratch);
        refValue = mixValue(u, first_.refValue, sourceFrame_.refValue);
        takeFrame(scratch, first_, frame);
    } else if (i < merge_ + hold_) {
        scratch = sourceFrame_;
        refValue = sourceFrame_.refValue;
        takeFrame(scratch, sourceFrame_, frame);
    } else {
        const float u = static_cast<float>(length_ - i) / static_cast<float>(tail_);
        ModelFrame::interpolate(sourceFrame_, second_, 1.0f - u, scratch);
        refValue = mixValue(u, sourceFrame_.refValue, second_.refValue);
        takeFrame(scratch, second_, frame);
    }
    return true;
}

}  // namespace HalvorenEngineV6
