#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "support/engine/CellFixtures.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3/CellLayout.h"
#include "engine/v3_1/PrepareCells.h"

namespace {

using namespace HalvorenEngineV3;
using celltest::atFrame;
using celltest::maVoice;
using celltest::note;
using celltest::StubSymbols;

TEST(CellLayoutPins, PartLengths)
{
    struct Case {
        int L;
        bool elem;
        int mid, body, end;
    } cases[] = {
        {100, false, 10, 70, 20},  // 100 > 20 + 30 + 10: steady rule
        {50, false, 15, 15, 20},   // q = min(1, 25 / 20): end 20, rest 30 halved
        {30, false, 8, 7, 15},     // q = 0.75: end 15, body 15 / 2, mid 8
        {100, true, 25, 50, 25},   // element times 1, 2, 1: S = 4
    };
    for (const Case& c : cases) {
        CellRecord cell;
        cell.elemFlag = c.elem ? 1 : 0;
        cell.elemTime1 = 1.0f;
        cell.elemTime2 = 2.0f;
        cell.elemTime3 = 1.0f;
        CellLayout lay;
        lay.srcLen = 20;
        lay.a = 10;
        lay.b = 40;
        lay.secondLen = 10;
        partLengths(cell, c.L, lay);
        EXPECT_EQ(lay.midLen, c.mid) << c.L << " " << c.elem;
        EXPECT_EQ(lay.bodyLen, c.body) << c.L << " " << c.elem;
        EXPECT_EQ(lay.endLen, c.end) << c.L << " " << c.elem;
    }
}

TEST(CellLayoutPins, OverlapTrim)
{
    struct Case {
        int offset, wantPrevLength, wantOffset;
    } cases[] = {
        {30, 20, 20},  // room 10: 2 * 10 < 40, the previous keeps half
        {15, 25, 15},  // room 25: the previous ends where the onset starts
        {60, 20, 20},  // room -20: half again, the onset shortened
        {0, 40, 0},    // 140 + 0 is where the previous ends: no overlap
    };
    for (const Case& c : cases) {
        CellRecord prev, cell;
        prev.cellStart = 100;
        prev.noteLength = 40;
        prev.cellLength = 40;
        cell.cellStart = 140;
        cell.cellOffset = c.offset;
        trimOverlap(prev, cell);
        EXPECT_EQ(prev.cellLength, c.wantPrevLength) << c.offset;
        EXPECT_EQ(cell.cellOffset, c.wantOffset) << c.offset;
    }
    // A trim that would start the onset after the note becomes offset 0.
    CellRecord prev, cell;
    prev.cellStart = 100;
    prev.noteLength = 100;
    prev.cellLength = 100;
    cell.cellStart = 120;
    cell.cellOffset = 5;
    trimOverlap(prev, cell);
    EXPECT_EQ(prev.cellLength, 50);
    EXPECT_EQ(cell.cellOffset, 0);  // 120 - 50 - 100 = -30
}

TEST(CellLayoutPins, StartAndLengthInFrames)
{
    Halvoren::NullSymbolMgr symbols;
    StubSymbols none;
    struct NoRecords : ICellRecords {
        SrcParameter* voice(const std::string&, const std::string&) override { return nullptr; }
        SrcContinuantParameter* continuant(const std::string&, const std::string&, const std::string&) override
        {
            return nullptr;
        }
    } records;
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.5f;
    HalvorenEngine::SynthNoteV3 n;
    n.start = 0.25f;
    n.duration = 0.5f;
    score.notes = {n};
    WalkTiming timing{44100.0f, 128.0f, 22050.0f};
    std::vector<CellRecord> cells;
    walkNote(symbols, records, score, 0, timing, cells);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].cellStart, 258);   // (11025 + 22050) / 128 = 258.4
    EXPECT_EQ(cells[0].noteLength, 172);  // 22050 / 128 = 172.3
    EXPECT_EQ(cells[0].cellLength, 172);
    EXPECT_EQ(cells[0].transition, 0);
}

TEST(CellLayoutPins, Joins)
{
    StubSymbols symbols;
    symbols.breaths = {"br"};
    struct Case {
        float nextStart;
        int breakAfter;
        std::string nextSymbol;
        bool want;
    } cases[] = {
        {0.7f, 0, "la", true},    // gap 0.2 in single precision
        {0.8f, 0, "la", false},
        {0.5f, 1, "la", false},   // a break never joins
        {0.5f, 0, "br", false},   // nor a breath
        {0.4f, 0, "la", true},    // an overlap joins
    };
    for (const Case& c : cases) {
        HalvorenEngine::SynthScoreV3 score;
        HalvorenEngine::SynthNoteV3 a, b;
        a.start = 0.25f;
        a.duration = 0.25f;
        a.breakAfter = static_cast<std::uint8_t>(c.breakAfter);
        a.symbol = "ma";
        b.start = c.nextStart;
        b.symbol = c.nextSymbol;
        score.notes = {a, b};
        EXPECT_EQ(joinsNext(symbols, score, 0), c.want) << c.nextStart << " " << c.nextSymbol;
        EXPECT_FALSE(joinsNext(symbols, score, 1));
    }
}

