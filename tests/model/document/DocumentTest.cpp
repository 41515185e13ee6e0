#include <unistd.h>

#include <string>

#include "DocFixture.h"
#include "model/history/ScoreShift.h"
#include "platform/FileUtil.h"

using namespace HVCurrentModel;
using namespace projtest;

namespace {

NodeContainer strokeAt(int from, int to, int value) { return NodeContainer{{from, value}, {to, value}}; }

CString tempPath(const std::string& name) {
    return CString::fromUtf8("/tmp/hv_doc_" + std::to_string(getpid()) + "_" + name);
}

}  // namespace

using Document = DocFixture;

TEST_F(Document, ModifiedUntilASuccessfulSaveOfTheCurrentState) {
    const CString path = tempPath("a.ot");
    EXPECT_FALSE(doc.isModified());
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));
    EXPECT_TRUE(doc.isModified());
    doc.undo();
    EXPECT_FALSE(doc.isModified());
    doc.redo();
    // A failed save keeps the document modified and its path.
    EXPECT_FALSE(doc.saveAs(tempPath("missing-folder/a.ot")));
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.getPath().isEmpty());

    ASSERT_TRUE(doc.saveAs(path));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.getPath(), path);
    // Save, undo, new edit: no undo or redo gets back to the saved state.
    doc.undo();
    doc.editSegCurvePower(seg, strokeAt(100, 200, 60));
    doc.undo();
    EXPECT_TRUE(doc.isModified());
    doc.redo();
    ASSERT_TRUE(doc.saveAs(path));
    EXPECT_FALSE(doc.isModified());
    removeFile(path);
}

TEST_F(Document, TwoHundredFiftySixEditsUndoneAsFarAsPossibleStayModified) {
    for (int i = 0; i < 256; ++i) doc.editSegCurveAmplitude(seg, strokeAt(100, 200, i));
    EXPECT_EQ(doc.getHistory().undoCount(), 255);
    while (doc.canUndo()) doc.undo();
    EXPECT_TRUE(doc.isModified());
}

TEST_F(Document, AnOperationThatRecordsNothingTouchesNothing) {
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));
    doc.undo();
    const int refreshes = view.refreshes, titles = frame.titles;
    doc.editSegCurveBreath(seg, NodeContainer{});
    doc.editSegCurveGender(seg, NodeContainer{{5, 1}});  // a point is no stroke
    doc.deleteTempo(model->tempos[0]);
    EXPECT_EQ(view.refreshes, refreshes);
    EXPECT_EQ(frame.titles, titles);
    EXPECT_EQ(doc.getHistory().redoCount(), 1);
    EXPECT_EQ(doc.getHistory().undoCount(), 0);
}

TEST_F(Document, UndoAndRedoRestoreTheViewStateOfTheCommit) {
    doc.setEditingSegment(seg);
    doc.editMode = 1;
    doc.curveKind = kKindBrightness;
    doc.editSegCurveBrightness(seg, strokeAt(100, 200, 50));
    doc.editMode = 0;
    doc.curveKind = kKindAmplitude;
    doc.setEditingSegment(nullptr);

    doc.undo();
    ASSERT_FALSE(editor.shown.empty());
    EXPECT_EQ(editor.shown.back(), seg);
    EXPECT_EQ(doc.editTrk, track);
    EXPECT_EQ(frame.modes.back(), 1);
    EXPECT_EQ(editor.parms.back(), kKindBrightness);
    EXPECT_EQ(doc.curveKind, kKindBrightness);
    doc.setEditingSegment(nullptr);
    doc.redo();
    EXPECT_EQ(editor.shown.back(), seg);
    EXPECT_EQ(editor.parms.size(), 2u);
}

TEST_F(Document, RestoredViewStateNeverShowsASegmentOutsideTheModel) {
    auto* fresh = new SingSegment(20000, 960);
    doc.setEditingSegment(fresh);  // the editor shows the segment being added
    doc.insertSegment(fresh, track->singSegs);
    doc.undo();  // the segment leaves the model with the undo
    EXPECT_EQ(editor.shown.back(), nullptr);
    EXPECT_EQ(doc.editSeg, nullptr);
    // A new edit drops the undone group and frees the segment.
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));
    EXPECT_EQ(doc.editSeg, nullptr);

    // Deleting the shown segment takes it out of the editor until undo.
    doc.setEditingSegment(seg);
    doc.deleteSegments({seg}, track->singSegs);
    EXPECT_EQ(editor.shown.back(), nullptr);
    EXPECT_EQ(doc.editSeg, nullptr);
    doc.undo();
    EXPECT_EQ(doc.editSeg, seg);
    doc.redo();
    EXPECT_EQ(doc.editSeg, nullptr);
}

