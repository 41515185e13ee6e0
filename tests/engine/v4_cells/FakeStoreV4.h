#pragma once
// What the cell-loop tests share: a store held in memory, a symbol manager
// answering from small sets, and notes placed on frames.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/engine/MakerFixtures.h"

namespace v4test {

using HalvorenEngineV4::SrcContinuantParameter;
using HalvorenEngineV4::SrcParameter;
using HalvorenEngineV4::VoiceSrc;

// The maker tests' store with a hop and rate of choice, parameter records
// that carry their numbers, and counts of the records loaded.
class FakeStore : public makertest::FakeStore {
public:
    int hop = 128;
    float rate = 44100.0f;
    std::map<std::string, int> voiceLoads;

    // v4Param1..5 and a number of voiced model frames (0: none), every
    // harmonic at harmonicDb.
    void addVoice(const std::string& unit, std::array<std::int32_t, 5> params, int frames = 0,
                  float harmonicDb = -20.0f)
    {
        voices[unit] = {params, makertest::levelFrames(frames, harmonicDb)};
    }
    void addContinuant(const std::string& name, std::int32_t first, std::int32_t count, int frames = 0)
    {
        continuants[name] = {first, count, makertest::levelFrames(frames, -20.0f)};
    }
    // How often the index was asked for unit.
    int keyAsks(const std::string& unit) const
    {
        return static_cast<int>(std::count(asked.begin(), asked.end(), unit));
    }

    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        ++voiceLoads[unit];
        return makertest::FakeStore::getVoiceSrc(unit, pitch);
    }
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override
    {
        const auto at = voices.find(unit);
        if (at == voices.end())
            return nullptr;
        auto r = std::make_unique<SrcParameter>(unit, pitch);
        at->second.fill(*r);
        return r;
    }
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override
    {
        const auto at = continuants.find(unit);
        if (at == continuants.end())
            return nullptr;
        auto r = std::make_unique<SrcContinuantParameter>(unit, pitch);
        at->second.fill(*r);
        return r;
    }
    std::int32_t getHopSize() override { return hop; }
    float getSampleRate() override { return rate; }
};

// The cell tests' symbol manager with finals sung alone (their out flag
// clear, unlike the flagged `finals`) and a consonant substitution table.
struct StubSymbols : celltest::StubSymbols {
    std::set<std::string> bareFinals;
    std::map<std::string, std::string> substitutes;
    bool isFinal(const std::string& s, bool& flag) override
    {
        flag = finals.count(s) != 0;
        return bareFinals.count(s) != 0 || flag;
    }
    std::string substituteConsonant(const std::string& s) override
    {
        const auto at = substitutes.find(s);
        return at != substitutes.end() ? at->second : s;
    }
};

using celltest::note;

}  // namespace v4test
