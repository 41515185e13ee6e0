#include <cmath>
#include <limits>

#include "LoopFixture.h"
#include "engine/v6/CellWalk.h"
#include "engine/v6/FetchRecords.h"

namespace {

using namespace v6test;
using HalvorenEngineV6::CellRecord;

TEST(JoinRuleTest, RestsBreaksBreathsAndUnsungNotesDecideTheJoin)
{
    struct Case {
        const char* what;
        std::string table;
        std::string first, second;
        float gap;
        std::uint8_t breakAfter;
        bool joins;
    } cases[] = {
        {"0.15 s apart", kTable, "ka", "ma", 0.15f, 0, true},
        {"0.25 s apart", kTable, "ka", "ma", 0.25f, 0, false},
        {"break after", kTable, "ka", "ma", 0.0f, 1, false},
        {"into a breath that is no whole unit", kTable, "ka", "br1", 0.0f, 0, false},
        {"into a breath that is a whole unit", kTableWholeBreath, "ka", "br1", 0.0f, 0, true},
        {"a rest before a whole-unit breath", kTableWholeBreath, "ka", "br1", 0.25f, 0, false},
        {"out of a breath", kTableWholeBreath, "br1", "ka", 0.0f, 0, false},
        {"out of a note not sung alone", kTableWholeBreath, "xx", "ka", 0.0f, 0, false},
        {"into a note not sung alone", kTableWholeBreath, "ka", "xx", 0.0f, 0, true},
    };
    for (const Case& c : cases) {
        HalvorenEngineV6::CVVCMgr symbols;
        symbols.parseTable(c.table);
        HalvorenEngine::SynthScoreV3 score;
        score.notes = {note(c.first, 0.0f, 0.5f), note(c.second, 0.5f + c.gap, 0.5f)};
        score.notes[0].breakAfter = c.breakAfter;
        EXPECT_EQ(HalvorenEngineV6::joinsNext(symbols, score, 0), c.joins) << c.what;
        // The last note never joins.
        EXPECT_FALSE(HalvorenEngineV6::joinsNext(symbols, score, 1)) << c.what;
    }
}

using CellLoopTest = LoopTest;

TEST_F(CellLoopTest, PositionsCountFromTheHeadTime)
{
    score.leadIn = 0.5f;
    score.notes = {note("ka", 1.0f, 0.5f), note("ma", 1.6f, 0.5f)};
    score.notes[1].breakAfter = 1;
    run();
    ASSERT_EQ(made.size(), 2u);
    // Offset trunc(0.5 * 44100) = 22050; (1.0 * 44100 + 22050) / 256 =
    // 258.4; 0.5 * 44100 / 256 = 86.1.
    EXPECT_EQ(made[0].cell.cellStart, 258);
    EXPECT_EQ(made[0].cell.noteLength, 86);
    // Joined (0.1 s apart): up to the next start, (1.6 * 44100 + 22050) /
    // 256 = 361.8, so 361 - 258 = 103.
    EXPECT_EQ(made[0].cell.transition, 1);
    EXPECT_EQ(made[0].cell.cellLength, 103);
    EXPECT_EQ(made[1].cell.followsTransition, 1);
    EXPECT_EQ(made[1].cell.cellStart, 361);
    EXPECT_EQ(made[1].cell.cellLength, 86);
    EXPECT_EQ(made[1].cell.transition, 0);
}

TEST_F(CellLoopTest, HoldReachesTheNextEndAndAJoinedSkipSitsMidNote)
{
    useTable(kTableWholeBreath);
    score.leadIn = 0.5f;
    score.notes = {note("ka", 1.0f, 0.5f), note("xx", 1.5f, 0.5f)};
    run();
    ASSERT_EQ(made.size(), 2u);
    const CellRecord& held = made[0].cell;
    EXPECT_EQ(held.hold, 1);
    // (1.5 + 0.5 - 1.0) * 44100 / 256 = 172.3.
    EXPECT_EQ(held.cellLength, 172);
    EXPECT_EQ(held.noteLength, 172);
    const CellRecord& skipped = made[1].cell;
    EXPECT_EQ(skipped.skip, 1);
    // ((1.5 + 0.25) * 44100 + 22050) / 256 = 387.6.
    EXPECT_EQ(skipped.cellStart, 387);
    EXPECT_EQ(skipped.cellLength, 0);
    EXPECT_EQ(skipped.noteLength, 0);
    // Not trimmed against: the held cell keeps its length.
    EXPECT_EQ(skipped.afterBreath, 0);
    EXPECT_TRUE(skipped.names.prevSymbol.empty());
}

TEST_F(CellLoopTest, ConsonantFactorIsClampedWrittenBackAndScalesTheMarks)
{
    store.units["ka"] = marks(2, 6);
    store.units["br1"] = marks(0, 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* symbol;
        float factor;
        float storedFactor;
        std::int32_t cellOffset;
    } cases[] = {
        {"ka", 0.5f, 0.5f, 2},       // 0.5 * (6 - 2)
        {"ka", 150.0f, 100.0f, 400}, // 100 * 4
        {"ka", -1.0f, 0.0f, 0},
        {"ka", nan, 0.0f, 0},
        {"br1", 2.0f, 2.0f, 6},      // a breath: 2 * 3 frames
        {"a", 1.0f, 1.0f, 0},        // no consonant (no record either)
    };
    for (const Case& c : cases) {
        score.notes = {note(c.symbol, 1.0f, 0.5f, c.factor)};
        run();
        ASSERT_EQ(made.size(), 1u) << c.symbol << " " << c.factor;
        EXPECT_EQ(score.notes[0].elemTime0, c.storedFactor) << c.symbol << " " << c.factor;
        EXPECT_EQ(made[0].cell.cellOffset, c.cellOffset) << c.symbol << " " << c.factor;
    }
}

TEST_F(CellLoopTest, AfterAJoinTheConsonantComesFromTheExactUnit)
{
    store.units["ka"] = marks(0, 8);
    store.units["ma"] = marks(2, 6);
    store.units["-ma"] = marks(0, 10);
    store.units["a"] = marks(0, 8);
    struct Case {
        const char* what;
        float secondStart;
        const char* second;
        std::int32_t cellOffset;
    } cases[] = {
        {"after a join", 0.5f, "ma", 2},   // exact "ma": 0.5 * (6 - 2)
        {"after a rest", 1.0f, "ma", 5},   // "-ma" first: 0.5 * 10
        {"a vowel after a join", 0.5f, "a", 0},
    };
    for (const Case& c : cases) {
        score.notes = {note("ka", 0.0f, 0.5f), note(c.second, c.secondStart, 0.5f, 0.5f)};
        run();
        ASSERT_EQ(made.size(), 2u) << c.what;
        EXPECT_EQ(made[1].cell.cellOffset, c.cellOffset) << c.what;
    }
}

TEST(TrimOverlapTest, PreviousCellEndsWhereTheConsonantBeginsButKeepsHalfItsNote)
{
    struct Case {
        const char* what;
        std::int32_t start, offset;
        std::uint8_t previousBreath;
        std::int32_t previousLength, cellOffset, overlap, prevCellFrames;
    } cases[] = {
        // Previous at 100, length 40 (note 40), cellOffset 5.
        {"offset 30: half the note", 140, 30, 0, 20, 20, 0, 0},    // room 10 < 40 / 2
        {"offset 15", 140, 15, 0, 25, 15, 0, 0},                   // room 25
        {"no overlap", 150, 10, 0, 40, 10, 0, 0},
        {"a breath keeps its length", 140, 30, 1, 40, 30, 30, 45}, // 140 - 110; 5 + 40
        // Notes that overlap: 110 - 100 - 20 would be -10.
        {"consonant never negative", 110, 0, 0, 20, 0, 10, 25},
    };
    for (const Case& c : cases) {
        CellRecord previous;
        previous.names.symbol = "ka";
        previous.names.timbre = "D4";
        previous.cellStart = 100;
        previous.cellLength = previous.noteLength = 40;
        previous.cellOffset = 5;
        previous.isBreath = c.previousBreath;
        CellRecord cell;
        cell.cellStart = c.start;
        cell.cellOffset = c.offset;
        HalvorenEngineV6::trimOverlap(previous, cell);
        EXPECT_EQ(previous.cellLength, c.previousLength) << c.what;
        EXPECT_EQ(cell.cellOffset, c.cellOffset) << c.what;
        EXPECT_EQ(cell.overlapIn, c.overlap) << c.what;
        EXPECT_EQ(previous.overlapOut, c.overlap) << c.what;
        EXPECT_EQ(cell.prevCellFrames, c.prevCellFrames) << c.what;
        EXPECT_EQ(cell.afterBreath, c.previousBreath) << c.what;
        EXPECT_EQ(cell.names.prevSymbol, "ka") << c.what;
        EXPECT_EQ(cell.names.prevTimbre, "D4") << c.what;
    }
}

TEST_F(CellLoopTest, CellsAreMadeTwoNotesBehindTheWalk)
{
    struct Case {
        int notes;
        std::vector<int> walkedAtEachCell;
    } cases[] = {
        {4, {3, 4, 4, 4}},  // cell 0 after note 2, cell 1 after note 3, then 2 and 3
        {2, {2, 2}},
        {1, {1}},
    };
    for (const Case& c : cases) {
        score.notes.clear();
        for (int i = 0; i < c.notes; ++i)
            score.notes.push_back(note("ka", 1.0f * i, 0.5f, -1.0f));
        run();
        ASSERT_EQ(made.size(), c.walkedAtEachCell.size()) << c.notes;
        for (std::size_t i = 0; i < made.size(); ++i) {
            EXPECT_EQ(made[i].notesWalked, c.walkedAtEachCell[i]) << c.notes << " notes, cell " << i;
            EXPECT_EQ(made[i].cell.cellStart, HalvorenEngineV6::frameOfTime(1.0f * i, {44100.0f, 256.0f, 0}))
                << c.notes << " notes, cell " << i;
        }
        EXPECT_TRUE(finished);
    }
}

TEST_F(CellLoopTest, CellIsMadeAfterItsNeighbourTrimmedIt)
{
    store.units["ma"] = marks(0, 100);
    // "ka" 1.0..1.5 (frames 172..258 at hop 256, note 86), "ma" at 1.5 with
    // a consonant of 0.5 * 100 = 50 frames from 258: room 208 - 172 = 36 <
    // 86 / 2, so "ka" keeps 43 and the consonant 258 - 172 - 43 = 43 frames.
    score.notes = {note("ka", 1.0f, 0.5f), note("ma", 1.5f, 0.5f, 0.5f)};
    score.notes[0].breakAfter = 1;
    run();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].cell.cellStart, 172);
    EXPECT_EQ(made[0].cell.cellLength, 43);
    EXPECT_EQ(made[1].cell.cellOffset, 43);
}

