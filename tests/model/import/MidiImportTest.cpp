// The MIDI import: tick scaling, tempos, the note and lyric rules, texts,
// the track choice and the overlap question, over files written by the SMF
// writer.
#include <gmock/gmock.h>

#include "ImportFixture.h"

using namespace HVCurrentModel;
using hvtest::SmfTrack;
using hvtest::SmfWriter;
using Status = MidiImportResult::Status;

namespace {

SmfWriter oneTrack(uint16_t division, const SmfTrack& track)
{
    SmfWriter smf(1, division);
    smf.track(track);
    return smf;
}

}  // namespace

class MidiImportTest : public ImportFixture {};

TEST_F(MidiImportTest, NotesAreScaledToFourHundredEightyTicksAQuarter)
{
    struct Case {
        uint16_t division;
        uint32_t from, to;
        int32_t pos, width;
    };
    const Case cases[] = {
        {480, 960, 1200, 960, 240},
        {96, 96, 192, 480, 480},  // 96 * 480 / 96 twice
        // 1 * 480 / 100 = 4.8 -> 4; the width scales on its own:
        // 3 * 480 / 100 = 14.4 -> 14, not 4 * 480 / 100 - 4 = 15.
        {100, 1, 4, 4, 14},
        // 9,000,000 * 480 wraps in 32 bits (to 25,032,704, / 480 = 52151).
        {480, 9000000, 9000480, 9000000, 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "division " << c.division << " note " << c.from << "-" << c.to);
        const MidiImportResult r = importMidi(oneTrack(c.division, SmfTrack().note(c.from, c.to, 60)));
        ASSERT_EQ(r.status, Status::imported);
        const SingSegment* seg = segOf(*r.newModel, 0);
        EXPECT_EQ(seg->pos, 7680);
        ASSERT_EQ(seg->notes.size(), 1u);
        EXPECT_EQ(seg->notes[0]->key, 55);  // 115 - 60
        EXPECT_EQ(seg->notes[0]->pos, c.pos);
        EXPECT_EQ(seg->notes[0]->width, c.width);
        EXPECT_EQ(seg->singer, "Ann");
    }
}

TEST_F(MidiImportTest, SegmentEndsOneMeasureAfterTheMeasureOfTheLastNote)
{
    struct Case {
        uint32_t from, to;
        int32_t width;
    };
    // (end + 3839) / 1920 * 1920; a note of no width is left out, so the
    // third track ends at 0.
    const Case cases[] = {{0, 1920, 3840}, {1, 1921, 5760}, {0, 0, 1920}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "note " << c.from << "-" << c.to);
        const MidiImportResult r = importMidi(oneTrack(480, SmfTrack().note(c.from, c.to, 60)));
        ASSERT_EQ(r.status, Status::imported);
        EXPECT_EQ(segOf(*r.newModel, 0)->width, c.width);
    }
}

TEST_F(MidiImportTest, TemposOfTrackZeroFollowTheSegmentStart)
{
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().tempo(0, 500000).tempo(480, 400000).tempo(960, 0).tempo(1200, 2));
    smf.track(SmfTrack().note(0, 480, 60));
    const MidiImportResult r = importMidi(smf);
    ASSERT_EQ(r.status, Status::imported);
    // 60e6 / 500000 = 120 bpm at 7680 + 0; 60e6 / 400000 = 150 bpm at
    // 7680 + 480. Tempos of 0 and 2 microseconds are left out.
    std::vector<std::pair<int, int>> tempos;
    for (const Tempo* t : r.newModel->tempos) tempos.emplace_back(t->pos, t->tempo);
    EXPECT_THAT(tempos, testing::ElementsAre(std::pair{0, 12000}, std::pair{7680, 12000}, std::pair{8160, 15000}));
    // Track 0 has no notes: the one track of the project holds track 1.
    ASSERT_EQ(r.newModel->tracks.size(), 1u);
    EXPECT_EQ(segOf(*r.newModel, 0)->notes.size(), 1u);
}

