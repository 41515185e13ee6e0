#pragma once
// A timbre-aware core over the engine front of one generation: the bank's
// timbre table and the engine's input are read through the front's job, and
// symbols are checked by a manager of the bank's language kept apart from
// the job's, which only its worker uses.
#include <memory>
#include <string>

#include "lyrics/ISymbolMgr.h"
#include "render/synth/SynthCore.h"

template <class CoreBase, class Front>
class FrontCore : public CoreBase {
public:
    using CoreBase::CoreBase;

    int timbreCount() override
    {
        Front* f = front();
        return f != nullptr ? f->body().store().getTimbreCount() : 0;
    }
    void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) override
    {
        a.clear();
        b.clear();
        c.clear();
        if (Front* f = front())
            f->body().store().getTimbrePitchNames(index, a, b, c);
    }
    HalvorenEngine::SynthScoreV3* score() override
    {
        Front* f = front();
        return f != nullptr ? &f->score() : nullptr;
    }
    bool isValidSymbol(const std::string& symbol) override
    {
        return symbols_ != nullptr && symbols_->isValidSymbol(symbol);
    }

protected:
    Front* front() const { return dynamic_cast<Front*>(this->engine()); }

    std::unique_ptr<Halvoren::ISymbolMgr> symbols_;
};
