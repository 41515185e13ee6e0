#pragma once
// The part of a cell-maker state that the third and fourth generations
// share: where frames go (a listener, or the frame list of the run), the
// stop flag (which the lock guards), the curves of the running score, the
// gender ratios, the band axis and the analyser. Each generation adds its
// store, record cache and symbol manager; the part builders and makers read
// only this part, so one builder serves both generations.
#include <array>
#include <cstdint>
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
#include "lyrics/ISymbolMgr.h"
#include "platform/CriticalSection.h"

namespace HalvorenEngineV3 {

// Where the frames of one cell go: output frame firstFrame + local, local
// running on from part to part; every frame carries the cell's phase table.
struct CellCursor {
    int firstFrame = 0;
    int& local;
    HalvorenEngine::CellListCache& list;
    Halvoren::StepTable* phaseRef = nullptr;
};

class CellMakerStateBase {
public:
    // A rate that is not positive leaves the frame period 0 (the store has
    // already refused such a bank) and the analyser at 44100 Hz.
    CellMakerStateBase(float sampleRate, std::int32_t hop);
    CellMakerStateBase(const CellMakerStateBase&) = delete;
    CellMakerStateBase& operator=(const CellMakerStateBase&) = delete;

    Halvoren::HarmonicPeakAnalyser& analyser() { return analyser_; }
    const std::vector<float>& bandAxis() const { return bandAxis_; }
    float framePeriod() const { return period_; }
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

    // Takes the score's curves and start time, and the gender ratios in
    // thousandths (neutral, at +1, at -1), for the run that follows.
    void prepare(const HalvorenEngine::SynthScoreV3& score, std::int32_t neutral, std::int32_t upper,
                 std::int32_t lower);
    // The value of a curve at t seconds.
    float curveAt(HalvorenEngine::ScoreCurve curve, float t) { return curves_[curve].valueAt(t); }
    // The time of output frame index.
    float timeOf(int index) const { return static_cast<float>(index) * period_ - t0_; }
    // Sets the current ratio from the Gender curve at t and returns it.
    float blendGenderAt(float t);
    // Everything a cell maker reads from the state.
    MakerSetting makerSetting();

    // Fills the frame record from the curves at the frame's time and hands it
    // on; local advances by one.
    void emitFrame(Halvoren::PeakList& peaks, Halvoren::FrameMags& residual, float extraGainDb, bool unvoiced,
                   CellCursor& at);
    // Hands a made frame on: to the listener, or as a copy into the list.
    void emitFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::CellListCache& list);

protected:
    ~CellMakerStateBase() = default;

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
    Halvoren::HarmonicPeakAnalyser analyser_;
};

// A generation's state: the shared part with the generation's store, its
// record cache and the symbol manager.
template <class Store, class Cache>
class CellMakerStateOf : public CellMakerStateBase {
public:
    CellMakerStateOf(Store& store, std::unique_ptr<Halvoren::ISymbolMgr> symbols)
        : CellMakerStateBase(store.getSampleRate(), store.getHopSize()), store_(store), symbols_(std::move(symbols))
    {
    }

    Store& store() { return store_; }
    Halvoren::ISymbolMgr& symbols() { return *symbols_; }
    Cache& cache() { return cache_; }

    // Takes the score's curves and start time and the store's gender ratios
    // (thousandths) for the run that follows. The column windows of the
    // phase tables the cache holds move frame by frame: every run starts
    // them afresh, so a run sings as a fresh job would.
    void prepare(const HalvorenEngine::SynthScoreV3& score)
    {
        std::int32_t neutral = 1000, upper = 850, lower = 1250;
        store_.getGenderRatios(neutral, upper, lower);
        CellMakerStateBase::prepare(score, neutral, upper, lower);
        cache_.voiceSrcs.forEach([](auto& voice) {
            if (voice.material != nullptr)
                voice.material->ext1.resetWindow();
        });
    }

protected:
    ~CellMakerStateOf() = default;

private:
    Cache cache_;
    Store& store_;
    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
};

}  // namespace HalvorenEngineV3
