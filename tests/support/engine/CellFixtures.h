#pragma once
// A third-generation store held in memory for the cell tests: voices and
// continuants by unit, each at one pitch, with materials built from plain
// frames; and a state that captures its frames in a list.
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "dsp/CMemoryStream.h"
#include "engine/v3/CellMakerState.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/bank/WriterNames.h"
#include "support/engine/PhraseRun.h"
#include "tools/bankwriter/GhrModelWriter.h"

namespace celltest {

using HalvorenEngineV3::ContinuantSrc;
using HalvorenEngineV3::SrcContinuantParameter;
using HalvorenEngineV3::SrcMaterial;
using HalvorenEngineV3::SrcParameter;
using HalvorenEngineV3::VoiceSrc;

template <class Material = SrcMaterial>
std::unique_ptr<Material> materialFrom(const std::vector<testbank::PlainFrame>& frames)
{
    auto material = std::make_unique<Material>("", "");
    const std::string bytes = testbank::ghrModelBytes(frames);
    Halvoren::CMemoryBuffer buffer;
    buffer.bytes().putSamples(bytes.data(), static_cast<unsigned>(bytes.size()));
    Halvoren::CMemoryStream stream(&buffer);
    material->readFrom(stream);
    return material;
}

// n voiced frames: harmonics of 220 Hz at level dB, residual frame p all at
// -p dB (so a frame's origin reads back from its residual).
inline std::vector<testbank::PlainFrame> numberedFrames(int n, float level = -20.0f)
{
    std::vector<testbank::PlainFrame> frames(n);
    for (int p = 0; p < n; ++p) {
        frames[p].harmonicsDb.assign(90, level);
        frames[p].magsA.assign(257, -static_cast<float>(p));
        frames[p].magsB.assign(257, -static_cast<float>(p));
    }
    return frames;
}

struct VoiceEntry {
    Halvoren::VoiceValues<3> values;
    std::vector<testbank::PlainFrame> frames;
};
struct ContinuantEntry {
    int param1 = 0;
    int param2 = 0;
    std::vector<testbank::PlainFrame> frames;
};

// The bank-wide slots of a fake store of the third or fourth generation:
// hop, "ext1" flag and gender ratios as set; the rest fixed.
template <class Interface>
class FakeHeaderSlots : public Interface {
public:
    int hop = 128;
    bool ext1 = false;
    std::int32_t ratios[3] = {1000, 850, 1250};

    void* getNothing(const void*) override { return nullptr; }
    std::int32_t getHopSize() override { return hop; }
    float getSampleRate() override { return 44100.0f; }
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
    std::string getLanguage() override { return "CHN"; }
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
        neutral = ratios[0];
        upper = ratios[1];
        lower = ratios[2];
    }
};

class FakeStore : public FakeHeaderSlots<HalvorenEngineV3::ISourceStore> {
public:
    std::map<std::string, VoiceEntry> voices;
    std::map<std::string, ContinuantEntry> continuants;

    std::string getRecordKey(const std::string& unit, const std::string&) override
    {
        return voices.count(unit) != 0 || continuants.count(unit) != 0 ? "C4" : "";
    }
    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        const auto at = voices.find(unit);
        if (at == voices.end())
            return nullptr;
        auto r = std::make_unique<VoiceSrc>(unit, pitch);
        static_cast<Halvoren::VoiceValues<3>&>(*r) = at->second.values;
        r->material = materialFrom(at->second.frames);
        return r;
    }
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override
    {
        const auto at = voices.find(unit);
        if (at == voices.end())
            return nullptr;
        auto r = std::make_unique<SrcParameter>(unit, pitch);
        static_cast<Halvoren::VoiceValues<3>&>(*r) = at->second.values;
        return r;
    }
    std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) override
    {
        const auto at = continuants.find(unit);
        if (at == continuants.end())
            return nullptr;
        auto r = std::make_unique<ContinuantSrc>(unit, pitch);
        r->param1 = at->second.param1;
        r->param2 = at->second.param2;
        r->material = materialFrom(at->second.frames);
        return r;
    }
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override
    {
        const auto at = continuants.find(unit);
        if (at == continuants.end())
            return nullptr;
        auto r = std::make_unique<SrcContinuantParameter>(unit, pitch);
        r->param1 = at->second.param1;
        r->param2 = at->second.param2;
        return r;
    }
};

// "ma": onset 0..10, middle 10..20, body 20..60, end 60..80; residual -p.
inline VoiceEntry maVoice(float level = -20.0f)
{
    VoiceEntry v;
    v.values.beginPos = 0;
    v.values.endPos = 10;
    v.values.param3 = 20;
    v.values.param4 = 60;
    v.values.param5 = 20;
    v.frames = numberedFrames(80, level);
    return v;
}

// A score of constant curves: pitch 220 Hz, everything else 0.
inline HalvorenEngine::SynthScoreV3 flatScore()
{
    HalvorenEngine::SynthScoreV3 score;
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, 220.0f}};
    return score;
}

// A symbol manager answering from small sets; a symbol splits at its first
// character, and a final keeps its out flag.
struct StubSymbols : Halvoren::NullSymbolMgr {
    std::set<std::string> breaths, valid, voiced, finals;
    void splitSyllable(const std::string& s, std::string& c, std::string& v) override
    {
        c = s.substr(0, 1);
        v = s.size() > 1 ? s.substr(1) : "";
    }
    bool isBreath(const std::string& s) override { return breaths.count(s) != 0; }
    bool isValidSymbol(const std::string& s) override { return valid.count(s) != 0; }
    bool isVoiced(const std::string& s) override { return voiced.count(s) != 0; }
    bool isFinal(const std::string& s, bool& standsAlone) override
    {
        standsAlone = true;
        return finals.count(s) != 0;
    }
};

// Frame F's time plus half a frame at hop 128, so it lands on frame F.
inline float atFrame(float f) { return (f + 0.5f) * 128.0f / 44100.0f; }

// A note of the given frames at hop 128, never joined to the next.
inline HalvorenEngine::SynthNoteV3 note(const std::string& symbol, float startFrame, float frames, float e0 = 1.0f)
{
    HalvorenEngine::SynthNoteV3 n = enginetest::sung(symbol, atFrame(startFrame), frames * 128.0f / 44100.0f, e0);
    n.breakAfter = 1;
    return n;
}

}  // namespace celltest
