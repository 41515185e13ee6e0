// The main frame's MIDI and VSQX imports: the track dialog's answer, the
// cursor, the project name, and a failed read that leaves the open project
// and its unsaved changes alone.
#include <gtest/gtest.h>

#include "model/current/DefaultProject.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectFile.h"
#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "shell/MainFrame.h"
#include "shell/services/AppConfig.h"
#include "support/ScratchDir.h"
#include "support/midi/SmfWriter.h"

using namespace HVCurrentModel;
using hvtest::SmfTrack;
using hvtest::SmfWriter;

class MainFrameImportTest : public ::testing::Test {
protected:
    MainFrameImportTest() : scoped_(&boxes)
    {
        getAppConfig().isAutoVib = false;
        doc.newProject(makeDefaultProject().release());
        frame.setProjectName("song");
    }

    CString writeMidi(const SmfWriter& smf)
    {
        const std::string path = scratch.file("in.mid");
        smf.writeTo(path);
        return CString::fromUtf8(path);
    }

    std::string savedBytes()
    {
        const CString path = CString::fromUtf8(scratch.file("saved.hvp"));
        std::string bytes;
        EXPECT_EQ(saveProjectFile(*doc.getModel(), path), 0);
        EXPECT_TRUE(readWholeFile(path, bytes, uint64_t{1} << 30));
        return bytes;
    }

    hvtest::ScratchDir scratch{"frame_import"};
    ScriptedMessageBoxService boxes;
    CSSSynthesizerDoc doc;
    CMainFrame frame{&doc};

private:
    ScopedMessageBoxService scoped_;
};

TEST_F(MainFrameImportTest, TheAnswerPicksMidiTracksInListOrder)
{
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().name(0, "conductor"));
    smf.track(SmfTrack().name(0, "one").note(960, 1440, 60));
    smf.track(SmfTrack().name(0, "two").note(480, 960, 62).note(960, 1200, 64));
    std::vector<CSelectMidiTrackDlg::Row> offered;
    frame.midiTrackAnswer = [&offered](const std::vector<CSelectMidiTrackDlg::Row>& rows) {
        offered = rows;
        return std::optional<std::vector<int>>(std::vector<int>{2, 1});
    };
    frame.setEditMode(1);
    ASSERT_EQ(frame.importMidiFile(writeMidi(smf), true), MidiImportResult::Status::imported);
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].name.toUtf8(), "one");
    EXPECT_EQ(offered[1].noteCount, 2);
    const HalvorenModel& model = *doc.getModel();
    ASSERT_EQ(model.tracks.size(), 2u);
    EXPECT_EQ(model.tracks[0]->singSegs->segAt(0)->name, "one");  // list order, not answer order
    EXPECT_EQ(model.tracks[1]->singSegs->segAt(0)->name, "two");
    EXPECT_EQ(doc.playPos, 7680 + 480);  // the earliest first note
    EXPECT_EQ(frame.getEditMode(), 0);
    EXPECT_FALSE(doc.canUndo());
}

TEST_F(MainFrameImportTest, WithoutAnAnswerEveryOfferedTrackIsTaken)
{
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().note(0, 480, 60));
    smf.track(SmfTrack().note(0, 480, 62));
    const size_t before = doc.getModel()->tracks.size();
    ASSERT_EQ(frame.importMidiFile(writeMidi(smf), false), MidiImportResult::Status::imported);
    EXPECT_EQ(doc.getModel()->tracks.size(), before + 2);
    EXPECT_TRUE(doc.canUndo());
}

TEST_F(MainFrameImportTest, ACancelledChoiceOrAFailedReadLeavesTheProject)
{
    frame.midiTrackAnswer = [](const std::vector<CSelectMidiTrackDlg::Row>&) { return std::nullopt; };
    HalvorenModel* model = doc.getModel();
    const std::string before = savedBytes();
    EXPECT_EQ(frame.importMidiFile(writeMidi(SmfWriter(1, 480).track(SmfTrack().note(0, 480, 60))), true),
              MidiImportResult::Status::cancelled);
    EXPECT_EQ(frame.importMidiFile(CString::fromUtf8(scratch.file("none.mid")), true),
              MidiImportResult::Status::readFailed);
    EXPECT_EQ(doc.getModel(), model);
    EXPECT_EQ(savedBytes(), before);
    EXPECT_EQ(boxes.shown.size(), 1u);  // the read message only
}

TEST_F(MainFrameImportTest, AVsqxScoreOpensAsANewProjectNamedAfterTheFile)
{
    const std::string path = scratch.file("tune.vsqx");
    hvtest::writeFileBytes(path, "<vsq4><masterTrack><preMeasure>4</preMeasure></masterTrack>"
                                 "<vsTrack><name>Lead</name></vsTrack></vsq4>");
    ASSERT_TRUE(frame.importVsqxFile(CString::fromUtf8(path)));
    ASSERT_EQ(doc.getModel()->tracks.size(), 1u);
    EXPECT_EQ(doc.getModel()->tracks[0]->name, "Lead");
    EXPECT_EQ(frame.getTitle(), "tune.vsqx");
    EXPECT_TRUE(doc.getPath().isEmpty());
}

TEST_F(MainFrameImportTest, AFailedVsqxReadKeepsTheOpenProjectAndItsChanges)
{
    doc.addNewSingTrack("edited");  // an unsaved change
    HalvorenModel* model = doc.getModel();
    const std::string before = savedBytes();
    const std::string path = scratch.file("bad.vsqx");
    hvtest::writeFileBytes(path, "<vsq5/>");
    EXPECT_FALSE(frame.importVsqxFile(CString::fromUtf8(path)));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Error in reading vsqx file...");
    EXPECT_EQ(boxes.shown[0].caption, ">_<");
    EXPECT_EQ(doc.getModel(), model);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.canUndo());
    EXPECT_EQ(savedBytes(), before);
}
