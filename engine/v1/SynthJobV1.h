#pragma once
// The first generation's part of a synthesis job (banks "1"): the bank's
// store, the score, the cache of synthesis sources (building thread) and
// the cell synthesis (synthesis thread).
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/v1/CellJobBody.h"
#include "engine/v1/CellSynthV1.h"
#include "engine/v1/SourceStore_v1Pkg.h"
#include "voicebank/v1/SynthSrcCache.h"

namespace HalvorenEngineV1 {

class SynthJobV1 final : public CellJobBody {
public:
    explicit SynthJobV1(const std::string& packagePath, std::ostream& log = std::cerr);

    HalvorenEngine::SynthScoreV1& score() { return score_; }
    Halvoren::SourceStore_v1Pkg& store() { return *store_; }
    Halvoren::SynthSrcCache& sources() { return cache_; }
    std::string bankFault() const override { return store_->bankFault(); }

private:
    SynthJobV1(std::unique_ptr<Halvoren::SourceStore_v1Pkg> store, std::ostream& log);

    const HalvorenEngine::SynthScoreV1& scoreV1() const override { return score_; }
    SourceView fetchSource(const std::string& u, const std::string& e, const std::string& b, const std::string& c,
                           const std::string& notePitch) override;
    void synthCell(Cell& cell, HalvorenEngine::SampleOutWriter& out) override { synth_.synthCell(cell, out); }
    void clearSources() override { cache_.clear(); }

    std::unique_ptr<Halvoren::SourceStore_v1Pkg> store_;
    CellSynthV1 synth_;
    Halvoren::SynthSrcCache cache_;
    HalvorenEngine::SynthScoreV1 score_;
};

}  // namespace HalvorenEngineV1