TEST_F(CellLoopTest, StopEndsTheRunAfterTheCurrentCell)
{
    for (int stopAt : {1, 2, 3}) {
        score.notes.clear();
        for (int i = 0; i < 5; ++i)
            score.notes.push_back(note("ka", 1.0f * i, 0.5f));
        state.setStop(false);
        stopAtCell = stopAt;
        run();
        EXPECT_EQ(static_cast<int>(made.size()), stopAt);
        EXPECT_TRUE(finished) << stopAt;
    }
}

TEST_F(CellLoopTest, SymbolTagsAreEmptiedBeforeTheUnitsAreNamed)
{
    score.notes = {note("ka", 0.0f, 0.5f)};
    score.notes[0].symbolTag = "ma";
    run();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_TRUE(score.notes[0].symbolTag.empty());
    EXPECT_EQ(made[0].cell.names.unit, "ka");
}

TEST_F(CellLoopTest, ValidationFallsBackToTheSymbolAndRefusesUnsungNotes)
{
    // "o" is a vowel recorded inside "ko": its unit is "ko".
    struct Case {
        const char* symbol;
        std::vector<std::string> units;
        std::uint8_t valid, hasUnitModel;
        const char* unit;
        const char* final;
    } cases[] = {
        {"o", {}, 0, 0, "o", "o"},
        {"o", {"ko"}, 1, 1, "ko", "o"},
        {"ka", {"ka"}, 1, 1, "ka", "a"},
        {"xx", {"xx"}, 0, 1, "xx", "xx"},     // not sung on its own
        {"br1", {"br1"}, 1, 1, "br1", "br1"}, // unless it is a breath
    };
    for (const Case& c : cases) {
        store.units.clear();
        for (const std::string& u : c.units)
            store.units[u] = marks(0, 0);
        HalvorenEngineV6::CellMakerState fresh(44100.0f);
        auto symbols = std::make_unique<HalvorenEngineV6::CVVCMgr>();
        symbols->parseTable("ka,k,a;ko,k,o|m||a,a;o,ko|br1|xx,br1");
        fresh.setSymbols(std::move(symbols));
        fresh.attachStore(store);
        HalvorenEngine::CellListCache list;
        score.notes = {note(c.symbol, 0.0f, 0.5f)};
        current = this;
        made.clear();
        HalvorenEngineV6::runCellLoop(fresh, score, list, &recordCell);
        current = nullptr;
        ASSERT_EQ(made.size(), 1u) << c.symbol;
        const CellRecord& cell = made[0].cell;
        EXPECT_EQ(cell.valid, c.valid) << c.symbol;
        EXPECT_EQ(cell.hasUnitModel, c.hasUnitModel) << c.symbol;
        EXPECT_EQ(cell.names.unit, c.unit) << c.symbol;
        EXPECT_EQ(cell.names.final, c.final) << c.symbol;
        // No second model: the unit stands in.
        EXPECT_EQ(cell.hasSecondModel, 0) << c.symbol;
        EXPECT_EQ(cell.names.crossUnit, c.unit) << c.symbol;
        EXPECT_EQ(cell.names.crossTimbre, "C4") << c.symbol;
    }
}

}  // namespace
