#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <string>

#include "ProjectFixtures.h"
#include "model/file/ProjectFile.h"
#include "support/ByteBuilder.h"
#include "support/ScratchDir.h"
#include "support/audio/RiffWriter.h"

using namespace HVCurrentModel;
using hvtest::ByteBuilder;
namespace fs = std::filesystem;

TEST(ProjectFileSaveLoad, SaveThenLoadGivesAnEqualModel)
{
    hvtest::ScratchDir dir("projsave");
    const CString path = CString::fromUtf8(dir.file("song.ot"));
    auto original = hvtest::makeRichModel();
    // Markers that would divide by zero in measure arithmetic are kept as stored.
    original->beats.push_back(new Beat{5, 0, 4});
    original->beats.push_back(new Beat{6, 3, 0});
    // A kind the reader cannot read back, between two that it can.
    original->tracks.insert(original->tracks.begin() + 1, new Track(2));

    ASSERT_EQ(saveProjectFile(*original, path), 0);
    EXPECT_FALSE(fs::exists(dir.file("song.ot.tmp")));
    EXPECT_TRUE(verifyProjectFile(path));
    std::unique_ptr<HalvorenModel> loaded(loadProjectFile(path));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->ext1 && loaded->ext2 && loaded->ext3 && loaded->ext4 && loaded->ext5 && loaded->ext6 &&
                loaded->ext7);
    EXPECT_EQ(loaded->path, path);
    EXPECT_EQ(loaded->tracks.size(), 2u);
    EXPECT_EQ(hvtest::bodyOf(*loaded), hvtest::bodyOf(*original));
}

TEST(ProjectFileSaveLoad, FailedSaveKeepsThePreviousFileAndReportsFailure)
{
    hvtest::ScratchDir dir("projfail");
    const std::string target = dir.file("song.ot");
    const CString path = CString::fromUtf8(target);
    hvtest::writeFileBytes(target, "previous");
    auto model = hvtest::makeRichModel();

    fs::create_directory(target + ".tmp");  // the temporary file cannot be created
    EXPECT_EQ(saveProjectFile(*model, path), -1);
    EXPECT_TRUE(fs::is_directory(target + ".tmp"));  // not the save's to remove
    fs::remove(target + ".tmp");
    {  // a disk that fills up while writing: the partial file goes too
        struct rlimit was {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &was), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = was;
        small.rlim_cur = 4096;  // one note's vibrato table alone is 4 KiB
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const int32_t result = saveProjectFile(*model, path);
        setrlimit(RLIMIT_FSIZE, &was);
        std::signal(SIGXFSZ, previousHandler);
        EXPECT_EQ(result, -1);
        EXPECT_FALSE(fs::exists(fs::symlink_status(target + ".tmp")));
    }
    EXPECT_EQ(hvtest::readFileBytes(target), "previous");

    // A link planted at the temporary name is removed, not written through.
    hvtest::writeFileBytes(dir.file("victim"), "victim");
    fs::create_symlink(dir.file("victim"), target + ".tmp");
    EXPECT_EQ(saveProjectFile(*model, path), 0);
    EXPECT_EQ(hvtest::readFileBytes(dir.file("victim")), "victim");
    EXPECT_TRUE(verifyProjectFile(path));
    EXPECT_FALSE(fs::exists(fs::symlink_status(target + ".tmp")));

    const std::string folder = dir.file("folder.ot");  // the target cannot be replaced
    fs::create_directories(folder + "/inside");
    EXPECT_EQ(saveProjectFile(*model, CString::fromUtf8(folder)), -1);
    EXPECT_TRUE(fs::is_directory(folder + "/inside"));
}

