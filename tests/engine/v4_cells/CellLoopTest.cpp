#include <gtest/gtest.h>

#include <cmath>

#include "FakeStoreV4.h"
#include "engine/v4/BuildCells.h"
#include "engine/v4/PrepareCells.h"

namespace {

using namespace HalvorenEngineV4;
using v4test::FakeStore;
using v4test::StubSymbols;

// At 12800 Hz and hop 128 a frame is 0.01 s.
constexpr float kRate = 12800.0f;

HalvorenEngine::SynthNoteV3 at(const std::string& symbol, int startFrame, int frames, std::uint8_t brk = 1)
{
    HalvorenEngine::SynthNoteV3 n = enginetest::sung(symbol, (static_cast<float>(startFrame) + 0.5f) / 100.0f,
                                                     static_cast<float>(frames) / 100.0f);
    n.breakAfter = brk;
    return n;
}

// A bank where every part of "ma" can be made: onset 0..6, middle 6..9,
// steady 9..25, release 8; continuants "-" and "m".
std::unique_ptr<FakeStore> maBank()
{
    auto store = std::make_unique<FakeStore>();
    store->rate = kRate;
    store->addVoice("ma", {0, 6, 9, 25, 8}, 40);
    store->addVoice("br", {0, 10, 12, 30, 10}, 50);  // breath span 10 + 30 - 10 = 30
    store->addContinuant("-", 2, 10, 20);
    store->addContinuant("m", 1, 12, 20);
    return store;
}

struct LoopRun {
    std::unique_ptr<FakeStore> store = maBank();
    StubSymbols* symbols = nullptr;
    std::unique_ptr<CellMakerState> state;
    HalvorenEngine::CellListCache list;

    LoopRun()
    {
        auto owned = std::make_unique<StubSymbols>();
        owned->breaths = {"br"};
        symbols = owned.get();
        state = std::make_unique<CellMakerState>(*store, std::move(owned));
        state->setStop(false);
    }
    void sing(HalvorenEngine::SynthScoreV3 score) { runCellLoop(*state, score, list); }
};

HalvorenEngine::SynthScoreV3 scoreOf(std::vector<HalvorenEngine::SynthNoteV3> notes)
{
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    score.notes = std::move(notes);
    return score;
}

// The frames of each cell in emission order: a cell's counter only grows,
// so a counter that does not exceed the last one starts the next cell.
std::vector<std::vector<const HalvorenEngine::SynthFrame*>> byCell(const HalvorenEngine::CellListCache& list)
{
    std::vector<std::vector<const HalvorenEngine::SynthFrame*>> cells;
    int last = -1;
    for (const auto& f : list.frames()) {
        if (cells.empty() || f->localIndex <= last)
            cells.emplace_back();
        cells.back().push_back(f.get());
        last = f->localIndex;
    }
    return cells;
}

int frames(float seconds) { return static_cast<int>(std::lround(seconds * 100.0f)); }

TEST(V4Loop, BreathSingsTheLastFramesOfItsNote)
{
    LoopRun run;
    run.sing(scoreOf({at("br", 200, 100)}));
    const auto& out = run.list.frames();
    // 100 > 2 * 30: the last 60 frames, 240 .. 299.
    ASSERT_EQ(out.size(), 60u);
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i]->index, 240 + static_cast<int>(i));
        EXPECT_EQ(out[i]->unvoiced, 1);
        EXPECT_EQ(out[i]->jitter, nullptr);
    }
    EXPECT_TRUE(run.list.finished);
}

TEST(V4Loop, RecordsWithoutFramesMakeNothing)
{
    LoopRun run;
    run.store->addVoice("ma", {0, 6, 9, 25, 8}, 0);
    run.store->addVoice("br", {0, 10, 12, 30, 10}, 0);
    run.sing(scoreOf({at("ma", 100, 40), at("br", 200, 40)}));
    EXPECT_TRUE(run.list.frames().empty());
    EXPECT_TRUE(run.list.finished);
}

TEST(V4Loop, InvalidCellMakesNoFramesButKeepsItsPlace)
{
    LoopRun run;
    auto score = scoreOf({at("ma", 100, 40), at("zz", 200, 40), at("ma", 300, 40)});
    run.sing(score);
    EXPECT_EQ(run.store->voiceLoads.count("zz"), 0u);
    const auto cells = byCell(run.list);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_LT(cells[0].back()->index, 200);
    EXPECT_GE(cells[1].front()->index, 300 - 6);
    const auto plan = prepareCells(*run.store, *run.symbols, score);
    ASSERT_EQ(plan.size(), 3u);
    // (start, 0, 0, 0, L, 0, 0, L): frame 200 (+ the 0.5 frame of the note time), 40 frames.
    const std::array<float, 8> invalid = {2.0f, 0, 0, 0, 0.4f, 0, 0, 0.4f};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(plan[1].values[i], invalid[i], 1e-5f) << i;
}

