#include <unistd.h>

#include <cstdio>
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

TEST_F(Document, ModifiedFollowsTheSavedMarkerThroughUndoAndRedo) {
    EXPECT_FALSE(doc.isModified());
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));
    EXPECT_TRUE(doc.isModified());
    doc.undo();
    EXPECT_FALSE(doc.isModified());
    doc.redo();
    EXPECT_TRUE(doc.isModified());
}

TEST_F(Document, SaveThenUndoAndANewEditStaysModifiedUntilTheNextSave) {
    const CString path = tempPath("a.ot");
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));
    ASSERT_TRUE(doc.saveAs(path));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.getPath(), path);
    doc.undo();
    doc.editSegCurvePower(seg, strokeAt(100, 200, 60));
    doc.undo();
    EXPECT_TRUE(doc.isModified());
    doc.redo();
    ASSERT_TRUE(doc.saveAs(path));
    EXPECT_FALSE(doc.isModified());
    removeFile(path);
}

TEST_F(Document, FailedSaveKeepsTheDocumentModifiedAndItsPath) {
    doc.editSegCurveAmplitude(seg, strokeAt(100, 200, 50));
    EXPECT_FALSE(doc.saveAs(tempPath("missing-folder/a.ot")));
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.getPath().isEmpty());
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
    const int refreshes = view.refreshes;
    const int titles = frame.titles;
    doc.editSegCurveBreath(seg, NodeContainer{});
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
    EXPECT_EQ(doc.editSeg, seg);
    EXPECT_EQ(doc.editTrk, track);
    EXPECT_EQ(frame.modes.back(), 1);
    EXPECT_EQ(editor.parms.back(), kKindBrightness);
    EXPECT_EQ(doc.curveKind, kKindBrightness);

    doc.setEditingSegment(nullptr);
    doc.redo();
    EXPECT_EQ(editor.shown.back(), seg);
    EXPECT_EQ(editor.parms.size(), 2u);
}

TEST_F(Document, UndoAndRedoRefreshAndRetitleEvenWithNothingToDo) {
    const int refreshes = view.refreshes;
    doc.undo();
    doc.redo();
    EXPECT_EQ(view.refreshes, refreshes + 2);
    EXPECT_EQ(frame.titles, 2);
    EXPECT_TRUE(editor.shown.empty());
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
}

TEST_F(Document, DeletingTheShownSegmentTakesItOutOfTheEditorUntilUndo) {
    doc.setEditingSegment(seg);
    doc.deleteSegments({seg}, track->singSegs);
    EXPECT_EQ(doc.editSeg, nullptr);
    EXPECT_EQ(editor.shown.back(), nullptr);
    doc.undo();  // the commit's view state shows it again
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
    EXPECT_EQ(doc.editSeg, nullptr);
    EXPECT_EQ(doc.editTrk, nullptr);
    EXPECT_EQ(doc.liveNote, nullptr);
    EXPECT_EQ(doc.liveSeg, nullptr);
    EXPECT_EQ(doc.playStart, 7680);
    EXPECT_EQ(doc.playEnd, 9600);
    EXPECT_FALSE(doc.playStartOn || doc.playEndOn);
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.canUndo());
    EXPECT_EQ(doc.getPath(), CString::fromUtf8("/x/song.ot"));
    // Nothing of the old model can be reached by a live-note call.
    doc.endRecNote();
    EXPECT_FALSE(doc.canUndo());
}

TEST_F(Document, SetModelWithItsOwnModelKeepsIt) {
    doc.setModel(doc.getModel(), CString());
    EXPECT_EQ(doc.getModel(), model);
    EXPECT_EQ(model->tracks.size(), 1u);
}

TEST_F(Document, EditingSegmentFindsItsSingingTrack) {
    Track* second = addTrack(*model, kSingingTrack);
    SingSegment* other = addSingSeg(*second, 0, 100);
    doc.setEditingSegment(other);
    EXPECT_EQ(doc.editTrk, second);
    SingSegment stray(0, 10);
    doc.setEditingSegment(&stray);  // held by no track: the track stays
    EXPECT_EQ(doc.editSeg, &stray);
    EXPECT_EQ(doc.editTrk, second);
    doc.setEditingSegment(nullptr);
    EXPECT_EQ(doc.editTrk, nullptr);
}

