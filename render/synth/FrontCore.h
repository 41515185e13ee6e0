#pragma once
// A core over one generation's engine front (Front: the generation's
// HVSynthesizer, whose job body holds the store and the score): the bank's
// timbres and the score are read from the front; with no front, there are
// no timbres and no score.
#include <string>

#include "render/synth/SynthCore.h"

template <class Base, class Front>
class FrontCore : public Base {
public:
    using Base::Base;

    int timbreCount() override
    {
        Front* f = front();
        return f != nullptr ? f->body().store().getTimbreCount() : 0;
    }
    // Clears the three names, then fills them when the front has the timbre.
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

protected:
    Front* front() const { return dynamic_cast<Front*>(this->engine()); }
};
