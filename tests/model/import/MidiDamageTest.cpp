// Damaged MIDI files, hand-written in hex: each is refused with the read
// message, or reads as settled, and the open project is left as it was.
#include <filesystem>

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

// Refused for its size, a file is no read error: no read message is shown.
TEST_F(MidiDamageTest, AScoreBuildingMoreThanItsFileAllowsIsRefused)
{
    // A note builds kNoteBuildBytes beside its record of the file's note:
    // about 500 bytes. An import may build 100 bytes per byte of its file
    // beyond 1 MiB, and 1 GiB in all. Under running status a note ended on
    // its own takes 6 bytes, one of notes all ended by one "all notes off"
    // 3: 20,000 notes build about 10 MB, within the 13 MB a file of
    // 120 KB allows, past the 7 MB of one of 60 KB. 3,000,000 notes take
    // 18 MB, more than the 16 MiB the reader takes.
    const uint32_t tooMany = static_cast<uint32_t>((uint64_t{1} << 30) / kNoteBuildBytes + 1);
    using Kind = ImportRefusal::Kind;
    const struct {
        uint32_t notes;
        bool endedAllAtOnce;
        Kind refused;
    } cases[] = {{20000, false, Kind::none},
                 {20000, true, Kind::tooLarge},
                 {tooMany, false, Kind::tooLarge},
                 {3000000, false, Kind::fileTooLarge}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.notes) + (c.endedAllAtOnce ? " ended at once" : ""));
        hvtest::SmfTrack track;
        track.runningStatus(true);
        for (uint32_t i = 0; i < c.notes; ++i) {
            track.noteOn(i, 60 + int(i % 2));
            if (!c.endedAllAtOnce) track.noteOff(i + 1, 60 + int(i % 2), true);
        }
        if (c.endedAllAtOnce) track.control(c.notes, 123);
        hvtest::SmfWriter smf(1, 480);
        smf.track(track);
        boxes.shown.clear();
        dialog = FakeTrackDialog();
        const std::string before = savedBytes(*doc.getModel());
        const MidiImportResult r = importMidi(smf, false);
        EXPECT_EQ(r.status, c.refused == Kind::none ? Status::imported : Status::tooLarge);
        EXPECT_EQ(r.refusal.kind, c.refused);
        if (c.refused == Kind::none) continue;
        const ImportSize& size = r.refusal.size;
        if (c.refused == Kind::fileTooLarge) {
            EXPECT_EQ(size.fileBytes, std::filesystem::file_size(scratch.file("in.mid")));
            EXPECT_EQ(size.bytesAllowed, uint64_t{16} << 20);
        } else {
            EXPECT_EQ(size.notes, c.notes);
            EXPECT_GT(size.bytesNeeded, size.bytesAllowed);
        }
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(savedBytes(*doc.getModel()), before);
    }
}