// A project opened through a symbolic link is replaced where the link
// points, and a replaced file keeps its permissions.
TEST(ProjectFileSaveLoad, SaveReplacesTheLinkedFileAndKeepsItsPermissions)
{
    hvtest::ScratchDir dir("projlink");
    fs::create_directories(dir.file("real"));
    const std::string real = dir.file("real/song.ot");
    const std::string link = dir.file("song.ot");
    hvtest::writeFileBytes(real, "previous");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                    fs::perm_options::replace);
    fs::create_symlink("real/song.ot", link);  // relative to the link's folder
    auto model = hvtest::makeRichModel();

    ASSERT_EQ(saveProjectFile(*model, CString::fromUtf8(link)), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(hvtest::readFileBytes(real), hvtest::taggedFile(5, hvtest::bodyOf(*model)));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);  // 0640
    EXPECT_FALSE(fs::exists(real + ".tmp"));
    EXPECT_FALSE(fs::exists(link + ".tmp"));

    // A link to a link, to a file that does not exist yet.
    fs::create_symlink("song.ot", dir.file("again.ot"));
    fs::create_symlink(dir.file("real/new.ot"), dir.file("new.ot"));
    ASSERT_EQ(saveProjectFile(*model, CString::fromUtf8(dir.file("again.ot"))), 0);
    ASSERT_EQ(saveProjectFile(*model, CString::fromUtf8(dir.file("new.ot"))), 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("again.ot")) && fs::is_symlink(dir.file("new.ot")));
    EXPECT_TRUE(verifyProjectFile(CString::fromUtf8(dir.file("real/new.ot"))));
}

// A clip is found where stored or beside the project; a segment whose clip
// is in neither place, or cannot be decoded there, stays without sound and
// is saved back unchanged. The segment tells which file its load was.
TEST(ProjectFileSaveLoad, ClipsLoadFromBesideTheProjectOrStayWithoutSound)
{
    hvtest::ScratchDir dir("projclip");
    const hvtest::Bytes wav = hvtest::simpleWav(1, 1, 44100, 16, {1, 0, 2, 0, 3, 0, 4, 0});
    ASSERT_TRUE(hvtest::writeBytes(dir.file("clip.wav"), wav));
    ASSERT_TRUE(hvtest::writeBytes(dir.file("bad.wav"), hvtest::Bytes(wav.begin(), wav.begin() + 16)));
    HalvorenModel model;
    model.tracks.push_back(new Track(kInstrumentTrack));
    for (const char* stored : {"C:\\songs\\clip.wav", "C:\\songs\\gone.wav", "C:\\songs\\bad.wav"}) {
        auto* seg = new InstrumentSegment(7680, 1920);
        seg->audioPath = stored;
        model.tracks[0]->instSegs->push_back(seg);
    }
    model.tracks[0]->instSegs->sortAndMarkOverlaps();
    const CString path = CString::fromUtf8(dir.file("song.ot"));
    ASSERT_EQ(saveProjectFile(model, path), 0);
    const std::string saved = hvtest::readFileBytes(dir.file("song.ot"));
    std::unique_ptr<HalvorenModel> loaded(loadProjectFile(path));
    ASSERT_TRUE(loaded);
    const InstrumentSegmentContainer& clips = *loaded->tracks.at(0)->instSegs;
    ASSERT_EQ(clips.size(), 3u);
    EXPECT_EQ(clips.segAt(0)->audioPath, "C:\\songs\\clip.wav");
    EXPECT_EQ(clips.segAt(0)->frames, 4);
    EXPECT_EQ(clips.segAt(0)->clipFile, dir.file("clip.wav"));
    EXPECT_EQ(clips.segAt(1)->audioPath, "C:\\songs\\gone.wav");
    EXPECT_EQ(clips.segAt(1)->clipLoad, ClipLoad::unreadable);
    EXPECT_EQ(clips.segAt(1)->clipFile, dir.file("gone.wav"));
    EXPECT_EQ(clips.segAt(1)->frames, 0);
    EXPECT_TRUE(clips.segAt(1)->overlapped);
    EXPECT_EQ(clips.segAt(2)->audioPath, "C:\\songs\\bad.wav");
    EXPECT_EQ(clips.segAt(2)->clipLoad, ClipLoad::undecodable);
    EXPECT_EQ(clips.segAt(2)->clipFile, dir.file("bad.wav"));
    EXPECT_EQ(clips.segAt(2)->frames, 0);

    ASSERT_EQ(saveProjectFile(*loaded, CString::fromUtf8(dir.file("again.ot"))), 0);
    EXPECT_EQ(hvtest::readFileBytes(dir.file("again.ot")), saved);
}

