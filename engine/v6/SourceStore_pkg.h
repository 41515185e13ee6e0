#pragma once
// The sixth-generation store: the bank's package read through the
// ISourceStore slots. It owns nothing but the package; records it loads go
// to the caller.
//
// A bank the engine cannot render is refused with one message (the index
// message) and isUsable() false: a hop outside 1..256, a sample rate that is
// not finite and positive, a band layout of fewer than 35 bands, a grid
// count outside 1..65536 or no noise-bank band edges. Its slots still answer
// as stored.
#include <cstdint>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/BankFault.h"
#include "engine/v6/ISourceStore.h"
#include "voicebank/v6/SourceStorePackager.h"

namespace HalvorenEngineV6 {

class SourceStore_pkg : public SourceStorePackager, public ISourceStore {
public:
    // The fewest bands the synthesis band layout works with.
    static constexpr std::int32_t kMinLayoutBands = 35;
    static constexpr std::int32_t kMaxGridCount = 65536;

    explicit SourceStore_pkg(std::string basePath, std::ostream& log = std::cerr);

    bool isUsable() const { return usable_; }
    // Why the bank cannot be read whole or sung; "" while it can.
    std::string bankFault() const { return HalvorenEngine::bankFaultNow(fault_, contentFault()); }

    std::string getRecordKey(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) override;
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override;
    std::int32_t getVersionMajor() override { return getFormatMajor(); }
    std::int32_t getVersionMinor() override { return getFormatMinor(); }

    std::int32_t getHopSize() override { return getHeader().hopSize; }
    float getSampleRate() override { return getHeader().sampleRate; }
    float getParam3() override { return getHeader().param3; }
    float getParam4() override { return getHeader().param4; }
    float getParam5() override { return getHeader().param5; }
    float getMaxHarmonicFreq() override { return getHeader().maxHarmonicFreq; }
    std::int32_t getPhaseSetting() override { return getHeader().phaseSetting; }
    std::int32_t getParam8() override { return getHeader().param8; }
    float getPowerAmount() override { return getHeader().powerAmount; }
    float getPowerCentre() override { return getHeader().powerCentre; }
    float getPowerWidth() override { return getHeader().powerWidth; }
    std::string getString1() override { return getHeaderString(0); }
    std::string getString2() override { return getHeaderString(1); }
    std::string getLanguage() override { return getHeaderString(2); }
    bool hasExt1() override { return getHasExt1(); }
    std::int32_t getTimbreCount() override { return static_cast<std::int32_t>(getTimbreTable().size()); }
    void getTimbrePitchNames(std::int32_t index, std::string& low, std::string& middle, std::string& high) override;
    void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) override;
    float getHarmLevel() override { return getTailFloats()[0]; }
    float getNoiseRatio() override { return getTailFloats()[1]; }
    float getParam28() override { return getTailFloats()[2]; }
    std::int32_t getLayoutBandCount() override { return getTailInt1(); }
    const std::vector<float>& getBandEdges() override { return getTailFloatList(); }
    std::int32_t getGridCount() override { return getTailInt2(); }
    void listUnitNames(std::vector<std::string>& names) override;

private:
    bool usable_ = false;
    std::string fault_;
};

}  // namespace HalvorenEngineV6