TEST(CellLayoutPins, EndPartKinds)
{
    StubSymbols symbols;
    symbols.finals = {"a"};
    symbols.voiced = {"l"};
    struct OneContinuant : ICellRecords {
        SrcContinuantParameter record{"a_l", "C4"};
        SrcParameter* voice(const std::string&, const std::string&) override { return nullptr; }
        SrcContinuantParameter* continuant(const std::string& first, const std::string& second,
                                           const std::string&) override
        {
            return first == "a" && (second == "l" || second == "s") ? &record : nullptr;
        }
    } records;
    struct Case {
        std::string nextSymbol, nextInitial;
        int want;
    } cases[] = {
        {"a", "", 3},     // a whole final
        {"ta", "t", 0},   // no continuant a_t
        {"sa", "s", 1},   // unvoiced initial
        {"la", "l", 2},   // voiced initial
    };
    for (const Case& c : cases) {
        CellRecord cell;
        cell.transition = 1;
        cell.names.nextSymbol = c.nextSymbol;
        SrcContinuantParameter* found = nullptr;
        EXPECT_EQ(endKind(symbols, records, cell, "a", c.nextInitial, "C4", true, true, found), c.want)
            << c.nextSymbol;
    }
    CellRecord cell;
    cell.transition = 1;
    cell.names.nextSymbol = "la";
    SrcContinuantParameter* found = nullptr;
    // Without the next recording a voiced join falls back to kind 1; a final
    // without the next unit to kind 0.
    EXPECT_EQ(endKind(symbols, records, cell, "a", "l", "C4", false, true, found), 1);
    cell.names.nextSymbol = "a";
    EXPECT_EQ(endKind(symbols, records, cell, "a", "", "C4", true, false, found), 0);
    cell.transition = 0;
    EXPECT_EQ(endKind(symbols, records, cell, "a", "", "C4", true, true, found), 0);
}

class CellLoopTest : public ::testing::Test {
protected:
    CellLoopTest()
    {
        auto symbols = std::make_unique<StubSymbols>();
        symbols_ = symbols.get();
        state_ = std::make_unique<CellMakerState>(store_, std::move(symbols));
        state_->setStop(false);
        store_.voices["ma"] = maVoice();
    }

    void run(HalvorenEngine::SynthScoreV3& score) { runCellLoop(*state_, score, list_); }
    std::vector<int> indices() const
    {
        std::vector<int> out;
        for (const auto& f : list_.frames())
            out.push_back(f->index);
        return out;
    }
    static std::vector<int> range(int from, int to)
    {
        std::vector<int> out;
        for (int k = from; k < to; ++k)
            out.push_back(k);
        return out;
    }

    celltest::FakeStore store_;
    StubSymbols* symbols_ = nullptr;
    std::unique_ptr<CellMakerState> state_;
    HalvorenEngine::CellListCache list_;
};

TEST_F(CellLoopTest, OneNoteIsMadeAfterTheWalk)
{
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    score.notes = {note("ma", 20, 100)};
    run(score);
    // Onset 10 frames before frame 20; L 100 > 20 + 40 + 10: 10 + 70 + 20.
    EXPECT_EQ(indices(), range(10, 120));
    EXPECT_TRUE(list_.finished);
}

TEST_F(CellLoopTest, ElementTimeZeroGoesBackIntoTheNoteClamped)
{
    // The onset is the 10 recorded onset frames times element time 0,
    // clamped into 0 .. 100, sung before the note at frame 1200; the loop
    // and the timing plan write the clamped value back into the note.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float e0;
        int first;
        float written;
    } cases[] = {{0.5f, 1195, 0.5f}, {150.0f, 200, 100.0f}, {-1.0f, 1200, 0.0f}, {nan, 1200, 0.0f}};
    for (const auto& c : cases) {
        HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
        score.notes = {note("ma", 1200, 100, c.e0)};
        HalvorenEngine::SynthScoreV3 planned = score;
        list_.clear();
        run(score);
        ASSERT_FALSE(list_.frames().empty()) << c.e0;
        EXPECT_EQ(list_.frames().front()->index, c.first) << c.e0;
        EXPECT_EQ(score.notes[0].elemTime0, c.written) << c.e0;
        HalvorenEngineV3_1::CellPlanState plan(store_, *symbols_);
        std::vector<HalvorenEngine::NoteTimes> times;
        HalvorenEngineV3_1::prepareCells(plan, planned, times);
        EXPECT_EQ(planned.notes[0].elemTime0, c.written) << c.e0;
    }
}

TEST_F(CellLoopTest, TheTrimOfTheNextOnsetShowsInTheFrames)
{
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    // Note 2's onset of 40 frames reaches back to frame 30 into note 1
    // (20 .. 60): room 10, so note 1 keeps 20 frames and the onset starts
    // at 40 (offset 30).
    score.notes = {note("ma", 20, 40), note("ma", 70, 40, 4.0f), note("ma", 150, 40)};
    run(score);
    std::vector<int> want = range(10, 40);     // note 1: onset 10, L 20: 5 + 5 + 10
    for (int k : range(40, 110))               // note 2: onset 30, L 40: 10 + 10 + 20
        want.push_back(k);
    for (int k : range(140, 190))              // note 3: onset 10, L 40
        want.push_back(k);
    EXPECT_EQ(indices(), want);
}

