#pragma once
// The frames of one cell-building run kept as owned copies, for a run that
// has no listener to render them (the capture path of the tests): a list
// that only grows, the index of the last frame appended (under the lock, so
// another thread may poll it) and a finished flag. The list, `consumed` and
// `finished` are read after the run or on the building thread.
#include <cstdint>
#include <memory>
#include <vector>

#include "dsp/SynthFrameV6.h"
#include "engine/SynthFrameV4.h"
#include "platform/CriticalSection.h"

namespace HalvorenEngine {

// An owned copy of a frame record: its envelope and peaks are copied, the
// phase table is still the maker's.
struct SynthFrame {
    Halvoren::FrameMags mags;
    Halvoren::PeakList peaks;
    std::uint8_t unvoiced = 0;
    Halvoren::StepTable* jitter = nullptr;
    float curveA = 0.0f;
    float levelControl = 0.0f;
    float levelDb = 0.0f;
    std::int32_t index = 0;
    std::int32_t localIndex = 0;
    float boostWeight = 0.0f;
    float noiseGain = 0.0f;
    float warpRatio = 1.0f;
    float tension = 0.0f;

    // A record pointing at this copy's envelope and peaks.
    SynthFrameV4 record();
};

class CellListCache {
public:
    CellListCache() = default;
    ~CellListCache() { clear(); }
    CellListCache(const CellListCache&) = delete;
    CellListCache& operator=(const CellListCache&) = delete;

    // Appends a copy of the record (a null envelope or peak list copies as
    // empty), then sets lastIndex to its index under the lock.
    void append(const SynthFrameV4& frame);
    // The same for a sixth-generation record, copied whole.
    void append(const Halvoren::SynthFrameV6& frame);
    // Frees every entry and resets the counters and the flag.
    void clear();

    std::int32_t lastIndex();
    const std::vector<std::unique_ptr<SynthFrame>>& frames() const { return frames_; }
    const std::vector<std::unique_ptr<Halvoren::SynthFrameV6>>& framesV6() const { return framesV6_; }

    std::int32_t consumed = 0;
    bool finished = false;

private:
    void setLastIndex(std::int32_t index);

    Halvoren::GeneralMutex lock_;
    std::int32_t lastIndex_ = 0;
    std::vector<std::unique_ptr<SynthFrame>> frames_;
    std::vector<std::unique_ptr<Halvoren::SynthFrameV6>> framesV6_;
};

}  // namespace HalvorenEngine
