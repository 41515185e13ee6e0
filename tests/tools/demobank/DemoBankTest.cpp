#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "DemoBank.h"
#include "SongScore.h"
#include "engine/CellListCache.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3/SourceStore_pkg.h"
#include "lyrics/ChnSymbolMgr.h"
#include "render/synth/PitchNames.h"
#include "support/bank/BankTree.h"
#include "voicebank/SingerMgr.h"

namespace {

using namespace HalvorenEngineV3;

constexpr float kRate = 44100.0f;
constexpr int kHop = 128;

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool allFinite(const std::vector<float>& v)
{
    return std::all_of(v.begin(), v.end(), [](float x) { return std::isfinite(x); });
}

// The example song's notes moved to start at 0 s after a lead-in of 0.3 s,
// with a pitch curve holding each note's pitch.
HalvorenEngine::SynthScoreV3 song()
{
    HalvorenEngine::SynthScoreV3 score = demobank::songScore(HV_EXAMPLE_SONG, "demo-cmn");
    const float first = score.notes.front().start;
    score.leadIn = 0.3f;
    for (HalvorenEngine::SynthNoteV3& n : score.notes) {
        n.start -= first;
        n.elemTime0 = 1.0f;
        const float hz = 220.0f * std::exp2(float(58 - pitchNameToKeyIndex(n.timbre)) / 12.0f);
        score.curves[HalvorenEngine::kScorePitch].push_back({n.start, hz});
        score.curves[HalvorenEngine::kScorePitch].push_back({n.start + n.duration - 0.001f, hz});
    }
    return score;
}

// The bank built once for every test here, written into a scratch program folder.
class DemoBankTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Halvoren::ChnSymbolMgr symbols;
        demobank::DemoBankMaker maker(symbols, demobank::measureLevelCalibration());
        bank_ = new testbank::SingingBank(maker.bank(demobank::songUnits(symbols, song())));
        tree_ = new testbank::BankTree("demo_bank");
        folder_ = tree_->addPackage("demo-cmn", "3.1", "demo-cmn", testbank::writeSingingBank(*bank_));
    }
    static void TearDownTestSuite()
    {
        delete tree_;
        delete bank_;
    }

    static testbank::SingingBank* bank_;
    static testbank::BankTree* tree_;
    static std::filesystem::path folder_;
};

testbank::SingingBank* DemoBankTest::bank_ = nullptr;
testbank::BankTree* DemoBankTest::tree_ = nullptr;
std::filesystem::path DemoBankTest::folder_;

TEST_F(DemoBankTest, OpensAsThreePointOneWithEveryRecordTheSongAsksFor)
{
    SingerMgr singers;
    std::string name;
    singers.loadSinger(CString::fromUtf8((folder_ / "bank.hvsd").string()), name);
    ASSERT_EQ(name, "demo-cmn");
    EXPECT_EQ(singers.findSinger("demo-cmn")->getVersion(), "3.1");

    SourceStore_pkg store(testbank::packageBasePath(folder_));
    CellMakerState state(store, std::make_unique<Halvoren::ChnSymbolMgr>());
    CachedCellRecords records(state);
    const HalvorenEngine::SynthScoreV3 score = song();
    const WalkTiming timing{kRate, float(kHop), std::trunc(kRate * score.leadIn)};
    std::vector<CellRecord> cells;
    for (std::size_t k = 0; k < score.notes.size(); ++k)
        walkNote(state.symbols(), records, score, k, timing, cells);
    ASSERT_EQ(cells.size(), 8u);
    // lan-tian, tian-bai and yun-piao join unvoiced initials (kind 1),
    // bai-yun and ai-ni voiced ones (kind 2), wo-ai a bare final (kind 3);
    // piao before the rest and ni at the end join nothing (kind 0).
    const int kinds[] = {1, 1, 2, 1, 0, 3, 2, 0};
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const CellLayout lay = layoutCell(state.symbols(), records, cells[k]);
        EXPECT_NE(lay.m1, nullptr) << score.notes[k].symbol;
        EXPECT_EQ(lay.kind, kinds[k]) << score.notes[k].symbol;
        if (lay.kind == 1 || lay.kind == 2)
            EXPECT_NE(lay.c, nullptr) << score.notes[k].symbol;
    }
    EXPECT_NE(records.voice("la", "E3"), nullptr);
}