// Every prefix of a file, cut one byte at a time, loads; what is wholly
// present is kept.
TEST(ProjectFileSaveLoad, EveryPrefixOfAFileLoads)
{
    hvtest::ScratchDir dir("projcut");
    HalvorenModel model;
    model.tempos.push_back(new Tempo{0, 13000});
    model.beats.push_back(new Beat{-3, 3, 4});
    auto* track = new Track(kSingingTrack);
    model.tracks = {track, new Track(kInstrumentTrack)};
    auto* seg = new SingSegment(7680, 1920);
    seg->notes.insertSorted(new Note);
    insertSegmentSorted(*track->singSegs, seg);
    ASSERT_EQ(saveProjectFile(model, CString::fromUtf8(dir.file("full.ot"))), 0);
    const std::string bytes = hvtest::readFileBytes(dir.file("full.ot"));
    const size_t beatsEnd = 16 + 28 + 16 + 20;
    for (size_t n = 0; n < bytes.size(); ++n) {
        auto m = hvtest::loadProjectBytes(bytes.substr(0, n));
        ASSERT_TRUE(m) << n;
        if (n < beatsEnd) continue;
        ASSERT_EQ(m->tempos.size() + m->beats.size(), 2u) << n;
        EXPECT_EQ(m->beats[0]->numerator, 3);
    }
    EXPECT_EQ(hvtest::bodyOf(*hvtest::loadProjectBytes(bytes)), hvtest::bodyOf(model));
}

// Counts far beyond the bytes present neither allocate nor loop for them.
TEST(ProjectFileSaveLoad, DamagedCountsAreBoundedByTheBytesPresent)
{
    ByteBuilder note;  // its wave table holds 512 values
    note.i32(0).i32(480).i32(60).i32(0).str("la").str("la").u8(0).block({}).block(ByteBuilder().u32(512).raw(std::string(2048, 1)));
    ByteBuilder body;
    body.raw("ext1ext2ext3ext4ext5ext6ext7").block(ByteBuilder().u32(0x7FFFFFFF).i32(0).i32(12000));
    body.block(ByteBuilder().u32(0xFFFFFFFF)).u32(0xFFFFFFFF);
    body.u32(0).str("a").u8(0).u8(0).i32(30).f32(0);  // segment count huge, singer cut off
    body.block(ByteBuilder().u32(0x7FFFFFFF).i32(0).i32(1920).str("s").u32(0x7FFFFFF0).raw("xy"));
    body.u32(0).str("b").u8(0).u8(0).i32(30).f32(0);  // note count huge
    body.block(ByteBuilder().u32(1).i32(0).i32(1920).str("s").str("x").block(ByteBuilder().u32(~0u).raw(note.bytes)));
    body.u32(0).str("c").u8(0).u8(0).i32(30).f32(0).u32(0x7FFFFFFF).raw("tail");  // block cut short

    auto m = hvtest::loadProjectBytes(hvtest::taggedFile(5, body.bytes));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->tempos.size(), 1u);
    EXPECT_TRUE(m->beats.empty());
    ASSERT_EQ(m->tracks.size(), 3u);
    EXPECT_EQ(m->tracks[0]->singSegs->size(), 1u);
    const NoteContainer& notes = m->tracks[1]->singSegs->segAt(0)->notes;
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->cycle.table, Note().cycle.table);  // not a short table
    EXPECT_TRUE(m->tracks[2]->singSegs->empty());
}
