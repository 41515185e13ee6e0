#include "engine/CellListCache.h"

#include <mutex>

namespace HalvorenEngine {

SynthFrameV4 SynthFrame::record()
{
    SynthFrameV4 r;
    r.mags = &mags;
    r.peaks = &peaks;
    r.unvoiced = unvoiced;
    r.jitter = jitter;
    r.curveA = curveA;
    r.levelControl = levelControl;
    r.levelDb = levelDb;
    r.index = index;
    r.localIndex = localIndex;
    r.boostWeight = boostWeight;
    r.noiseGain = noiseGain;
    r.warpRatio = warpRatio;
    r.tension = tension;
    return r;
}

void CellListCache::append(const SynthFrameV4& frame)
{
    auto entry = std::make_unique<SynthFrame>();
    if (frame.mags != nullptr)
        entry->mags.assign(*frame.mags);
    if (frame.peaks != nullptr)
        entry->peaks.assign(*frame.peaks);
    entry->unvoiced = frame.unvoiced;
    entry->jitter = frame.jitter;
    entry->curveA = frame.curveA;
    entry->levelControl = frame.levelControl;
    entry->levelDb = frame.levelDb;
    entry->index = frame.index;
    entry->localIndex = frame.localIndex;
    entry->boostWeight = frame.boostWeight;
    entry->noiseGain = frame.noiseGain;
    entry->warpRatio = frame.warpRatio;
    entry->tension = frame.tension;
    const std::int32_t index = entry->index;
    frames_.push_back(std::move(entry));
    setLastIndex(index);
}

void CellListCache::append(const Halvoren::SynthFrameV6& frame)
{
    framesV6_.push_back(std::make_unique<Halvoren::SynthFrameV6>(frame));
    setLastIndex(frame.index);
}

void CellListCache::setLastIndex(std::int32_t index)
{
    std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
    lastIndex_ = index;
}

void CellListCache::clear()
{
    frames_.clear();
    framesV6_.clear();
    std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
    lastIndex_ = 0;
    consumed = 0;
    finished = false;
}

std::int32_t CellListCache::lastIndex()
{
    std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
    return lastIndex_;
}

}  // namespace HalvorenEngine
