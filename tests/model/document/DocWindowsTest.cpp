#include <gtest/gtest.h>

#include "model/current/DefaultProject.h"
#include "model/document/SSSynthesizerDoc.h"
#include "shell/MainFrame.h"
#include "support/model_document/ProjectBuilder.h"
#include "uikit/UIRadioButton.h"

using namespace HVCurrentModel;

TEST(RadioButtonGroup, SelectChecksOneButtonAndNotifiesOnlyWhenAsked) {
    CUIRadioButton a, b, foreign;
    CUIRadioButtonGroup group;
    struct : CUIRadioButtonDelegate {
        std::vector<CUIRadioButton*> picked;
        void onRadioBtnSelected(CUIRadioButtonGroup*, CUIRadioButton* b) override { picked.push_back(b); }
    } log;
    group.addBtn(&a);
    group.addBtn(&b);
    group.setDelegate(&log);
    group.selectBtn(&b, false);
    EXPECT_TRUE(b.isChecked() && !a.isChecked());
    group.selectBtn(&a, true);
    group.selectBtn(&foreign, true);  // not in the group: ignored
    group.selectBtnAt(5, true);
    EXPECT_EQ(group.getSelBtn(), &a);
    EXPECT_EQ((std::vector<CUIRadioButton*>{&a}), log.picked);
}

class HeadlessFrame : public ::testing::Test {
protected:
    HeadlessFrame() {
        frame.newModel();
        seg = doc.getModel()->tracks[0]->singSegs->segAt(0);
    }
    CSSSynthesizerDoc doc;
    CMainFrame frame{&doc};
    SingSegment* seg = nullptr;
};

TEST_F(HeadlessFrame, NewModelShowsTheDefaultProjectFromMeasureOne) {
    EXPECT_EQ(seg->pos, kDefaultSegmentPos);
    EXPECT_EQ(doc.playPos, 7680);
    EXPECT_EQ(frame.editWnd.getEditSeg(), nullptr);
    EXPECT_TRUE(frame.scoreModeBtn.isChecked());
    EXPECT_EQ(frame.posTempo * 10 + frame.posNumerator, 120004);
    EXPECT_FLOAT_EQ(frame.posSeconds, 8.0f);  // four measures at 120 BPM
    EXPECT_FALSE(doc.isModified());
}

TEST_F(HeadlessFrame, EditsMarkTheTitleAndUndoBringsBackTheParameterView) {
    frame.setProjectName("song.ot");
    frame.editWnd.setEditSeg(seg);
    frame.setEditMode(1);
    frame.editWnd.selParm(kKindGender);
    EXPECT_EQ(doc.editSeg, seg);
    EXPECT_EQ(doc.editMode, 1);

    const int refreshes = frame.editWnd.refreshCount;
    doc.editSegCurveGender(seg, NodeContainer{{10, 1}, {20, 2}});
    EXPECT_EQ(frame.getTitle(), "song.ot *");
    EXPECT_EQ(frame.editWnd.refreshCount, refreshes + 1);
    EXPECT_EQ(frame.trackWnd.refreshCount, refreshes + 1);

    frame.editWnd.setEditSeg(nullptr);
    frame.setScoreMode();
    frame.editWnd.selParm(kKindAmplitude);
    doc.undo();
    EXPECT_EQ(frame.getTitle(), "song.ot");
    EXPECT_EQ(frame.editWnd.getEditSeg(), seg);
    EXPECT_EQ(frame.editWnd.getEditMode(), 1);
    EXPECT_TRUE(frame.parmModeBtn.isChecked());
    EXPECT_EQ(frame.editWnd.getParmKind(), kKindGender);

    auto m = projtest::markersOnly();  // a given model replaces the project
    HalvorenModel* given = m.get();
    frame.resetAllViews(m.release());
    EXPECT_EQ(doc.getModel(), given);
    EXPECT_EQ(doc.editSeg, nullptr);
    EXPECT_EQ(frame.editWnd.getEditMode(), 0);
}

TEST_F(HeadlessFrame, ModeMessageSwitchesTheEditorModeAndTellsTheDocument) {
    EXPECT_TRUE(frame.editWnd.WindowProc(CEditWnd::kMsgSetEditMode, 0, 1));
    EXPECT_EQ(frame.editWnd.getEditMode() * 10 + doc.editMode, 11);
    EXPECT_FALSE(frame.editWnd.WindowProc(0x20EA, 0, 0));
}
