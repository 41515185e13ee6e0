// Damaged MIDI files, hand-written in hex: each is refused with the read
// message, or reads as settled, and the open project is left as it was.
#include "ImportFixture.h"
#include "model/import/ImportBudget.h"

using Status = MidiImportResult::Status;

class MidiDamageTest : public ImportFixture {};

TEST_F(MidiDamageTest, HandWrittenFilesGiveTheReadMessageOrTheirWholeEvents)
{
    struct Case {
        const char* file;
        Status status;
        size_t notes;  // when imported
    };
    const Case cases[] = {
        {"empty.hex", Status::readFailed, 0},
        {"header-cut.hex", Status::readFailed, 0},
        {"division-zero.hex", Status::readFailed, 0},
        {"smpte.hex", Status::readFailed, 0},
        {"vlq-five-bytes.hex", Status::readFailed, 0},
        {"meta-past-chunk.hex", Status::imported, 1},
        {"track-past-eof.hex", Status::imported, 2},
    };
    for (bool newProject : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.file << (newProject ? " as new project" : " imported"));
            doc.newProject(HVCurrentModel::makeDefaultProject().release());
            const std::string before = savedBytes(*doc.getModel());
            boxes.shown.clear();
            const std::string path = scratch.file("damaged.mid");
            ASSERT_TRUE(hvtest::writeFileBytes(path, hvtest::readHexFile(std::string(HV_TEST_MIDI_DATA) + "/" + c.file)));
            const MidiImportResult r = runMidiImport(doc, CString::fromUtf8(path), newProject, dialog, context);
            EXPECT_EQ(r.status, c.status);
            if (c.status == Status::readFailed) {
                ASSERT_EQ(boxes.shown.size(), 1u);
                EXPECT_EQ(boxes.shown[0].text, "Error in reading midi file...");
                EXPECT_EQ(boxes.shown[0].caption, "(＞﹏＜)");
                EXPECT_EQ(boxes.shown[0].buttons, MbButtons::ok);
                EXPECT_EQ(r.newModel, nullptr);
                EXPECT_EQ(savedBytes(*doc.getModel()), before);
                continue;
            }
            EXPECT_TRUE(boxes.shown.empty());
            const HVCurrentModel::HalvorenModel& model = newProject ? *r.newModel : *doc.getModel();
            EXPECT_EQ(segOf(model, model.tracks.size() - 1)->notes.size(), c.notes);
        }
    }
}

TEST_F(MidiDamageTest, AScoreBuildingMoreThanOneImportMayIsRefused)
{
    // One more note than a gigabyte of notes holds, back to back with
    // running status: a file of a couple of megabytes.
    const uint32_t tooMany = static_cast<uint32_t>((uint64_t{1} << 30) / kNoteBuildBytes + 1);
    hvtest::SmfTrack track;
    track.runningStatus(true);
    for (uint32_t i = 0; i < tooMany; ++i) track.noteOn(i, 60).noteOff(i + 1, 60, true);
    hvtest::SmfWriter smf(1, 480);
    smf.track(track);
    const std::string before = savedBytes(*doc.getModel());
    EXPECT_EQ(importMidi(smf, false).status, Status::readFailed);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Error in reading midi file...");
    EXPECT_EQ(savedBytes(*doc.getModel()), before);
}
