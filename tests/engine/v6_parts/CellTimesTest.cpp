#include "PartsFixture.h"
#include "engine/v6/CellTimes.h"

using HalvorenEngine::NoteTimes;
using HalvorenEngineV6::CellRecord;

namespace v6test {
namespace {

class CellTimes : public PartsTest {
protected:
    NoteTimes plan(const CellRecord& cell)
    {
        std::vector<NoteTimes> out;
        HalvorenEngineV6::planCellTimes(cell, state, out);
        EXPECT_EQ(out.size(), 1u);
        return out.empty() ? NoteTimes{} : out[0];
    }
};

// frames * 256 / 44100 seconds.
constexpr float kFrame = 256.0f / 44100.0f;

TEST_F(CellTimes, BreathInvalidAndSungCells)
{
    struct Case {
        const char* name;
        CellRecord cell;
        std::array<float, 8> expected;
        bool sung = true;  // false: the bank has nothing for the note
    };
    CellRecord breath = cellOf("br1", "br1", 6, 20);
    CellRecord invalid = cellOf("ka", "a", 6, 60);
    invalid.valid = 0;
    CellRecord skipped = cellOf("ka", "a", 6, 60);
    skipped.skip = 1;
    const Case cases[] = {
        // 3 * 256 / 44100 = 0.0174150, 6 * ... = 0.0348299, 20 * ... = 0.1160998.
        {"breath", breath, {100 * kFrame, 0.0174150f, 0.0f, 0.0348299f, 0.1160998f, 0.0f, 0.0f, 0.1160998f}},
        {"invalid", invalid, {100 * kFrame, 0, 0, 0, 60 * kFrame, 0, 0, 60 * kFrame}, false},
        {"skipped", skipped, {100 * kFrame, 0, 0, 0, 60 * kFrame, 0, 0, 60 * kFrame}},
        // c 10, h 10; L 60 <= 20 + 30 + 10: tail 20, head 10, body 30.
        {"sung", cellOf("ka", "a", 6, 60),
         {100 * kFrame, 10 * kFrame, 10 * kFrame, 6 * kFrame, 60 * kFrame, 10 * kFrame, 30 * kFrame, 20 * kFrame}},
    };
    for (const Case& c : cases) {
        const NoteTimes t = plan(c.cell);
        for (int i = 0; i < 8; ++i)
            EXPECT_NEAR(t.values[i], c.expected[i], 1e-6f) << c.name << " index " << i;
        EXPECT_EQ(t.sung, c.sung) << c.name;
    }
}

TEST_F(CellTimes, PartsShownAreThePartsSung)
{
    struct Case {
        const char* name;
        const char* unit;
        int mark4;          // the unit's body end
        const char* final;  // a has the continuant a_-, o none
        int offset, length;
    };
    const Case cases[] = {
        {"half rule", "a1", 30, "a", 6, 60},
        {"steady rule", "a2", 30, "a", 6, 200},
        {"body without frames", "a3", 0, "a", 6, 60},
        {"tail from the unit", "a4", 30, "o", 4, 90},
    };
    for (const Case& c : cases) {
        store.voices[c.unit] = {{0, 0, 0, c.mark4, 20}, voicedFrames(60, -10.0f)};
        CellRecord cell = cellOf("ka", c.unit, c.offset, c.length);
        cell.names.final = c.final;
        const NoteTimes t = plan(cell);
        make(cell);
        // Frames per part: the consonant before cellStart, then head, body and tail.
        const int head = static_cast<int>(std::lround(t.values[5] / kFrame));
        const int body = static_cast<int>(std::lround(t.values[6] / kFrame));
        const int tail = static_cast<int>(std::lround(t.values[7] / kFrame));
        ASSERT_EQ(head + body + tail, c.length) << c.name;
        int inHead = 0, inBody = 0, inTail = 0;
        for (const auto& f : frames) {
            const int at = f.index - cell.cellStart;
            inHead += at >= 0 && at < head;
            inBody += at >= head && at < head + body;
            inTail += at >= head + body;
        }
        EXPECT_EQ(inHead, head) << c.name;
        EXPECT_EQ(inBody, c.mark4 > 0 ? body : 0) << c.name;
        EXPECT_EQ(inTail, tail) << c.name;
    }
}

TEST_F(CellTimes, OneRecordPerNoteAndTheFactorsClamped)
{
    score.leadIn = 0.5f;
    score.notes.clear();
    for (float start : {0.0f, 1.0f, 2.0f}) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = "ka";
        n.timbre = "C4";
        n.start = start;
        n.duration = 0.5f;
        n.elemTime0 = start == 0.0f ? 150.0f : (start == 1.0f ? -5.0f : 0.5f);
        score.notes.push_back(n);
    }
    std::vector<NoteTimes> out(7);
    HalvorenEngineV6::prepareCells(state, score, out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(score.notes[0].elemTime0, 100.0f);
    EXPECT_EQ(score.notes[1].elemTime0, 0.0f);
    EXPECT_EQ(score.notes[2].elemTime0, 0.5f);
    // Note k starts at k seconds after the 0.5 s head: trunc((k + 0.5) * 44100 / 256) frames, less the head.
    for (int k = 0; k < 3; ++k) {
        const int frame = static_cast<int>((k + 0.5) * 44100.0 / 256.0);
        EXPECT_NEAR(out[k].values[0], frame * kFrame - 0.5f, 1e-5f) << k;
        // The factor times c = 10 frames: 100 gives 1000 frames (nothing
        // before the first cell to trim), 0 none, 0.5 five.
        const int offset = k == 0 ? 1000 : (k == 1 ? 0 : 5);
        EXPECT_NEAR(out[k].values[3], offset * kFrame, 1e-5f) << k;
    }
}

}  // namespace
}  // namespace v6test