TEST_F(Document, SetModelResetsHistoryPlayRangeAndEditorState) {
    doc.setEditingSegment(seg);
    doc.playPos = 9000;
    doc.beginRecNote(60);
    ASSERT_NE(doc.liveNote, nullptr);
    doc.playStartOn = doc.playEndOn = true;
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));

    doc.setModel(markersOnly().release(), CString::fromUtf8("/x/song.ot"));
    EXPECT_TRUE(!doc.editSeg && !doc.editTrk && !doc.liveNote && !doc.liveSeg);
    EXPECT_EQ(doc.playStart, 7680);
    EXPECT_EQ(doc.playEnd, 9600);
    EXPECT_FALSE(doc.playStartOn || doc.playEndOn);
    EXPECT_FALSE(doc.isModified() || doc.canUndo());
    EXPECT_EQ(doc.getPath(), CString::fromUtf8("/x/song.ot"));
    // Nothing of the old model can be reached by a live-note call.
    doc.endRecNote();
    EXPECT_FALSE(doc.canUndo());

    HalvorenModel* current = doc.getModel();
    doc.setModel(current, CString());  // its own model: kept, not freed
    EXPECT_EQ(doc.getModel(), current);
    EXPECT_EQ(current->beats.size(), 1u);
}

TEST_F(Document, EditingSegmentFindsItsSingingTrackAndResetShowsNothing) {
    Track* second = addTrack(*model, kSingingTrack);
    doc.setEditingSegment(addSingSeg(*second, 0, 100));
    EXPECT_EQ(doc.editTrk, second);

    doc.editMode = 1;
    doc.resetEditWndSegment();  // back to score mode with nothing shown
    EXPECT_EQ(editor.shown.back(), nullptr);
    EXPECT_TRUE(!doc.editSeg && !doc.editTrk);
    EXPECT_EQ(buttons.picks.back(), std::make_pair(0, false));
    EXPECT_EQ(editor.modes.back(), 0);
}

TEST_F(Document, NoteDefaultsTakeVibratoOnlyFromLongEnoughNotes) {
    CAppConfigModel& cfg = getAppConfig();
    cfg.isAutoVib = true, cfg.autoVibBeats = 2, cfg.vibPercent = 35;  // from 960 ticks
    cfg.vibPreins.vibAmp = {{-1, 4000}, {100001, 4000}};
    cfg.expBendDep = 11, cfg.expHeadChg = 14;
    Note shortNote, longNote;
    shortNote.width = 959;
    longNote.width = 960;
    CSSSynthesizerDoc::setNoteDefaultVibExp(&shortNote);
    CSSSynthesizerDoc::setNoteDefaultVibExp(&longNote);
    EXPECT_EQ(shortNote.vibPercent, 0);
    EXPECT_EQ(longNote.vibPercent, 35);
    EXPECT_EQ(longNote.vibrato.vibAmp.nodes.front().value, 4000);
    for (const Note* n : {&shortNote, &longNote}) EXPECT_EQ(n->bendDep * 100 + n->headChg, 1114);
}

namespace {

// Logs (list, gain, pan) per call.
struct FakeTrackMix : ITrackMixGroup {
    explicit FakeTrackMix(std::vector<std::vector<float>>& calls) : calls(calls) {}
    std::vector<std::vector<float>>& calls;
    int trackListCount() const override { return 3; }
    bool hasTrackList(int i) const override { return i != 1; }
    void setGain(int i, float g) override { calls.push_back({float(i), g, -9}); }
    void setPan(int, float p) override { calls.back()[2] = p; }
};

}  // namespace

TEST(DocumentPlayers, AreMadeOnFirstUseAndTakeTheTrackMixWhilePlaying) {
    std::vector<std::vector<float>> calls;
    int made = 0;
    setDocPlayersFactory({nullptr, [&] { return ++made, std::make_unique<FakeTrackMix>(calls); }});
    {
        CSSSynthesizerDoc doc;
        auto m = markersOnly();
        Track* a = addTrack(*m, kSingingTrack);
        a->volume = 50, a->balance = -0.5f;
        addTrack(*m, kSingingTrack);
        addTrack(*m, kInstrumentTrack)->muted = true;
        doc.newProject(m.release());
        doc.applyTrackMixToPlayers();
        EXPECT_EQ(made, 0);  // not playing
        doc.isPlaying = 1;
        doc.applyTrackMixToPlayers();
        EXPECT_EQ((std::vector<std::vector<float>>{{0, 0.5f, -0.5f}, {2, 0, 0}}), calls);
        doc.clipAudio();  // the silent stand-in
    }
    setDocPlayersFactory({});
}

TEST(DocumentTimeLine, Bar1TicksKeepTheirRoundingAndOddSignaturesCountAsFourFour) {
    CSSSynthesizerDoc doc;
    // 7/7 measures: the two bar-1 computations keep their rounding orders.
    doc.newProject(markersOnly().release());
    Beat& first = *doc.getModel()->beats[0];
    first.numerator = first.denominator = 7;
    EXPECT_EQ(doc.getBar1Tick(), 7680);
    EXPECT_EQ(calcBar1Tick(doc.getModel()->beats), 7679);

    // A stored 0/0 marker is measured as 4/4 and divides by nothing.
    first.numerator = first.denominator = 0;
    doc.setModel(doc.getModel(), CString());
    EXPECT_EQ(doc.playStart, 7680);
    EXPECT_EQ(doc.playEnd, 9600);
}