TEST_F(MidiImportTest, ImportIntoTheProjectAddsTracksAsOneUndoableStep)
{
    HalvorenModel* model = doc.getModel();
    const size_t tracksBefore = model->tracks.size();
    const size_t undoBefore = doc.getHistory().undoCount();
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().tempo(0, 400000).note(0, 480, 60));
    smf.track(SmfTrack().note(0, 480, 62));
    const MidiImportResult r = importMidi(smf, false);
    ASSERT_EQ(r.status, Status::imported);
    EXPECT_EQ(r.newModel, nullptr);
    ASSERT_EQ(model->tracks.size(), tracksBefore + 2);
    EXPECT_EQ(segOf(*model, tracksBefore)->notes[0]->key, 55);
    EXPECT_EQ(segOf(*model, tracksBefore + 1)->notes[0]->key, 53);
    ASSERT_EQ(model->tempos.size(), 1u);
    EXPECT_EQ(model->tempos[0]->tempo, 12000);
    EXPECT_EQ(doc.getHistory().undoCount(), undoBefore + 1);
    EXPECT_EQ(r.firstNoteTick, 7680);
    doc.undo();
    EXPECT_EQ(model->tracks.size(), tracksBefore);
}

TEST_F(MidiImportTest, LyricsAttachOnlyBeforeTheNoteOnOfTheirTick)
{
    const MidiImportResult r = importMidi(oneTrack(480, SmfTrack()
                                                            .lyric(0, "do")
                                                            .noteOn(0, 60)
                                                            .noteOn(480, 62)
                                                            .lyric(480, "re")
                                                            .noteOff(960, 60)
                                                            .noteOff(960, 62)));
    ASSERT_EQ(r.status, Status::imported);
    const auto& notes = segOf(*r.newModel, 0)->notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0]->lyric, "do");
    EXPECT_EQ(notes[0]->phoneticSymbol, "do");
    EXPECT_EQ(notes[1]->lyric, "a");  // the settings' default symbol
    EXPECT_EQ(notes[1]->phoneticSymbol, "a");
}

