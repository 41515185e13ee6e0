#pragma once
// What the cell makers of a third-generation job share: the store, the
// symbol manager, where frames go (a listener, or the frame list of the run),
// the stop flag (which the lock guards), the curves of the running score,
// the gender ratios, the band axis, the record cache and the analyser.
#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "dsp/HarmonicPeakAnalyser.h"
#include "dsp/LinearEnvelope.h"
#include "engine/CellListCache.h"
#include "engine/ScoreCurves.h"
#include "engine/SynthScoreV3.h"
#include "engine/v3/CellMakers.h"
#include "engine/v3/ICellBuildingListener.h"
#include "engine/v3/ISourceStore.h"
#include "lyrics/ISymbolMgr.h"
#include "platform/CriticalSection.h"
#include "voicebank/v3/SrcCache.h"

namespace HalvorenEngineV3 {

// Where the frames of one cell go: output frame firstFrame + local, local
// running on from part to part; every frame carries the cell's phase table.
struct CellCursor {
    int firstFrame = 0;
    int& local;
    HalvorenEngine::CellListCache& list;
    Halvoren::StepTable* phaseRef = nullptr;
};

class CellMakerState {
public:
    CellMakerState(ISourceStore& store, std::unique_ptr<Halvoren::ISymbolMgr> symbols);

    ISourceStore& store() { return store_; }
    Halvoren::ISymbolMgr& symbols() { return *symbols_; }
    SrcCache& cache() { return cache_; }
    Halvoren::HarmonicPeakAnalyser& analyser() { return analyser_; }
    const std::vector<float>& bandAxis() const { return bandAxis_; }
    float framePeriod() const { return period_; }
    float startTime() const { return t0_; }
    float sampleRate() const { return rate_; }

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

    // Frames go to the listener when one is set, else into the list.
    void setListener(ICellBuildingListener* listener) { listener_ = listener; }

    // Takes the score's curves and start time and the store's gender ratios
    // (thousandths) for the run that follows.
    void prepare(const HalvorenEngine::SynthScoreV3& score);
    // The value of a curve at t seconds.
    float curveAt(HalvorenEngine::ScoreCurve curve, float t) { return curves_[curve].valueAt(t); }
    // The time of output frame index.
    float timeOf(int index) const { return static_cast<float>(index) * period_ - t0_; }
    // Sets the current ratio from the Gender curve at t and returns it.
    float blendGenderAt(float t);
    // Everything a cell maker reads from the state.
    MakerSetting makerSetting();

    // The record of unit at the pitch the index stores for it near pitch;
    // null when absent. The cache keeps it.
    VoiceSrc* lookupVoiceSrc(const std::string& unit, const std::string& pitch);

    // Fills the frame record from the curves at the frame's time and hands it
    // on; local advances by one.
    void emitFrame(Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float extraGainDb, bool unvoiced,
                   CellCursor& at);
    // Hands a made frame on: to the listener, or as a copy into the list.
    void emitFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::CellListCache& list);

private:
    Halvoren::GeneralMutex lock_;
    bool stop_ = true;
    ICellBuildingListener* listener_ = nullptr;
    std::vector<float> bandAxis_;
    float rate_;
    float period_;
    float t0_ = 0.0f;
    HalvorenEngine::ScoreCurveLookups curves_;
    float neutral_ = 1.0f;
    float upper_ = 0.85f;
    float lower_ = 1.25f;
    float currentRatio_ = 1.0f;
    SrcCache cache_;
    ISourceStore& store_;
    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
    Halvoren::HarmonicPeakAnalyser analyser_;
};

}  // namespace HalvorenEngineV3
