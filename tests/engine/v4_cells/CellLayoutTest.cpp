#include <gtest/gtest.h>

#include <cmath>

#include "FakeStoreV4.h"
#include "engine/v4/CellLayout.h"
#include "engine/v4/PrepareCells.h"

namespace {

using namespace HalvorenEngineV4;
using v4test::FakeStore;
using v4test::StubSymbols;

// A cell of L frames at frame 100 for one unit sung as itself.
CellRecord cellOf(const std::string& symbol, int L)
{
    CellRecord cell;
    cell.names.symbol = cell.names.unit = cell.names.crossUnit = symbol;
    cell.names.timbre = cell.names.crossTimbre = "C4";
    cell.cellStart = 100;
    cell.cellLength = cell.noteLength = L;
    cell.valid = 1;
    return cell;
}

// A transition from "ma" into next.
CellRecord joinedInto(const std::string& next)
{
    CellRecord cell = cellOf("ma", 40);
    cell.transition = 1;
    cell.names.nextSymbol = cell.names.nextUnit = cell.names.nextCrossUnit = next;
    cell.names.nextInitial = next.substr(0, 1);
    cell.names.nextTimbre = cell.names.nextCrossTimbre = "C4";
    return cell;
}

TEST(V4Layout, PartLengths)
{
    FakeStore store;
    // onset 0..5, middle 5..8 (secondLen 3), steady 8..12 (4), release 6.
    store.addVoice("ma", {0, 5, 8, 12, 6});
    store.addVoice("mo", {0, 5, 8, 12, 30});
    store.addVoice("me", {0, 5, 5, 9, 6});  // no middle part
    struct Case {
        const char* unit;
        int L;
        bool elem;
        float e1, e2, e3;
        int mid, body, end;
    } cases[] = {
        {"ma", 20, false, 0, 0, 0, 3, 11, 6},     // 20 > 4 + 6 + 3: mid 3, end 6, the rest body
        {"mo", 10, false, 0, 0, 0, 3, 2, 5},      // q = 5 / 30: end 5, rest 5 halved, mid the odd frame
        {"ma", 100, true, 1, 2, 1, 25, 50, 25},   // 100 * 1/4, 100 * 3/4 - 25
        {"me", 100, true, 1, 2, 1, 0, 66, 34},    // no middle: 100 * 2/3
        {"ma", 20, true, 0, 0, 0, 3, 11, 6},      // sum 0: the plain layout
        {"ma", 20, true, 1, -1, 0, 3, 11, 6},     // sum 0 after cancelling
    };
    for (const Case& c : cases) {
        PlannedCellRecords records(store);
        StubSymbols symbols;
        CellRecord cell = cellOf(c.unit, c.L);
        cell.elemFlag = c.elem ? 1 : 0;
        cell.elemTime1 = c.e1;
        cell.elemTime2 = c.e2;
        cell.elemTime3 = c.e3;
        const CellLayout lay = layoutCell(symbols, records, cell);
        SCOPED_TRACE(std::string(c.unit) + " L " + std::to_string(c.L) + (c.elem ? " elem" : ""));
        EXPECT_EQ(lay.mode, kEndFromModel);
        EXPECT_EQ(lay.midLen, c.mid);
        EXPECT_EQ(lay.bodyLen, c.body);
        EXPECT_EQ(lay.endLen, c.end);
    }
}

TEST(V4Layout, JoinModeByRule)
{
    struct Case {
        const char* what;
        bool transition;
        const char* next;
        const char* continuant;  // "" for none
        bool voicedInitial;
        int mode;
        int srcStart, srcLen;    // the unit's 12 / 6 without a tail
        const char* nextModel;   // "" for none
        int anchor;
    } cases[] = {
        {"release", false, "", "", false, kEndFromModel, 12, 6, "", 0},
        {"release into '-'", false, "", "-", false, kEndMergeToSource, 2, 9, "", 0},
        // The bare final's own record is not fetched; its unit ("ya", the
        // final carried) stands in at its steady start, and the plan takes
        // the tail's length too.
        {"into a bare final", true, "a", "", false, kEndMergeModels, 12, 6, "ya", 9},
        {"into a bare final through a tail", true, "a", "a", false, kEndThroughTail, 2, 9, "ya", 9},
        {"into a flagged final", true, "ai", "", false, kEndMergeModels, 12, 6, "ai", 8},
        {"into a consonant, substituted", true, "sa", "z", false, kEndMergeToSource, 2, 9, "sa", 1},
        {"into a voiced consonant", true, "sa", "z", true, kEndThroughTail, 2, 9, "sa", 1},
        {"into a consonant without tail", true, "sa", "", false, kEndFromModel, 12, 6, "sa", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeStore store;
        store.addVoice("ma", {0, 5, 8, 12, 6});
        store.addVoice("a", {0, 0, 7, 20, 5});
        store.addVoice("ai", {0, 0, 8, 20, 5});
        store.addVoice("ya", {0, 3, 9, 20, 5});
        store.addVoice("sa", {1, 4, 6, 20, 5});
        if (*c.continuant != '\0')
            store.addContinuant(c.continuant, 2, 9, 0);
        StubSymbols symbols;
        symbols.bareFinals = {"a"};
        symbols.finals = {"ai"};
        symbols.substitutes["s"] = "z";
        if (c.voicedInitial)
            symbols.voiced = {"z"};
        PlannedCellRecords records(store);
        CellRecord cell = c.transition ? joinedInto(c.next) : cellOf("ma", 40);
        if (cell.names.nextSymbol == "a")
            cell.names.nextUnit = "ya";
        const CellLayout lay = layoutCell(symbols, records, cell);
        EXPECT_EQ(lay.mode, c.mode);
        EXPECT_EQ(lay.srcStart, c.srcStart);
        EXPECT_EQ(lay.srcLen, c.srcLen);
        ASSERT_EQ(lay.nextSymbol != nullptr, *c.nextModel != '\0');
        if (lay.nextSymbol != nullptr) {
            EXPECT_EQ(lay.nextSymbol->name, c.nextModel);
            EXPECT_EQ(lay.nextAnchor, c.anchor);
        }
    }
}

TEST(V4Layout, RecordChecksFallBack)
{
    FakeStore store;
    store.addVoice("ma", {0, 5, 8, 12, 6});
    store.addVoice("a", {0, 0, 8, 12, 6});
    StubSymbols symbols;
    symbols.bareFinals = {"a"};
    struct Case {
        const char* what;
        const char* symbol;
        const char* unit;
        const char* crossUnit;
        bool bare;
        int valid;
        const char* wantUnit;
        const char* wantFinal;
        const char* wantCross;
        const char* wantCrossTimbre;
    } cases[] = {
        {"all present", "ma", "ma", "ma", false, 1, "ma", "a", "ma", "E4"},
        {"unit falls back to the symbol", "ma", "mx", "ma", false, 1, "ma", "a", "ma", "E4"},
        {"cross falls back to the unit", "ma", "ma", "cx", false, 1, "ma", "a", "ma", "C4"},
        {"an unknown symbol is invalid", "zz", "zz", "zz", false, 0, "zz", "z", "zz", "C4"},
        {"a bare final is checked by its unit", "yx", "a", "a", true, 1, "a", "", "a", "E4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlannedCellRecords records(store);
        CellRecord cell = cellOf(c.symbol, 20);
        cell.names.unit = c.unit;
        cell.names.final = "?";
        cell.names.crossUnit = c.crossUnit;
        cell.names.crossTimbre = "E4";  // the fake serves every pitch
        cell.isFinal = c.bare ? 1 : 0;
        validateCell(cell, symbols, records);
        EXPECT_EQ(cell.valid, c.valid);
        EXPECT_EQ(cell.names.unit, c.wantUnit);
        if (cell.hasUnitModel == 0) {
            EXPECT_EQ(cell.names.final, c.wantFinal);
        }
        EXPECT_EQ(cell.names.crossUnit, c.wantCross);
        EXPECT_EQ(cell.names.crossTimbre, c.wantCrossTimbre);
    }
}

TEST(V4Layout, FetchRetriesWithDashOnlyWhenFlagged)
{
    FakeStore store;
    store.addVoice("-ka", {0, 5, 8, 12, 6});
    PlannedCellRecords records(store);
    EXPECT_EQ(records.voice("ka", "C4", false), nullptr);
    EXPECT_EQ(store.keyAsks("ka"), 1);
    EXPECT_EQ(store.keyAsks("-ka"), 0);
    const SrcParameter* found = records.voice("ka", "C4", true);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name, "-ka");
    EXPECT_EQ(store.keyAsks("ka"), 2);
    EXPECT_EQ(store.keyAsks("-ka"), 1);
}

HalvorenEngine::SynthNoteV3 timed(const std::string& symbol, float start, float duration, std::uint8_t brk = 0)
{
    HalvorenEngine::SynthNoteV3 n = enginetest::sung(symbol, start, duration, 0.0f);
    n.breakAfter = brk;
    return n;
}

TEST(V4Walk, JoinsByGap)
{
    // 0.2f doubled is exact, so 0.4 - 0.2 is exactly the limit.
    struct Case {
        float nextStart;
        std::uint8_t brk;
        const char* nextSymbol;
        int transition;
    } cases[] = {
        {0.3f, 0, "ma", 1},  // gap 0.1
        {0.4f, 0, "ma", 1},  // gap 0.2 exactly
        {0.5f, 0, "ma", 0},  // gap 0.3
        {0.3f, 1, "ma", 0},  // break flag
        {0.3f, 0, "br", 0},  // into a breath
    };
    for (const Case& c : cases) {
        FakeStore store;
        PlannedCellRecords records(store);
        StubSymbols symbols;
        symbols.breaths = {"br"};
        HalvorenEngine::SynthScoreV3 score;
        score.notes = {timed("ma", 0.0f, 0.2f, c.brk), timed(c.nextSymbol, c.nextStart, 0.2f)};
        std::vector<CellRecord> cells;
        for (std::size_t k = 0; k < 2; ++k)
            walkNote(symbols, records, score, k, {44100.0f, 128.0f, 0.0f}, cells);
        EXPECT_EQ(cells[0].transition, c.transition) << c.nextStart << " break " << int(c.brk) << " " << c.nextSymbol;
        EXPECT_EQ(cells[1].transition, 0);
    }
}

TEST(V4Walk, OverlapTrimHalvesThePreviousCell)
{
    // Previous note at frame 100, 60 frames long, joined into the next one at
    // frame 140 (cellLength 40). The half rule reads the cell length, not
    // the note's.
    struct Case {
        float e0;
        int wantPrevLength, wantOffset;
    } cases[] = {
        {1.0f, 20, 20},  // offset 30: room 10, 2 * 10 < 40: previous 40 / 2, offset 140 - 100 - 20
        {0.5f, 25, 15},  // offset 15: room 25, 50 >= 40: previous ends where the onset starts
        {0.0f, 40, 0},   // no onset: no overlap
    };
    for (const Case& c : cases) {
        FakeStore store;
        store.addVoice("ma", {0, 30, 32, 40, 6});
        PlannedCellRecords records(store);
        StubSymbols symbols;
        HalvorenEngine::SynthScoreV3 score;
        score.notes = {v4test::note("ma", 100, 60), v4test::note("ma", 140, 40, c.e0)};
        score.notes[0].breakAfter = 0;
        std::vector<CellRecord> cells;
        for (std::size_t k = 0; k < 2; ++k)
            walkNote(symbols, records, score, k, {44100.0f, 128.0f, 0.0f}, cells);
        SCOPED_TRACE(c.e0);
        ASSERT_EQ(cells[0].transition, 1);
        EXPECT_EQ(cells[0].noteLength, 60);
        EXPECT_EQ(cells[1].followsTransition(), true);
        EXPECT_EQ(cells[0].cellLength, c.wantPrevLength);
        EXPECT_EQ(cells[1].cellOffset, c.wantOffset);
    }
}

TEST(V4Walk, OnsetOnlyForValidCellsThatNeedOne)
{
    FakeStore store;
    store.addVoice("ma", {2, 12, 14, 30, 6});  // onset 10 frames
    store.addVoice("a", {0, 4, 14, 30, 6});
    StubSymbols symbols;
    symbols.bareFinals = {"a"};
    symbols.breaths = {"br"};
    store.addVoice("br", {0, 10, 12, 30, 6});
    // Element time 0 goes back into the note clamped into 0 .. 100.
    struct Case {
        const char* symbol;
        float e0;
        int offset;
        float written;
    } cases[] = {
        {"ma", 1.0f, 10, 1.0f}, {"ma", 0.5f, 5, 0.5f}, {"ma", 150.0f, 1000, 100.0f},
        {"ma", -1.0f, 0, 0.0f}, {"ma", std::nanf(""), 0, 0.0f}, {"a", 1.0f, 0, 1.0f},
        {"br", 1.0f, 0, 1.0f},  {"zz", 150.0f, 0, 100.0f},
    };
    for (const Case& c : cases) {
        PlannedCellRecords records(store);
        HalvorenEngine::SynthScoreV3 score;
        score.notes = {v4test::note(c.symbol, 2000, 40, c.e0)};
        std::vector<CellRecord> cells;
        walkNote(symbols, records, score, 0, {44100.0f, 128.0f, 0.0f}, cells);
        EXPECT_EQ(cells[0].cellOffset, c.offset) << c.symbol << " " << c.e0;
        EXPECT_EQ(score.notes[0].elemTime0, c.written) << c.symbol << " " << c.e0;
    }
}

TEST(V4Plan, EntriesPerKindOfCell)
{
    // A frame is 128 / 12800 = 0.01 s.
    FakeStore store;
    store.rate = 12800.0f;
    store.addVoice("ma", {0, 5, 8, 12, 6});
    store.addVoice("br", {0, 10, 12, 30, 5});  // span 5 + 30 - 10 = 25
    StubSymbols symbols;
    symbols.breaths = {"br"};
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.5f;
    auto at = [](float s, float d, const char* sym) {
        HalvorenEngine::SynthNoteV3 n = timed(sym, s, d, 1);
        n.elemTime0 = 1.0f;
        return n;
    };
    // Frames: lead 50; "ma" at 50 + 10 = 60 for 40; "zz" at 150 for 20;
    // "br" at 200 for 100.
    score.notes = {at(0.1f, 0.4f, "ma"), at(1.0f, 0.2f, "zz"), at(1.5f, 1.0f, "br")};
    const std::vector<HalvorenEngine::NoteTimes> times = prepareCells(store, symbols, score);
    ASSERT_EQ(times.size(), 3u);
    const std::array<float, 8> want[] = {
        // start 0.6 - 0.5; onset 5, middle 3, offset 5, L 40 > 4 + 6 + 3: 3 / 31 / 6
        {0.1f, 0.05f, 0.03f, 0.05f, 0.4f, 0.03f, 0.31f, 0.06f},
        // invalid: start and length only
        {1.0f, 0, 0, 0, 0.2f, 0, 0, 0.2f},
        // breath: 100 > 2 * 25, so the last 50 frames, from frame 250
        {2.0f, 0, 0, 0, 0.5f, 0, 0, 0.5f},
    };
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 8; ++i)
            EXPECT_NEAR(times[k].values[i], want[k][i], 1e-5f) << "note " << k << " value " << i;
    EXPECT_TRUE(store.voiceLoads.empty());  // the plan reads parameters only
}

TEST(V4Plan, UnrenderableBankPlansNothing)
{
    FakeStore store;
    store.addVoice("ma", {0, 5, 8, 12, 6});
    StubSymbols symbols;
    HalvorenEngine::SynthScoreV3 score;
    score.notes = {timed("ma", 0.0f, 0.5f)};
    for (int hop : {0, 257}) {
        store.hop = hop;
        EXPECT_TRUE(prepareCells(store, symbols, score).empty()) << hop;
    }
    store.hop = 128;
    store.rate = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(prepareCells(store, symbols, score).empty());
}

}  // namespace