TEST_F(MidiImportTest, NotesEndByTheRulesOfTheEventOrder)
{
    struct Case {
        const char* what;
        SmfTrack track;
        // (lyric, pos, width) of each note in the segment.
        std::vector<std::tuple<std::string, int, int>> notes;
    };
    const Case cases[] = {
        {"same number: first in, first out",
         SmfTrack().lyric(0, "x").noteOn(0, 60).lyric(100, "y").noteOn(100, 60).noteOff(200, 60).noteOff(300, 60),
         {{"x", 0, 200}, {"y", 100, 200}}},
        {"controller 123 ends all",
         SmfTrack().lyric(0, "x").noteOn(0, 60).lyric(10, "y").noteOn(10, 62).control(480, 123).noteOff(960, 60),
         {{"x", 0, 480}, {"y", 10, 470}}},
        {"controller 127 ends all", SmfTrack().lyric(0, "x").noteOn(0, 60).control(240, 127), {{"x", 0, 240}}},
        {"controller 122 ends nothing",
         SmfTrack().lyric(0, "x").noteOn(0, 60).control(240, 122).noteOff(480, 60),
         {{"x", 0, 480}}},
        {"an unended note is dropped", SmfTrack().noteOn(0, 60).lyric(0, "x").noteOn(0, 62).noteOff(480, 62),
         {{"x", 0, 480}}},
        {"channels are ignored; velocity 0 ends a note",
         SmfTrack().lyric(0, "x").noteOn(0, 60, 100, 3).noteOff(480, 60, true, 9),
         {{"x", 0, 480}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MidiImportResult r = importMidi(oneTrack(480, c.track));
        ASSERT_EQ(r.status, Status::imported);
        std::vector<std::tuple<std::string, int, int>> got;
        for (const Note* n : segOf(*r.newModel, 0)->notes) got.emplace_back(n->lyric, n->pos, n->width);
        EXPECT_EQ(got, c.notes);
    }
}

TEST_F(MidiImportTest, TextsAreDecodedToUtf8)
{
    // One encoding for the whole file: UTF-8 only when every track name and
    // lyric of it is; a copyright event takes no part.
    StubLyricDict dict;
    const std::string gbkName = "\xB8\xE8";  // 歌 in GBK, not valid UTF-8
    const std::string utf8Name = "\xE6\xAD\x8C";
    struct Case {
        const char* what;
        std::string name, bytes;
        ILyricDict* dict;
        std::string lyric, symbol;
        std::string copyright = {};
    };
    const Case cases[] = {
        {"GBK lyric with a dictionary", gbkName, "\xC4\xE3\xBA\xC3", &dict, "\xE4\xBD\xA0\xE5\xA5\xBD", "sym1"},  // 你好
        {"GBK lyric without one", gbkName, "\xC4\xE3\xBA\xC3", nullptr, "\xE4\xBD\xA0\xE5\xA5\xBD",
         "\xE4\xBD\xA0\xE5\xA5\xBD"},
        // Shift-JIS あい is not guessed: read as GB18030 it gives 偁偄.
        {"Shift-JIS lyric", gbkName, "\x82\xA0\x82\xA2", nullptr, "\xE5\x81\x81\xE5\x81\x84",
         "\xE5\x81\x81\xE5\x81\x84"},
        // GBK 一 (D2 BB) is also valid UTF-8 ("һ"): the name decides.
        {"GBK lyric that is valid UTF-8", gbkName, "\xD2\xBB", nullptr, "\xE4\xB8\x80", "\xE4\xB8\x80"},
        {"all UTF-8", utf8Name, "\xD2\xBB", nullptr, "\xD2\xBB", "\xD2\xBB"},
        {"UTF-8 beside a Latin-1 copyright", utf8Name, "\xD2\xBB", nullptr, "\xD2\xBB", "\xD2\xBB", "\xA9 2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        context.lyricDict = c.dict;
        SmfTrack track;
        if (!c.copyright.empty()) track.meta(0, 0x02, c.copyright);
        const MidiImportResult r = importMidi(oneTrack(480, track.name(0, c.name).lyric(0, c.bytes).note(0, 480, 60)));
        ASSERT_EQ(r.status, Status::imported);
        const SingSegment* seg = segOf(*r.newModel, 0);
        EXPECT_EQ(seg->notes[0]->lyric, c.lyric);
        EXPECT_EQ(seg->notes[0]->phoneticSymbol, c.symbol);
        EXPECT_EQ(seg->name, utf8Name);
        EXPECT_EQ(std::get<0>(dialog.rows.back()), utf8Name);
    }
    EXPECT_EQ(dict.asked.front(), "\xE4\xBD\xA0\xE5\xA5\xBD");
}

TEST_F(MidiImportTest, TheDialogOffersTracksWithNotes)
{
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().name(0, "conductor").tempo(0, 500000));
    smf.track(SmfTrack().name(0, "lead").note(0, 480, 60).note(480, 960, 62));
    smf.track(SmfTrack().lyric(0, "x"));  // a lyric alone is no note
    smf.track(SmfTrack().note(0, 480, 64));
    const MidiImportResult r = importMidi(smf);
    ASSERT_EQ(r.status, Status::imported);
    using Row = std::tuple<std::string, int, int>;
    EXPECT_EQ(dialog.rows, (std::vector<Row>{{"lead", 1, 2}, {"", 3, 1}}));
    // The first chosen track fills the default project's track.
    ASSERT_EQ(r.newModel->tracks.size(), 2u);
    EXPECT_EQ(segOf(*r.newModel, 0)->name, "lead");
    EXPECT_EQ(segOf(*r.newModel, 1)->notes[0]->key, 51);  // 115 - 64
    EXPECT_EQ(segOf(*r.newModel, 1)->singer, "Ann");
}

TEST_F(MidiImportTest, CancelOrAnEmptyChoiceChangesNothing)
{
    const std::string before = savedBytes(*doc.getModel());
    const SmfWriter smf = oneTrack(480, SmfTrack().note(0, 480, 60));
    for (bool newProject : {true, false}) {
        dialog = FakeTrackDialog();
        dialog.confirm = false;
        EXPECT_EQ(importMidi(smf, newProject).status, Status::cancelled);
        dialog = FakeTrackDialog();
        dialog.pick = std::vector<int>{};
        EXPECT_EQ(importMidi(smf, newProject).status, Status::cancelled);
        // A track that was not offered is no choice either.
        dialog = FakeTrackDialog();
        dialog.pick = std::vector<int>{7};
        EXPECT_EQ(importMidi(smf, newProject).status, Status::cancelled);
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(doc.getHistory().undoCount(), 0u);
    EXPECT_EQ(savedBytes(*doc.getModel()), before);
}

TEST_F(MidiImportTest, OverlapsAreOfferedToBeFixed)
{
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().tempo(0, 500000));
    smf.track(SmfTrack().note(0, 480, 60));
    smf.track(SmfTrack().noteOn(0, 60).noteOn(240, 62).noteOff(480, 60).noteOff(720, 62));
    for (MbResult answer : {MbResult::yes, MbResult::no}) {
        SCOPED_TRACE(answer == MbResult::yes ? "yes" : "no");
        boxes.shown.clear();
        boxes.answers = {answer};
        dialog = FakeTrackDialog();
        const MidiImportResult r = importMidi(smf);
        ASSERT_EQ(r.status, Status::imported);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "track 2 exist note overlap, do you want to auto-fix it?");
        EXPECT_EQ(boxes.shown[0].caption, ">_<");
        EXPECT_EQ(boxes.shown[0].buttons, MbButtons::yesNo);
        EXPECT_EQ(segOf(*r.newModel, 1)->notes.hasOverlapped(), answer == MbResult::no);
    }
}

TEST_F(MidiImportTest, NotesAreSortedFlaggedAndTakeTheVibratoSettings)
{
    CAppConfigModel& config = getAppConfig();
    config.isAutoVib = true;
    config.autoVibBeats = 1;  // notes of 1 * 1920 / 4 = 480 ticks or more
    config.vibPercent = 30;
    // Finishing order: 60 (0-480), 62 (240-720), 64 (960-1200), 65
    // (2000-2010), then 70 (1500-2400), which started before 65.
    const MidiImportResult r = importMidi(oneTrack(480, SmfTrack()
                                                            .noteOn(0, 60)
                                                            .noteOn(240, 62)
                                                            .noteOff(480, 60)
                                                            .noteOff(720, 62)
                                                            .note(960, 1200, 64)
                                                            .noteOn(1500, 70)
                                                            .note(2000, 2010, 65)
                                                            .noteOff(2400, 70)));
    config.isAutoVib = false;
    config.vibPercent = 0;
    ASSERT_EQ(r.status, Status::imported);
    // Sorted by position; 60/62 overlap, and so do 70/65.
    std::vector<std::tuple<int, bool, int>> got;  // (key, overlapped, vibrato percent)
    for (const Note* n : segOf(*r.newModel, 0)->notes) got.emplace_back(n->key, n->overlapped, n->vibPercent);
    const std::vector<std::tuple<int, bool, int>> expected{
        {55, true, 30}, {53, true, 30}, {51, false, 0}, {45, true, 30}, {50, true, 0}};
    EXPECT_EQ(got, expected);
    // The segment is sized by the last note to finish: (2400 + 3839) / 1920 * 1920.
    EXPECT_EQ(segOf(*r.newModel, 0)->width, 5760);
    EXPECT_EQ(boxes.shown.size(), 1u);  // the overlap question, answered No
}