TEST_F(Document, ResetEditWndSegmentShowsNothingInScoreMode) {
    doc.setEditingSegment(seg);
    doc.editMode = 1;
    doc.resetEditWndSegment();
    EXPECT_EQ(editor.shown.back(), nullptr);
    EXPECT_EQ(doc.editSeg, nullptr);
    EXPECT_EQ(buttons.picks.back(), std::make_pair(0, false));
    EXPECT_EQ(editor.modes.back(), 0);
    int a = 0, b = 0, c = 0, d = 0;
    doc.getEditWndRange(a, b, c, d);
    EXPECT_EQ(a + b + c + d, 10);
}

TEST_F(Document, NoteDefaultsTakeVibratoOnlyFromLongEnoughNotes) {
    CAppConfigModel& cfg = getAppConfig();
    cfg.isAutoVib = true;
    cfg.autoVibBeats = 2;  // 960 ticks
    cfg.vibPercent = 35;
    cfg.vibPreins.vibAmp = {{-1, 4000}, {100001, 4000}};
    cfg.expBendDep = 11;
    cfg.expBendLen = 12;
    cfg.expTailChg = 13;
    cfg.expHeadChg = 14;
    Note shortNote, longNote;
    shortNote.width = 959;
    longNote.width = 960;
    CSSSynthesizerDoc::setNoteDefaultVibExp(&shortNote);
    CSSSynthesizerDoc::setNoteDefaultVibExp(&longNote);
    EXPECT_EQ(shortNote.vibPercent, 0);
    EXPECT_EQ(longNote.vibPercent, 35);
    EXPECT_EQ(longNote.vibrato.vibAmp.nodes.front().value, 4000);
    for (const Note* n : {&shortNote, &longNote}) {
        EXPECT_EQ(n->bendDep, 11);
        EXPECT_EQ(n->bendLen, 12);
        EXPECT_EQ(n->tailChg, 13);
        EXPECT_EQ(n->headChg, 14);
    }
}

namespace {

struct MixCall {
    int list;
    float gain, pan;
};

struct FakeTrackMix : ITrackMixGroup {
    explicit FakeTrackMix(std::vector<MixCall>& calls) : calls(calls) {}
    std::vector<MixCall>& calls;
    int trackListCount() const override { return 3; }
    bool hasTrackList(int i) const override { return i != 1; }
    void setGain(int i, float g) override { calls.push_back({i, g, -9}); }
    void setPan(int i, float p) override { calls.back().pan = p; }
};

}  // namespace

TEST(DocumentPlayers, AreMadeOnFirstUseAndTakeTheTrackMixWhilePlaying) {
    std::vector<MixCall> calls;
    int made = 0;
    setDocPlayersFactory({nullptr, [&] {
                              ++made;
                              return std::make_unique<FakeTrackMix>(calls);
                          }});
    {
        CSSSynthesizerDoc doc;
        EXPECT_EQ(made, 0);
        auto m = markersOnly();
        Track* a = addTrack(*m, kSingingTrack);
        addTrack(*m, kSingingTrack);
        Track* c = addTrack(*m, kInstrumentTrack);
        a->volume = 50;
        a->balance = -0.5f;
        c->muted = true;
        doc.newProject(m.release());
        doc.applyTrackMixToPlayers();
        EXPECT_EQ(made, 0);  // not playing
        doc.isPlaying = 1;
        doc.applyTrackMixToPlayers();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].list, 0);
        EXPECT_FLOAT_EQ(calls[0].gain, 0.5f);
        EXPECT_FLOAT_EQ(calls[0].pan, -0.5f);
        EXPECT_EQ(calls[1].list, 2);
        EXPECT_FLOAT_EQ(calls[1].gain, 0.0f);
        doc.clipAudio();  // the silent stand-in
    }
    setDocPlayersFactory({});
}

TEST(DocumentTimeLine, Bar1TicksKeepTheirRoundingAndOddSignaturesCountAsFourFour) {
    CSSSynthesizerDoc doc;
    // 7/7 measures: the two bar-1 computations keep their rounding orders.
    doc.newProject(markersOnly().release());
    doc.getModel()->beats[0]->numerator = 7;
    doc.getModel()->beats[0]->denominator = 7;
    EXPECT_EQ(doc.getBar1Tick(), 7680);
    EXPECT_EQ(calcBar1Tick(doc.getModel()->beats), 7679);

    // A stored 0/0 marker is measured as 4/4 and divides by nothing.
    doc.getModel()->beats[0]->numerator = 0;
    doc.getModel()->beats[0]->denominator = 0;
    doc.setModel(doc.getModel(), CString());
    EXPECT_EQ(doc.playStart, 7680);
    EXPECT_EQ(doc.playEnd, 9600);
}