TEST_F(CellLoopTest, JoinedNoteShortensItsOnsetOnlyForAVoicedInitial)
{
    // "ma" at 20 joined into a syllable at 60 whose recording has its onset
    // over source frames 0 .. 10 and ratio1 0.5 (residual -p at frame p).
    symbols_->voiced = {"l"};
    struct Case {
        const char* next;
        int offset;         // frames sung before the note's start
        float firstSource;  // residual of the onset's first frame
    } cases[] = {
        {"ta", 10, 0.0f},   // unvoiced: the whole onset, trunc(10 x 1) frames from frame 0
        {"la", 5, -5.0f},   // voiced: trunc(10 x 0.5) frames from trunc(10 x 0.5 + 0) = 5
    };
    for (const Case& c : cases) {
        store_.voices[c.next] = celltest::maVoice();
        HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
        score.notes = {note("ma", 20, 40), note(c.next, 60, 40)};
        score.notes[0].breakAfter = 0;
        HalvorenEngine::CellListCache list;
        runCellLoop(*state_, score, list);
        const HalvorenEngine::SynthFrame* onset = nullptr;
        for (const auto& f : list.frames())
            if (f->localIndex == 0)
                onset = f.get();  // the last cell's first frame
        ASSERT_NE(onset, nullptr) << c.next;
        EXPECT_EQ(onset->index, 60 - c.offset) << c.next;
        EXPECT_NEAR(onset->mags.ptrBegin()[0], c.firstSource, 1e-3f) << c.next;
    }
}

TEST_F(CellLoopTest, BreathIsNoiseEndingWithItsNote)
{
    symbols_->breaths = {"br"};
    celltest::VoiceEntry breath;
    breath.values.endPos = 10;
    breath.values.param4 = 30;
    breath.values.param5 = 10;  // 30 + 10 - 10 = 30 source frames
    breath.frames = celltest::numberedFrames(40);
    store_.voices["br"] = breath;
    store_.ext1 = true;
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    score.notes = {note("br", 20, 100)};
    run(score);
    EXPECT_EQ(indices(), range(60, 120));  // 60 frames, 40 after the note's start
    for (const auto& f : list_.frames()) {
        EXPECT_EQ(f->unvoiced, 1);
        EXPECT_EQ(f->jitter, nullptr);
    }
}

TEST_F(CellLoopTest, CellsCarryTheUnitsPhaseTable)
{
    store_.ext1 = true;
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    score.notes = {note("ma", 20, 100)};
    run(score);
    ASSERT_FALSE(list_.frames().empty());
    for (const auto& f : list_.frames())
        EXPECT_NE(f->jitter, nullptr);
}

TEST_F(CellLoopTest, MissingUnitMakesNoFrameAndKeepsTheLayout)
{
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    // "xa" is not in the bank; "na" is, with no frames.
    celltest::VoiceEntry empty = maVoice();
    empty.frames.clear();
    store_.voices["na"] = empty;
    score.notes = {note("xa", 20, 40), note("na", 70, 40), note("ma", 120, 40)};
    run(score);
    EXPECT_EQ(indices(), range(110, 160));
}

TEST_F(CellLoopTest, CrossModelWeighsByTheCrossCurve)
{
    symbols_->valid = {"mb"};
    celltest::VoiceEntry cross = maVoice(-40.0f);
    for (auto& f : cross.frames)
        for (float& v : f.magsA)
            v -= 100.0f;
    store_.voices["mb"] = cross;
    HalvorenEngine::SynthScoreV3 plain = celltest::flatScore();
    plain.notes = {note("ma", 20, 100)};
    run(plain);
    std::vector<float> own;
    for (const auto& f : list_.frames())
        own.push_back(f->mags.ptrBegin()[0]);
    for (float c : {0.0f, 1.0f}) {
        HalvorenEngine::CellListCache list;
        HalvorenEngine::SynthScoreV3 score = plain;
        score.notes[0].crossSymbol = "mb";
        score.curves[HalvorenEngine::kScoreCross] = {{0.0f, c}};
        runCellLoop(*state_, score, list);
        ASSERT_EQ(list.frames().size(), own.size()) << c;
        // The body and the end part: frames 20 .. 110 of the cell. The
        // blended body places its frames by product, the plain one by a
        // running sum, so a position may differ by one frame.
        for (std::size_t k = 20; k < own.size(); ++k) {
            const float got = list.frames()[k]->mags.ptrBegin()[0];
            if (c == 0.0f)
                EXPECT_NEAR(got, own[k], 1.0f) << k;
            else
                EXPECT_NEAR(got, own[k] - 100.0f, 1.0f) << k;
        }
    }
}

}  // namespace
