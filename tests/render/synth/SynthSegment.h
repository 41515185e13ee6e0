#pragma once
// The segment of the synthesizer tests: 120 BPM (480 ticks are 0.5 s), by
// default at tick 1920 (2.0 s) and 1920 ticks wide.
#include <memory>
#include <string>
#include <vector>

#include "model/current/Segments.h"
#include "support/model_document/ProjectBuilder.h"

namespace synthtest {

using namespace HVCurrentModel;

struct SynthSegment {
    explicit SynthSegment(int pos = 1920, int width = 1920) : seg(pos, width) { tempos.push_back(&tempo); }
    Note& add(int pos, int width, int key, const std::string& symbol)
    {
        Note* n = projtest::addNote(seg, pos, width, key, symbol);
        n->phoneticSymbol = symbol;
        return *n;
    }

    Tempo tempo{0, 12000, false};
    std::vector<Tempo*> tempos;
    SingSegment seg;
};

}  // namespace synthtest
