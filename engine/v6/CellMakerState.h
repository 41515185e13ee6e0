#pragma once
// What the cell loop and the cell makers of a sixth-generation job share:
// the store and its record cache, the symbol manager, where frames go (a
// listener, or the frame list of the run), the stop flag (which the lock
// guards), the curves and head time of the running score, the warp ratios,
// the model-frame flag, the analyser and the band layout.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/LinearEnvelope.h"
#include "dsp/SynthFrameV6.h"
#include "dsp/WarpedBandLayout.h"
#include "engine/CellListCache.h"
#include "engine/ScoreCurves.h"
#include "engine/SynthScoreV3.h"
#include "engine/v6/BuildHarmonics.h"
#include "engine/v6/ICellBuildingListener.h"
#include "engine/v6/ISourceStore.h"
#include "lyrics/ISymbolMgr.h"
#include "platform/CriticalSection.h"
#include "voicebank/v6/SrcCache.h"

namespace HalvorenEngineV6 {

class CellMakerState {
public:
    // The rate the band layout is laid out for.
    static constexpr float kLayoutRate = 44100.0f;

    // sampleRate must be positive and finite. The symbol manager knows no
    // symbol until one is set.
    explicit CellMakerState(float sampleRate);
    CellMakerState(const CellMakerState&) = delete;
    CellMakerState& operator=(const CellMakerState&) = delete;

    // Takes the store (which must outlive the state): the frame period, the
    // band layout of its band count and the model-frame flag (format above
    // 6.1).
    void attachStore(ISourceStore& store);
    // Null keeps the manager that knows no symbol.
    void setSymbols(std::unique_ptr<Halvoren::ISymbolMgr> symbols);

    ISourceStore& store() { return *store_; }
    Halvoren::ISymbolMgr& symbols() { return *symbols_; }
    SrcCache& cache() { return cache_; }
    Halvoren::HarmonicPeakAnalyser& analyser() { return analyser_; }
    Halvoren::WarpedBandLayout& bandLayout() { return *layout_; }
    // The grid the tilt rows are read on.
    const std::vector<float>& frequencyGrid() const { return tiltRowGrid(); }
    float sampleRate() const { return rate_; }
    float framePeriod() const { return period_; }
    float headTime() const { return headTime_; }
    bool modelFrameFlag() const { return modelFrames_; }
    // The warp ratios at gender 0, +1 and -1.
    float neutralRatio() const { return r1_; }
    float upperRatio() const { return r2_; }
    float lowerRatio() const { return r3_; }

    void setStop(bool stop)
    {
        std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
        stop_ = stop;
    }
    bool isStopped()
    {
        std::lock_guard<Halvoren::GeneralMutex> guard(lock_);
        return stop_;
    }

    // Frames go to the listener when one is set, else into the run's list.
    void setListener(ICellBuildingListener* listener) { listener_ = listener; }

    // Takes the score's lead-in as the head time, its curves and the store's
    // warp ratios (thousandths) for the run that follows.
    void prepare(const HalvorenEngine::SynthScoreV3& score);
    // The time of output frame index, seconds from the score's time 0.
    float timeOf(std::int32_t index) const { return static_cast<float>(index) * period_ - headTime_; }

    // Completes the frame record for output frame base + counter (the
    // score's curves and the warp ratio of the Gender curve at its time) and
    // hands it on; counter advances. A frame before the job's first frame is
    // dropped.
    void emitFrame(Halvoren::SynthFrameV6& frame, std::int32_t base, std::int32_t& counter,
                   HalvorenEngine::CellListCache& list);

    // The running score's curve at time t.
    float curveAt(HalvorenEngine::ScoreCurve curve, float t) { return curves_[curve].valueAt(t); }
    // The warp ratio of the Gender curve at time t.
    float warpRatioAt(float t);

private:

    Halvoren::GeneralMutex lock_;
    bool stop_ = false;
    ICellBuildingListener* listener_ = nullptr;
    float rate_;
    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
    float period_ = 0.0f;
    float headTime_ = 0.0f;
    HalvorenEngine::ScoreCurveLookups curves_;
    float r1_ = 1.0f;
    float r2_ = 0.85f;
    float r3_ = 1.25f;
    bool modelFrames_ = false;
    SrcCache cache_;
    ISourceStore* store_ = nullptr;
    Halvoren::HarmonicPeakAnalyser analyser_;
    std::unique_ptr<Halvoren::WarpedBandLayout> layout_;
};

}  // namespace HalvorenEngineV6
