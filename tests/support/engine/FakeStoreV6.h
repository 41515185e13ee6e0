#pragma once
// A sixth-generation store held in memory: one pitch per unit, voice and
// parameter records with their first two marks and a pitch track, and
// counters of what was asked of it.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/v6/ISourceStore.h"

namespace v6test {

struct FakeUnit {
    std::string pitch = "C4";
    std::int32_t mark1 = 0;  // v6Param1
    std::int32_t mark2 = 0;  // v6Param2
    std::vector<float> pitchTrack;
};

// A unit at C4 with its first two marks.
inline FakeUnit marks(std::int32_t mark1, std::int32_t mark2, std::vector<float> pitchTrack = {})
{
    return {"C4", mark1, mark2, std::move(pitchTrack)};
}

class FakeStoreV6 : public HalvorenEngineV6::ISourceStore {
public:
    std::map<std::string, FakeUnit> units;
    std::int32_t hop = 256;
    float rate = 44100.0f;
    std::int32_t major = 6, minor = 1;
    std::string language;
    std::int32_t gender[3] = {1000, 850, 1250};
    std::int32_t layoutBands = 60;
    std::vector<float> edges = {1000.0f, 4000.0f, 22050.0f};

    int keyLookups = 0;
    int voiceLoads = 0;
    int parameterLoads = 0;

    std::string getRecordKey(const std::string& unit, const std::string& /*pitch*/) override
    {
        ++keyLookups;
        const auto found = units.find(unit);
        return found != units.end() ? found->second.pitch : "";
    }
    std::unique_ptr<HalvorenEngineV6::VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        ++voiceLoads;
        const FakeUnit* u = at(unit, pitch);
        if (u == nullptr)
            return nullptr;
        auto r = std::make_unique<HalvorenEngineV6::VoiceSrc>(unit, pitch);
        fill(*r, *u);
        r->material = std::make_unique<HalvorenEngineV6::SrcMaterial>(unit, pitch);
        r->material->floats1.putSamples(u->pitchTrack.data(), static_cast<unsigned>(u->pitchTrack.size()));
        return r;
    }
    std::unique_ptr<HalvorenEngineV6::SrcParameter> getSrcParameter(const std::string& unit,
                                                                    const std::string& pitch) override
    {
        ++parameterLoads;
        const FakeUnit* u = at(unit, pitch);
        if (u == nullptr)
            return nullptr;
        auto r = std::make_unique<HalvorenEngineV6::SrcParameter>(unit, pitch);
        fill(*r, *u);
        return r;
    }
    std::unique_ptr<HalvorenEngineV6::ContinuantSrc> getContinuantSrc(const std::string&, const std::string&) override
    {
        return nullptr;
    }
    std::unique_ptr<HalvorenEngineV6::SrcContinuantParameter> getSrcContinuantParameter(const std::string&,
                                                                                        const std::string&) override
    {
        return nullptr;
    }
    std::int32_t getVersionMajor() override { return major; }
    std::int32_t getVersionMinor() override { return minor; }
    std::int32_t getHopSize() override { return hop; }
    float getSampleRate() override { return rate; }
    float getParam3() override { return 0.0f; }
    float getParam4() override { return 0.0f; }
    float getParam5() override { return 0.0f; }
    float getMaxHarmonicFreq() override { return 0.0f; }
    std::int32_t getPhaseSetting() override { return 0; }
    std::int32_t getParam8() override { return 0; }
    float getPowerAmount() override { return 0.0f; }
    float getPowerCentre() override { return 0.0f; }
    float getPowerWidth() override { return 0.0f; }
    std::string getString1() override { return ""; }
    std::string getString2() override { return ""; }
    std::string getLanguage() override { return language; }
    bool hasExt1() override { return false; }
    std::int32_t getTimbreCount() override { return 0; }
    void getTimbrePitchNames(std::int32_t, std::string& a, std::string& b, std::string& c) override
    {
        a.clear(), b.clear(), c.clear();
    }
    void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) override
    {
        neutral = gender[0], upper = gender[1], lower = gender[2];
    }
    float getHarmLevel() override { return 0.5f; }
    float getNoiseRatio() override { return 1.0f; }
    float getParam28() override { return 0.0f; }
    std::int32_t getLayoutBandCount() override { return layoutBands; }
    const std::vector<float>& getBandEdges() override { return edges; }
    std::int32_t getGridCount() override { return 400; }
    void listUnitNames(std::vector<std::string>&) override {}

private:
    const FakeUnit* at(const std::string& unit, const std::string& pitch) const
    {
        const auto found = units.find(unit);
        return found != units.end() && found->second.pitch == pitch ? &found->second : nullptr;
    }
    static void fill(HalvorenEngineV6::SrcParameter& r, const FakeUnit& u)
    {
        r.v6Param1 = u.mark1;
        r.v6Param2 = u.mark2;
    }
};

}  // namespace v6test
