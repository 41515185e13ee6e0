#include "engine/v1/SynthJobV1.h"

#include "engine/v1/SourceViewOf.h"

namespace HalvorenEngineV1 {

SynthJobV1::SynthJobV1(const std::string& packagePath, std::ostream& log)
    : SynthJobV1(std::make_unique<Halvoren::SourceStore_v1Pkg>(packagePath, log), log)
{
}

SynthJobV1::SynthJobV1(std::unique_ptr<Halvoren::SourceStore_v1Pkg> store, std::ostream& log)
    : CellJobBody(Generation::First, CellSynthV1::kFrameSize, store->isUsable(), store->getHopSize(),
                  store->getSampleRate()),
      store_(std::move(store)), synth_(sampleRate(), hop()), cache_(sampleRate(), log)
{
}

SourceView SynthJobV1::fetchSource(const std::string& u, const std::string& e, const std::string& b,
                                   const std::string& c, const std::string& notePitch)
{
    const std::string p = store_->getRecordKey(u, notePitch);
    return sourceViewOf(Halvoren::makeSynthetiseSource(u, e, b, c, p, cache_, *store_));
}

}  // namespace HalvorenEngineV1
