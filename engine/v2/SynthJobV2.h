#pragma once
// The second generation's part of a synthesis job (banks "2"): as the
// first's, with its own store, sources, score (with Power) and synthesis.
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "engine/v1/CellJobBody.h"
#include "engine/v2/CellSynthV2.h"
#include "engine/v2/SourceStore_pkg.h"
#include "voicebank/v2/SynthSrcCache.h"

namespace HalvorenEngineV2 {

class SynthJobV2 final : public HalvorenEngineV1::CellJobBody {
public:
    explicit SynthJobV2(const std::string& packagePath, std::ostream& log = std::cerr);

    HalvorenEngine::SynthScoreV2& score() { return score_; }
    SourceStore_pkg& store() { return *store_; }
    std::string bankFault() const override { return store_->bankFault(); }
    SynthSrcCache& sources() { return cache_; }

private:
    SynthJobV2(std::unique_ptr<SourceStore_pkg> store, std::ostream& log);

    const HalvorenEngine::SynthScoreV1& scoreV1() const override { return score_; }
    const std::vector<HalvorenEngine::CurvePoint>* powerPoints() const override { return &score_.power; }
    HalvorenEngineV1::SourceView fetchSource(const std::string& u, const std::string& e, const std::string& b,
                                             const std::string& c, const std::string& notePitch) override;
    void synthCell(HalvorenEngineV1::Cell& cell, HalvorenEngine::SampleOutWriter& out) override
    {
        synth_.synthCell(cell, out);
    }
    void clearSources() override
    {
        synth_.forgetResiduals();
        cache_.clear();
    }

    std::unique_ptr<SourceStore_pkg> store_;
    CellSynthV2 synth_;
    SynthSrcCache cache_;
    HalvorenEngine::SynthScoreV2 score_;
};

}  // namespace HalvorenEngineV2