TEST_F(DemoBankTest, EveryRecordLiesInsideItsFrames)
{
    for (const testbank::SingingVoice& v : bank_->voices) {
        const std::int32_t begin = v.values[0], end = v.values[1], p3 = v.values[2], p4 = v.values[3],
                           p5 = v.values[4];
        const auto frames = static_cast<std::int32_t>(v.frames.size());
        EXPECT_LE(begin, end) << v.unit;
        EXPECT_LE(end, p3) << v.unit;
        EXPECT_LT(p3, p4) << v.unit;
        EXPECT_LE(p4 + p5, frames) << v.unit;
        EXPECT_EQ(v.values[10], kHop) << v.unit;
    }
    for (const testbank::SingingContinuant& c : bank_->continuants) {
        EXPECT_GT(c.param2, 0) << c.unit;
        EXPECT_LE(c.param1 + c.param2, static_cast<std::int32_t>(c.frames.size())) << c.unit;
    }
}

TEST_F(DemoBankTest, FramesAreFiniteAndBandsEmptyExactlyWherePeaksAre)
{
    auto check = [](const std::string& unit, const std::vector<testbank::PlainFrame>& frames) {
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const testbank::PlainFrame& f = frames[i];
            ASSERT_TRUE(std::isfinite(f.f0Step)) << unit << " frame " << i;
            ASSERT_TRUE(allFinite(f.harmonicsDb) && allFinite(f.bands) && allFinite(f.magsA) && allFinite(f.magsB))
                << unit << " frame " << i;
            ASSERT_EQ(f.bands.empty(), f.harmonicsDb.empty()) << unit << " frame " << i;
            if (!f.bands.empty())
                ASSERT_EQ(f.bands.size(), 64u) << unit << " frame " << i;
            ASSERT_EQ(f.magsA.size(), 257u) << unit << " frame " << i;
            ASSERT_EQ(f.magsB.size(), 257u) << unit << " frame " << i;
        }
    };
    for (const testbank::SingingVoice& v : bank_->voices)
        check(v.unit, v.frames);
    for (const testbank::SingingContinuant& c : bank_->continuants)
        check(c.unit, c.frames);
}

// The build tree's bank came from another process: the same bytes.
TEST_F(DemoBankTest, TwoBuildsAreByteIdentical)
{
    const std::filesystem::path built = std::filesystem::path(HV_PROGRAM_FOLDER) / "singers" / "demo-cmn";
    for (const char* file : {"HVI", "HVC"}) {
        const std::string ours = fileBytes(folder_ / file);
        ASSERT_FALSE(ours.empty()) << file;
        EXPECT_TRUE(ours == fileBytes(built / file)) << file;
    }
}

// The song's frames made into a list, as a job without a listener makes
// them: every envelope and peak value is a number.
TEST_F(DemoBankTest, SongFramesMadeIntoAListAreFinite)
{
    SourceStore_pkg store(testbank::packageBasePath(folder_));
    CellMakerState state(store, std::make_unique<Halvoren::ChnSymbolMgr>());
    HalvorenEngine::SynthScoreV3 score = song();
    state.setStop(false);
    HalvorenEngine::CellListCache list;
    buildCells(state, score, list);
    // Five seconds of notes (the rest has no cell): more than 5 * 44100 / 128 = 1722 frames.
    ASSERT_GT(list.frames().size(), 1722u);
    for (const auto& f : list.frames()) {
        const float* m = f->mags.ptrBegin();
        for (std::uint32_t b = 0; b < f->mags.numSamples(); ++b)
            ASSERT_TRUE(std::isfinite(m[b])) << "frame " << f->index << " bin " << b;
        ASSERT_TRUE(allFinite(f->peaks.freqs) && allFinite(f->peaks.mags) && allFinite(f->peaks.phases))
            << "frame " << f->index;
    }
}

}  // namespace
