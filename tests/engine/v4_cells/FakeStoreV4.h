#pragma once
// A fourth-generation store held in memory for the cell-loop tests: voices
// and continuants by unit, each at one pitch ("C4"), materials built from
// plain frames, and counters of what was asked.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dsp/CMemoryStream.h"
#include "engine/SynthScoreV3.h"
#include "engine/v4/ISourceStore.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/bank/GhrModelWriter.h"

namespace v4test {

using HalvorenEngineV4::ContinuantSrc;
using HalvorenEngineV4::SrcContinuantParameter;
using HalvorenEngineV4::SrcMaterial;
using HalvorenEngineV4::SrcParameter;
using HalvorenEngineV4::VoiceSrc;

inline std::unique_ptr<SrcMaterial> materialFrom(const std::vector<testbank::PlainFrame>& frames)
{
    auto material = std::make_unique<SrcMaterial>("", "");
    const std::string bytes = testbank::ghrModelBytes(frames);
    Halvoren::CMemoryBuffer buffer;
    buffer.bytes().putSamples(bytes.data(), static_cast<unsigned>(bytes.size()));
    Halvoren::CMemoryStream stream(&buffer);
    material->readFrom(stream);
    return material;
}

// n voiced frames: harmonics of 220 Hz at -20 dB.
inline std::vector<testbank::PlainFrame> voicedFrames(int n)
{
    std::vector<testbank::PlainFrame> frames(n);
    for (testbank::PlainFrame& f : frames)
        f.harmonicsDb.assign(90, -20.0f);
    return frames;
}

// The spans of a voice record: onset p1..p2, middle p2..p3, steady p3..p4,
// release p5 frames.
struct Voice {
    int p1 = 0, p2 = 0, p3 = 0, p4 = 0, p5 = 0;
    int frames = 0;  // model frames; 0 makes none
};
struct Continuant {
    int first = 0, count = 0;
    int frames = 0;
};

class FakeStore : public HalvorenEngineV4::ISourceStore {
public:
    std::map<std::string, Voice> voices;
    std::map<std::string, Continuant> continuants;
    int hop = 128;
    float rate = 44100.0f;
    bool ext1 = false;
    // Calls per unit name.
    std::map<std::string, int> keyAsks, parameterLoads, voiceLoads;

    std::string getRecordKey(const std::string& unit, const std::string&) override
    {
        ++keyAsks[unit];
        return voices.count(unit) != 0 || continuants.count(unit) != 0 ? "C4" : "";
    }
    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        ++voiceLoads[unit];
        const auto at = voices.find(unit);
        if (at == voices.end())
            return nullptr;
        auto r = std::make_unique<VoiceSrc>(unit, pitch);
        fill(*r, at->second);
        r->material = materialFrom(voicedFrames(at->second.frames));
        return r;
    }
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override
    {
        ++parameterLoads[unit];
        const auto at = voices.find(unit);
        if (at == voices.end())
            return nullptr;
        auto r = std::make_unique<SrcParameter>(unit, pitch);
        fill(*r, at->second);
        return r;
    }
    std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) override
    {
        const auto at = continuants.find(unit);
        if (at == continuants.end())
            return nullptr;
        auto r = std::make_unique<ContinuantSrc>(unit, pitch);
        r->v4ContParam1 = at->second.first;
        r->v4ContParam2 = at->second.count;
        r->material = materialFrom(voicedFrames(at->second.frames));
        return r;
    }
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override
    {
        const auto at = continuants.find(unit);
        if (at == continuants.end())
            return nullptr;
        auto r = std::make_unique<SrcContinuantParameter>(unit, pitch);
        r->v4ContParam1 = at->second.first;
        r->v4ContParam2 = at->second.count;
        return r;
    }
    void* getNothing(const void*) override { return nullptr; }
    std::int32_t getHopSize() override { return hop; }
    float getSampleRate() override { return rate; }
    float getParam3() override { return 0.0f; }
    float getParam4() override { return 0.0f; }
    float getParam5() override { return 0.0f; }
    float getMaxHarmonicFreq() override { return 16000.0f; }
    std::int32_t getPhaseSetting() override { return 20; }
    std::int32_t getParam8() override { return 0; }
    float getPowerAmount() override { return 0.0f; }
    float getPowerCentre() override { return 3000.0f; }
    float getPowerWidth() override { return 1000.0f; }
    std::string getString1() override { return ""; }
    std::string getString2() override { return ""; }
    std::string getLanguage() override { return ""; }
    bool hasExt1() override { return ext1; }
    std::int32_t getTimbreCount() override { return 0; }
    void getTimbrePitchNames(std::int32_t, std::string& a, std::string& b, std::string& c) override
    {
        a.clear();
        b.clear();
        c.clear();
    }
    void getGenderRatios(std::int32_t& neutral, std::int32_t& upper, std::int32_t& lower) override
    {
        neutral = 1000;
        upper = 850;
        lower = 1250;
    }
    float getHarmLevel() override { return 0.5f; }
    float getNoiseLevel() override { return 1.2f; }
    float getTiltAtZero() override { return -20.0f; }

private:
    static void fill(SrcParameter& r, const Voice& v)
    {
        r.v4Param1 = v.p1;
        r.v4Param2 = v.p2;
        r.v4Param3 = v.p3;
        r.v4Param4 = v.p4;
        r.v4Param5 = v.p5;
    }
};

// A symbol manager answering from small sets; a symbol splits at its first
// character, and the consonant substitution maps by a table.
struct StubSymbols : Halvoren::NullSymbolMgr {
    // Finals sung alone (out flag clear) and finals that keep their flag.
    std::set<std::string> breaths, voiced, bareFinals, flaggedFinals;
    std::map<std::string, std::string> substitutes;
    void splitSyllable(const std::string& s, std::string& c, std::string& v) override
    {
        c = s.substr(0, 1);
        v = s.size() > 1 ? s.substr(1) : "";
    }
    bool isBreath(const std::string& s) override { return breaths.count(s) != 0; }
    bool isVoiced(const std::string& s) override { return voiced.count(s) != 0; }
    bool isFinal(const std::string& s, bool& flag) override
    {
        flag = flaggedFinals.count(s) != 0;
        return bareFinals.count(s) != 0 || flag;
    }
    std::string substituteConsonant(const std::string& s) override
    {
        const auto at = substitutes.find(s);
        return at != substitutes.end() ? at->second : s;
    }
};

// A score of constant curves: pitch 220 Hz, everything else 0.
inline HalvorenEngine::SynthScoreV3 flatScore()
{
    HalvorenEngine::SynthScoreV3 score;
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, 220.0f}};
    return score;
}

// Frame F's time plus half a frame at hop 128, so it lands on frame F.
inline float atFrame(float f) { return (f + 0.5f) * 128.0f / 44100.0f; }

inline HalvorenEngine::SynthNoteV3 note(const std::string& symbol, float startFrame, float frames,
                                        float e0 = 1.0f)
{
    HalvorenEngine::SynthNoteV3 n;
    n.symbol = symbol;
    n.timbre = "C4";
    n.crossTimbre = "C4";
    n.start = atFrame(startFrame);
    n.duration = frames * 128.0f / 44100.0f;
    n.elemTime0 = e0;
    n.breakAfter = 1;
    return n;
}

}  // namespace v4test
