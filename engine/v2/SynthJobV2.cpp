#include "engine/v2/SynthJobV2.h"

#include "engine/v1/SourceViewOf.h"

namespace HalvorenEngineV2 {

namespace {

BankSettings settingsOf(const SourceStore_pkg& store)
{
    BankSettings s;
    s.tiltOffset = store.getTiltOffset();
    s.tiltRate = store.getTiltRate();
    s.tiltAmplitude = store.getTiltAmplitude();
    s.maxHarmonicFreq = store.getMaxHarmonicFreq();
    s.phaseSetting = store.getPhaseSetting();
    s.boostGain = store.getBoostGain();
    s.boostCentre = store.getBoostCentre();
    s.boostWidth = store.getBoostWidth();
    return s;
}

}  // namespace

SynthJobV2::SynthJobV2(const std::string& packagePath, std::ostream& log)
    : SynthJobV2(std::make_unique<SourceStore_pkg>(packagePath, log), log)
{
}

SynthJobV2::SynthJobV2(std::unique_ptr<SourceStore_pkg> store, std::ostream& log)
    : CellJobBody(HalvorenEngineV1::Generation::Second, CellSynthV2::kFrameSize, store->isUsable(),
                  store->getHopSize(), store->getSampleRate()),
      store_(std::move(store)), synth_(sampleRate(), hop(), settingsOf(*store_)), cache_(sampleRate(), log)
{
}

HalvorenEngineV1::SourceView SynthJobV2::fetchSource(const std::string& u, const std::string& e, const std::string& b,
                                                     const std::string& c, const std::string& notePitch)
{
    const std::string p = store_->getRecordKey(u, notePitch);
    return HalvorenEngineV1::sourceViewOf(makeSynthetiseSource(u, e, b, c, p, cache_, *store_));
}

}  // namespace HalvorenEngineV2
