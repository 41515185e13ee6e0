#pragma once
// Unit records with all five marks and compact models of frames described
// in code, continuant recordings, a cell-maker state over them with the
// ka/ma table, and a listener that keeps every frame made.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/engine/ModelFixtures.h"
#include "support/engine/FakeStoreV6.h"
#include "engine/v6/CellMakerState.h"
#include "engine/v6/CellParts.h"
#include "lyrics/v6/CVVCMgr.h"

namespace v6test {

struct PartsUnit {
    std::int32_t marks[5] = {0, 0, 0, 0, 0};  // v6Param1 .. v6Param5
    Frames frames;
};

struct PartsContinuant {
    std::int32_t first = 0, count = 0;  // v6ContParam1, v6ContParam2
    Frames frames;
};

class PartsStore : public FakeStoreV6 {
public:
    std::map<std::string, PartsUnit> voices;
    std::map<std::string, PartsContinuant> continuants;  // by first + "_" + second

    std::string getRecordKey(const std::string& unit, const std::string&) override
    {
        return voices.count(unit) != 0 || continuants.count(unit) != 0 ? "C4" : "";
    }
    std::unique_ptr<HalvorenEngineV6::VoiceSrc> getVoiceSrc(const std::string& unit, const std::string& pitch) override
    {
        const auto found = voices.find(unit);
        if (found == voices.end())
            return nullptr;
        auto r = std::make_unique<HalvorenEngineV6::VoiceSrc>(unit, pitch);
        fill(*r, found->second);
        r->material = std::make_unique<HalvorenEngineV6::SrcMaterial>(unit, pitch);
        readModel(found->second.frames, *r->material);
        return r;
    }
    std::unique_ptr<HalvorenEngineV6::SrcParameter> getSrcParameter(const std::string& unit,
                                                                    const std::string& pitch) override
    {
        const auto found = voices.find(unit);
        if (found == voices.end())
            return nullptr;
        auto r = std::make_unique<HalvorenEngineV6::SrcParameter>(unit, pitch);
        fill(*r, found->second);
        return r;
    }
    std::unique_ptr<HalvorenEngineV6::ContinuantSrc> getContinuantSrc(const std::string& unit,
                                                                      const std::string& pitch) override
    {
        const auto found = continuants.find(unit);
        if (found == continuants.end())
            return nullptr;
        auto r = std::make_unique<HalvorenEngineV6::ContinuantSrc>(unit, pitch);
        r->v6ContParam1 = found->second.first;
        r->v6ContParam2 = found->second.count;
        r->material = std::make_unique<HalvorenEngineV6::SrcMaterial>(unit, pitch);
        readModel(found->second.frames, *r->material);
        return r;
    }
    std::unique_ptr<HalvorenEngineV6::SrcContinuantParameter> getSrcContinuantParameter(
        const std::string& unit, const std::string& pitch) override
    {
        const auto found = continuants.find(unit);
        if (found == continuants.end())
            return nullptr;
        auto r = std::make_unique<HalvorenEngineV6::SrcContinuantParameter>(unit, pitch);
        r->v6ContParam1 = found->second.first;
        r->v6ContParam2 = found->second.count;
        return r;
    }

private:
    static void fill(HalvorenEngineV6::SrcParameter& r, const PartsUnit& u)
    {
        r.v6Param1 = u.marks[0];
        r.v6Param2 = u.marks[1];
        r.v6Param3 = u.marks[2];
        r.v6Param4 = u.marks[3];
        r.v6Param5 = u.marks[4];
    }
};

// n voiced frames at 220 Hz of one level, noise bands 40 dB below.
inline Frames voicedFrames(int n, float levelDb, float f0 = 220.0f)
{
    return Frames(static_cast<std::size_t>(n), flatFrame(f0, levelDb, 50, 0.0f, 0.5f, 0.0f, 8));
}

class PartsTest : public ::testing::Test, private HalvorenEngineV6::ICellBuildingListener {
protected:
    PartsTest() : state(44100.0f)
    {
        auto symbols = std::make_unique<HalvorenEngineV6::CVVCMgr>();
        symbols->parseTable("ka,k,a;ma,m,a|m||a,a|br1");
        state.setSymbols(std::move(symbols));
        store.hop = 256;
        state.attachStore(store);
        score.curves[HalvorenEngine::kScorePitch] = {{0.0f, 220.0f}, {100.0f, 220.0f}};
        state.prepare(score);
        state.setListener(this);
        // ka: consonant 0..9 (c 10), head 10..19 (h 10) at -20 dB.
        store.voices["ka"] = {{0, 10, 20, 40, 20}, voicedFrames(80, -20.0f)};
        // a: body 0..29 (m 30) at -10 dB, then 20 tail frames.
        store.voices["a"] = {{0, 0, 0, 30, 20}, voicedFrames(60, -10.0f)};
        store.continuants["a_-"] = {0, 20, voicedFrames(30, -12.0f)};
        // br1: frames 2 .. 19 sung (12 + 8 - 2 = 18), at -60 dB.
        store.voices["br1"] = {{2, 4, 6, 12, 8}, voicedFrames(30, -60.0f)};
    }

    void make(const HalvorenEngineV6::CellRecord& cell)
    {
        frames.clear();
        HalvorenEngine::CellListCache list;
        HalvorenEngineV6::makeCellFrames(cell, state, list);
    }

    // A valid cell of symbol at C4 starting at frame 100.
    static HalvorenEngineV6::CellRecord cellOf(const std::string& symbol, const std::string& unit, int offset,
                                               int length)
    {
        HalvorenEngineV6::CellRecord c;
        c.names.symbol = symbol;
        c.names.unit = unit;
        c.names.timbre = "C4";
        c.names.final = "a";
        c.cellStart = 100;
        c.cellOffset = offset;
        c.cellLength = length;
        c.noteLength = length;
        c.valid = 1;
        return c;
    }

    std::vector<int> indices() const
    {
        std::vector<int> out;
        for (const auto& f : frames)
            out.push_back(f.index);
        return out;
    }

    PartsStore store;
    HalvorenEngineV6::CellMakerState state;
    HalvorenEngine::SynthScoreV3 score;
    std::vector<Halvoren::SynthFrameV6> frames;

private:
    void onCellBuilt(Halvoren::SynthFrameV6& frame) override
    {
        frames.emplace_back();
        Halvoren::SynthFrameV6& kept = frames.back();
        kept.index = frame.index;
        kept.localIndex = frame.localIndex;
        kept.levelDb = frame.levelDb;
        kept.glottalShape = frame.glottalShape;
        kept.refValue = frame.refValue;
        kept.modFloor = frame.modFloor;
        kept.peaks.assign(frame.peaks);
        kept.noiseBands.assign(frame.noiseBands);
        kept.mags.assign(frame.mags);
        kept.trackFrame.assign(frame.trackFrame);
    }
};

}  // namespace v6test
