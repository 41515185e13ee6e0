#pragma once
// What the cell makers of a third-generation job share: the store, the
// symbol manager, where frames go (a listener, or the frame list of the run)
// and the stop flag, which the lock guards.
#include <memory>
#include <mutex>

#include "engine/CellListCache.h"
#include "engine/v3/ICellBuildingListener.h"
#include "engine/v3/ISourceStore.h"
#include "lyrics/ISymbolMgr.h"
#include "platform/CriticalSection.h"

namespace HalvorenEngineV3 {

class CellMakerState {
public:
    CellMakerState(ISourceStore& store, std::unique_ptr<Halvoren::ISymbolMgr> symbols)
        : store_(store), symbols_(std::move(symbols))
    {
    }

    ISourceStore& store() { return store_; }
    Halvoren::ISymbolMgr& symbols() { return *symbols_; }

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
    // Hands a made frame on: to the listener, or as a copy into the list.
    void emitFrame(HalvorenEngine::SynthFrameV4& frame, HalvorenEngine::CellListCache& list)
    {
        if (listener_ != nullptr)
            listener_->onCellBuilt(frame);
        else
            list.append(frame);
    }

private:
    Halvoren::GeneralMutex lock_;
    bool stop_ = true;
    ISourceStore& store_;
    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
    ICellBuildingListener* listener_ = nullptr;
};

}  // namespace HalvorenEngineV3
