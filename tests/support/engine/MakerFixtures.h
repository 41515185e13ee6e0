#pragma once
// A fourth-generation store held in memory for the maker tests: voices and
// continuants by unit, each at one pitch, with materials built from plain
// frames; it records every unit asked of the index. A state that captures
// its frames in a list, and frames of chosen levels.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/v4/CellMakerState.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/bank/WriterNames.h"
#include "support/engine/CellFixtures.h"
#include "tools/bankwriter/GhrModelWriter.h"

namespace makertest {

using HalvorenEngineV4::ContinuantSrc;
using HalvorenEngineV4::SrcContinuantParameter;
using HalvorenEngineV4::SrcMaterial;
using HalvorenEngineV4::SrcParameter;
using HalvorenEngineV4::VoiceSrc;

inline std::unique_ptr<SrcMaterial> materialFrom(const std::vector<testbank::PlainFrame>& frames)
{
    return celltest::materialFrom<SrcMaterial>(frames);
}

// n frames with every harmonic of 220 Hz at harmonicDb (none when
// unvoiced), every band at bandDb and envelope frame p of the first store at
// -scale * p dB (the second store 0), so a frame's origin reads back from
// its envelope.
inline std::vector<testbank::PlainFrame> levelFrames(int n, float harmonicDb, float bandDb = -30.0f,
                                                     float scale = 1.0f, bool voiced = true)
{
    std::vector<testbank::PlainFrame> frames(n);
    for (int p = 0; p < n; ++p) {
        if (voiced)
            frames[p].harmonicsDb.assign(90, harmonicDb);
        frames[p].magsA.assign(257, -scale * static_cast<float>(p));
        frames[p].magsB.assign(257, 0.0f);
        frames[p].bands.assign(64, bandDb);
    }
    return frames;
}

struct Voice {
    std::array<std::int32_t, 5> params{};  // v4Param1..5
    std::vector<testbank::PlainFrame> frames;

    void fill(HalvorenEngineV4::SrcParameter& r) const
    {
        r.v4Param1 = params[0];
        r.v4Param2 = params[1];
        r.v4Param3 = params[2];
        r.v4Param4 = params[3];
        r.v4Param5 = params[4];
    }
};
struct Continuant {
    std::int32_t first = 0;
    std::int32_t count = 0;
    std::vector<testbank::PlainFrame> frames;

    void fill(HalvorenEngineV4::SrcContinuantParameter& r) const
    {
        r.v4ContParam1 = first;
        r.v4ContParam2 = count;
    }
};

class FakeStore : public celltest::FakeHeaderSlots<HalvorenEngineV4::ISourceStore> {
public:
    std::map<std::string, Voice> voices;
    std::map<std::string, Continuant> continuants;
    std::vector<std::string> asked;  // every unit getRecordKey was asked for

    std::string getRecordKey(const std::string& unit, const std::string&) override
    {
        asked.push_back(unit);
        return voices.count(unit) != 0 || continuants.count(unit) != 0 ? "C4" : "";
    }
    std::unique_ptr<VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        const auto at = voices.find(unit);
        if (at == voices.end())
            return nullptr;
        auto r = std::make_unique<VoiceSrc>(unit, pitch);
        at->second.fill(*r);
        r->material = materialFrom(at->second.frames);
        r->material->ext1.rows = 1;
        return r;
    }
    std::unique_ptr<SrcParameter> getSrcParameter(const std::string& unit, const std::string& pitch) override
    {
        return voices.count(unit) != 0 ? std::make_unique<SrcParameter>(unit, pitch) : nullptr;
    }
    std::unique_ptr<ContinuantSrc> getContinuantSrc(const std::string& unit, const std::string& pitch) override
    {
        const auto at = continuants.find(unit);
        if (at == continuants.end())
            return nullptr;
        auto r = std::make_unique<ContinuantSrc>(unit, pitch);
        at->second.fill(*r);
        r->material = materialFrom(at->second.frames);
        return r;
    }
    std::unique_ptr<SrcContinuantParameter> getSrcContinuantParameter(const std::string& unit,
                                                                       const std::string& pitch) override
    {
        return continuants.count(unit) != 0 ? std::make_unique<SrcContinuantParameter>(unit, pitch) : nullptr;
    }
    float getHarmLevel() override { return 0.5f; }
    float getNoiseLevel() override { return 1.2f; }
    float getTiltAtZero() override { return -20.0f; }
};

// A state over a fake store whose frames land in a list.
struct MakerBench {
    MakerBench() : state(store, std::make_unique<Halvoren::NullSymbolMgr>()) {}

    void prepare(const HalvorenEngine::SynthScoreV3& score = celltest::flatScore()) { state.prepare(score); }
    HalvorenEngineV3::CellCursor cursor(int firstFrame = 0) { return {firstFrame, local, list, nullptr}; }
    const std::vector<std::unique_ptr<HalvorenEngine::SynthFrame>>& frames() const { return list.frames(); }
    // The loudest harmonic of frame k, and its envelope's first value.
    float level(std::size_t k) const { return frames()[k]->peaks.maxMagDb(); }
    float envelope(std::size_t k) const { return frames()[k]->mags.ptrBegin()[0]; }

    FakeStore store;
    HalvorenEngineV4::CellMakerState state;
    HalvorenEngine::CellListCache list;
    int local = 0;
};

}  // namespace makertest