TEST(V4Loop, PlanEqualsTheFramesSungPerPart)
{
    // A joined pair, a rest, and a lone note; every onset 6 frames.
    LoopRun run;
    auto score =
        scoreOf({at("ma", 100, 60, 0), at("ma", 140, 40), at("ma", 260, 50), at("ma", 400, 30)});
    run.sing(score);
    const auto plan = prepareCells(*run.store, *run.symbols, score);
    const auto cells = byCell(run.list);
    ASSERT_EQ(plan.size(), 4u);
    ASSERT_EQ(cells.size(), 4u);
    int previousEnd = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        const auto& v = plan[k].values;
        const int start = frames(v[0]), offset = frames(v[3]), length = frames(v[4]);
        const int mid = frames(v[5]), body = frames(v[6]), end = frames(v[7]);
        EXPECT_EQ(mid + body + end, length);
        // Frame indexes run without a gap over onset and cell.
        const auto& got = cells[k];
        ASSERT_EQ(static_cast<int>(got.size()), offset + length);
        for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i]->index, start - offset + static_cast<int>(i));
        // The parts by their counters.
        int counts[4] = {0, 0, 0, 0};
        for (const auto* f : got) {
            const int local = f->localIndex;
            ++counts[local < offset ? 0 : local < offset + mid ? 1 : local < offset + mid + body ? 2 : 3];
        }
        EXPECT_EQ(counts[0], offset);
        EXPECT_EQ(counts[1], mid);
        EXPECT_EQ(counts[2], body);
        EXPECT_EQ(counts[3], end);
        // The previous cell stops where this one's onset begins, or earlier.
        EXPECT_LE(previousEnd, start - offset);
        previousEnd = start + length;
    }
    // The joined first cell was trimmed: onset 6 of the second cell reaches
    // back to 134, room 34, 2 * 34 >= 40: it ends at 134.
    EXPECT_EQ(cells[0].back()->index, 133);
    EXPECT_EQ(cells[1].front()->index, 134);
}

TEST(V4Loop, CrossTimbreEndPartBlendsTwoMakersByTheCrossCurve)
{
    // "ma" sung with the cross symbol "mo": no onset, steady 20 frames,
    // release 10; 40 frames > 20 + 10: body 30, end 10. The own harmonics
    // lie at -20 dB, the cross ones at -40 dB, the "-" continuant's at
    // -20 dB. Both end makers merge into "-", over 60 % of the part: 6
    // frames with the model's weight (6 - i) / 6.
    for (const float cross : {0.0f, 1.0f}) {
        LoopRun run;
        run.store->addVoice("ma", {0, 0, 0, 20, 10}, 30, -20.0f);
        run.store->addVoice("mo", {0, 0, 0, 20, 10}, 30, -40.0f);
        run.symbols->valid = {"mo"};
        HalvorenEngine::SynthScoreV3 score = scoreOf({at("ma", 100, 40)});
        score.notes[0].crossSymbol = "mo";
        score.curves[HalvorenEngine::kScoreCross] = {{0.0f, cross}};
        run.sing(score);
        const auto& out = run.list.frames();
        ASSERT_EQ(out.size(), 40u);
        for (int i = 0; i < 40; ++i) {
            float want = -20.0f;  // the own unit, or the continuant
            if (cross == 1.0f && i < 30)
                want = -40.0f;  // the cross body
            else if (cross == 1.0f && i < 36)
                want = -40.0f * static_cast<float>(36 - i) / 6.0f - 20.0f * static_cast<float>(i - 30) / 6.0f;
            EXPECT_NEAR(out[i]->peaks.maxMagDb(), want, 0.01f) << "Cross " << cross << " frame " << i;
        }
    }
}

// Sets the stop flag at the first frame it is told of.
struct StopAtFirstFrame : HalvorenEngineV3::ICellBuildingListener {
    CellMakerState* state = nullptr;
    int frames = 0;
    void onCellBuilt(HalvorenEngine::SynthFrameV4&) override
    {
        if (frames++ == 0)
            state->setStop(true);
    }
};

TEST(V4Loop, StopEndsTheRunAfterTheCurrentCell)
{
    LoopRun run;
    StopAtFirstFrame listener;
    listener.state = run.state.get();
    run.state->setListener(&listener);
    // The first cell (onset 6 + 30 frames) is made once the third note is walked.
    run.sing(scoreOf({at("ma", 100, 30), at("ma", 200, 30), at("ma", 300, 30), at("ma", 400, 30)}));
    EXPECT_EQ(listener.frames, 36);
    EXPECT_TRUE(run.list.finished);
    EXPECT_TRUE(run.list.frames().empty());
}

}  // namespace
