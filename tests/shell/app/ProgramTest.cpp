// The program as a process: exit codes and messages, and what it leaves on
// disk. No bank sings here (the program has no generation of its own yet);
// clips give the mixdown its sound.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "ProgramFixture.h"
#include "support/audio/AudioFiles.h"
#include "support/midi/SmfWriter.h"
#include "support/model_document/ProjectForms.h"

namespace {

namespace fs = std::filesystem;
using namespace progtest;

TEST_F(ProgramTest, UsageAndOpeningErrors)
{
    clipProject();
    fs::create_directory(dir_.file("folder.ot"));
    std::ofstream(dir_.file("text.ot")) << "some notes\n";
    // Tagged, version 2, a body length of 100 and 10 body bytes.
    std::ofstream(dir_.file("cut.ot"), std::ios::binary)
        << hvtest::ByteBuilder().raw("HALVOREN").u32(2).u32(100).raw(std::string(10, 'x')).bytes;
    ASSERT_TRUE(hvtest::SmfWriter(1, 480).track(hvtest::SmfTrack().note(0, 480, 60)).writeTo(dir_.file("s.mid")));
    const std::string midi = readText(dir_.file("s.mid"));
    struct Case {
        std::string args;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"", 1, "halvoren: no project file given\nUsage: halvoren [options] FILE\n"},
        {"--bogus x.ot", 1, "halvoren: unknown option --bogus\n"},
        {"notes.txt", 2, "notes.txt: neither a project (.ot, .hv) nor a score (.mid, .vsqx)\n"},
        // Each file that cannot be opened says why.
        {"missing.ot", 2, "halvoren: cannot open " + dir_.file("missing.ot") + ": No such file or directory\n"},
        {"folder.ot", 2, "halvoren: cannot open " + dir_.file("folder.ot") + ": Is a directory\n"},
        {"text.ot", 2, "halvoren: cannot open " + dir_.file("text.ot") + ": not a project file\n"},
        {"cut.ot", 2, "halvoren: cannot open " + dir_.file("cut.ot") + ": its header announces 100 bytes and it holds 10\n"},
        // A track named twice would be mixed twice.
        {"x.ot --mixdown o.wav --tracks 1,1", 1, "--tracks wants 1-based track numbers separated by commas, each once"},
        // What cannot be done is refused before anything is written.
        {"s.mid --save s.mid", 1, "halvoren: --save writes a project: OUT ends in .ot or .hv, not \"s.mid\"\n"},
        {"clip.ot --save copy", 1, "halvoren: --save writes a project: OUT ends in .ot or .hv, not \"copy\"\n"},
        {"clip.ot --save new.ot --mixdown x.flac", 1, "halvoren: --mixdown writes .wav or .mp3, not \"x.flac\"\n"},
        {"clip.ot --save new.ot --overwrite", 1, "halvoren: --overwrite goes with --export-each-track\n"},
        {"clip.ot --save new.ot --tracks 5 --mixdown x.wav", 1, "halvoren: --tracks: the project has 1 track, not 5\n"},
        // The folder of the last action is checked before the first writes.
        {"clip.ot --save new.ot --mixdown x.wav --export-each-track none", 4,
         "halvoren: --export-each-track: cannot write into " + dir_.file("none") + ": No such file or directory\n"},
        {"clip.ot --save new.ot --export-each-track clip.wav", 4,
         "halvoren: --export-each-track: cannot write into " + dir_.file("clip.wav") + ": Not a directory\n"},
    };
    for (const Case& c : cases) {
        const RunResult r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << "\n" << r.err;
    }
    for (const char* name : {"copy", "new.ot", "x.flac", "x.wav"})
        EXPECT_FALSE(fs::exists(dir_.file(name))) << name;
    EXPECT_EQ(readText(dir_.file("s.mid")), midi);
    const RunResult help = run("--help");
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: halvoren [options] FILE\n", 0), 0u);
    for (const char* option : {"--import-midi FILE2", "--midi-tracks 0,2", "--fix-overlaps"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST_F(ProgramTest, MixdownOfAClipAndItsFailures)
{
    const std::string project = clipProject();
    const std::string wav = dir_.file("out.WAV");
    RunResult r = run("'" + project + "' --mixdown '" + wav + "' --quiet");
    ASSERT_EQ(r.code, 0) << r.err;
    // The clip starts at the export start: 4410 stereo frames, 44 + 17640 bytes.
    const std::string bytes = readText(wav);
    ASSERT_EQ(bytes.size(), 44u + 4410u * 4u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    // It opens on a sound, so the first 5 ms (220 frames) fade in from
    // silence; then gain 1, pan 0: left 1000 (E8 03), right -2000 (30 F8).
    EXPECT_EQ(bytes.substr(44, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(44 + 220 * 4, 4), std::string("\xE8\x03\x30\xF8", 4));
    EXPECT_TRUE(r.err.empty()) << r.err;  // no bar without a terminal

    // An unwritable folder: the message, exit 4 and no file.
    const std::string lost = dir_.file("none/out.wav");
    r = run("'" + project + "' --mixdown '" + lost + "'");
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("-_-!: " + lost + "\nWave file output failed...\nNo such file or directory\n"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find(".part"), std::string::npos) << r.err;  // the file named is the one asked for
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_FALSE(fs::exists(dir_.file("none")));

    // A link is written through: its target gets the mix, the link stays.
    fs::create_directories(dir_.file("real"));
    std::ofstream(dir_.file("real/mix.wav")) << "old";
    fs::create_symlink("real/mix.wav", dir_.file("link.wav"));
    r = run("'" + project + "' --mixdown '" + dir_.file("link.wav") + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir_.file("link.wav")));
    EXPECT_EQ(readText(dir_.file("real/mix.wav")), bytes);

    // Past a file-size limit the write fails (the limit's signal would kill
    // the program): exit 4, the previous file kept, no temporary file left.
    const std::string limited = dir_.file("limited.wav");
    std::ofstream(limited) << "old";
    const std::string command = "ulimit -f 8; HALVOREN_HOME='" + dir_.file("home") + "' '" + HALVOREN_EXE + "' '" +
                                project + "' --mixdown '" + limited + "' >/dev/null 2>'" + dir_.file("limit.txt") +
                                "' </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 4);  // 8 blocks (of 512 or 1024 bytes) < 17684 bytes
    EXPECT_NE(readText(dir_.file("limit.txt")).find(limited + "\nWave file output failed...\nFile too large\n"),
              std::string::npos)
        << readText(dir_.file("limit.txt"));
    EXPECT_EQ(readText(limited), "old");
    EXPECT_FALSE(fs::exists(limited + ".part"));

    // Files no reader's check accepts are not opened, and nothing is saved
    // over them: a cut header, and 2000 bytes whose first word is no body
    // length (an untagged file must hold exactly 4 + length bytes).
    std::ofstream(dir_.file("damaged.ot")) << "HALVOREN\x01";
    std::string noise(2000, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 131 + 7);
    std::ofstream(dir_.file("noise.ot"), std::ios::binary) << noise;
    for (const std::string name : {"damaged.ot", "noise.ot"}) {
        const std::string before = readText(dir_.file(name));
        r = run("'" + dir_.file(name) + "' --save '" + dir_.file(name) + "' --mixdown '" + dir_.file("d.wav") + "'");
        EXPECT_EQ(r.code, 2) << name;
        EXPECT_NE(r.err.find("halvoren: cannot open " + dir_.file(name)), std::string::npos) << r.err;
        EXPECT_EQ(readText(dir_.file(name)), before) << name;
        EXPECT_FALSE(fs::exists(dir_.file("d.wav"))) << name;
    }

    // A project with nothing to mix writes nothing and says so.
    auto empty = markersOnly();
    r = run("'" + save(*empty, "empty.ot") + "' --mixdown '" + dir_.file("e.wav") + "'");
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find(dir_.file("e.wav") + "\nNo note is sung: the file is not written."), std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir_.file("e.wav")));

    // A track number the project does not have.
    r = run("'" + project + "' --mixdown '" + wav + "' --tracks 2");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("halvoren: --tracks: the project has 1 track, not 2\n"), std::string::npos) << r.err;

    // Saving where no folder is.
    r = run("'" + project + "' --save '" + dir_.file("none/copy.ot") + "'");
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("halvoren: cannot save " + dir_.file("none/copy.ot") + ": No such file or directory\n"),
              std::string::npos)
        << r.err;

    // Nothing is saved over a file that is not a project: it keeps its bytes.
    const std::string noiseBefore = readText(dir_.file("noise.ot"));
    r = run("'" + project + "' --save noise.ot --mixdown after.wav");
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("halvoren: will not save over " + dir_.file("noise.ot") + ": not a project file\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(readText(dir_.file("noise.ot")), noiseBefore);
    EXPECT_FALSE(fs::exists(dir_.file("after.wav")));
}

// A project that does not read to its end opens with what was read, says
// where it stopped, and is never saved over; under another name it saves.
TEST_F(ProgramTest, ADamagedProjectIsNamedAndNeverSavedOver)
{
    const std::string good = readText(clipProject());
    std::string marker = good;
    marker.replace(24, 4, "\xDE\xAD\xBE\xEF");  // "ext3": every marker from there on is missing
    std::string noise = good.substr(0, 12) + std::string("\x00\x10\x00\x00", 4);
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>(i * 131 + 7);
    // Four bytes past the track list, the length grown to hold them.
    const std::string body = good.substr(16) + "tail";
    const std::string longer = hvtest::ByteBuilder().raw("HALVOREN").u32(5).u32(uint32_t(body.size())).raw(body).bytes;
    const struct {
        std::string name, bytes, stop;
    } cases[] = {
        {"marker.ot", marker, "byte 24 (tempo list block cut short)"},
        {"noise.ot", noise, "byte 16 (tempo list block cut short)"},
        {"longer.ot", longer, "byte " + std::to_string(good.size()) + " (track list has 4 bytes left unread)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir_.file(c.name);
        std::ofstream(path, std::ios::binary) << c.bytes;
        RunResult r = run(c.name + " --save " + c.name + " --mixdown d.wav");
        EXPECT_EQ(r.code, 4);
        EXPECT_EQ(r.err, "halvoren: " + path + " reads only to " + c.stop +
                             ": past that point it opens with defaults, and --save will not write over it\n"
                             "halvoren: will not save over " + path + ": the project reads only to " + c.stop + "\n");
        EXPECT_EQ(readText(path), c.bytes);
        EXPECT_FALSE(fs::exists(dir_.file("d.wav")));
        // Nor is a whole project saved over it.
        r = run("clip.ot --save " + c.name);
        EXPECT_EQ(r.code, 4);
        EXPECT_NE(r.err.find("will not save over " + path + ": the project reads only to " + c.stop), std::string::npos);
        EXPECT_EQ(readText(path), c.bytes);
        EXPECT_EQ(run(c.name + " --save copy.ot").code, 0);
        EXPECT_TRUE(fs::exists(dir_.file("copy.ot")));
        fs::remove(dir_.file("copy.ot"));
    }
    // A whole project opens without a word and saves over itself unchanged.
    const RunResult r = run("clip.ot --save clip.ot");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readText(dir_.file("clip.ot")), good);
}

// Every form of the readers' tests through the program: one that reads
// whole opens without a word and is saved over with the model the reader
// makes of it; one that does not, whose blocks hold damage past which it
// reads (lists that hold fewer records than their counts, or other), or that
// holds what the model cannot keep, is named and kept byte for byte. So is a
// project of a newer version, which no generation reads.
TEST_F(ProgramTest, OnlyAProjectReadWholeIsSavedOver)
{
    const std::string path = dir_.file("form.ot");
    // What each kind of damage confined to blocks says the project holds -
    // "<holds> <one>, at byte 60 (...)", or for 15 blocks "<holds> 15
    // <many>, the first at byte 60 (...)" - and what it opens with.
    const struct {
        hvtest::ConfinedForm hvtest::ProjectForm::*damage;
        const char *holds, *one, *many, *opens;
    } kinds[] = {
        {&hvtest::ProjectForm::shortLists, "holds fewer records than", "a count says", "counts say",
         "the records it holds"},
        {&hvtest::ProjectForm::damaged, "holds damage confined to", "a block", "blocks", "what precedes the damage"},
    };
    for (const hvtest::ProjectForm& form : hvtest::projectForms()) {
        SCOPED_TRACE(form.name);
        std::ofstream(path, std::ios::binary) << form.bytes;
        const RunResult r = run("form.ot --save form.ot");
        if (form.stopAt >= 0) {
            // Damage before the stop goes unnamed: the read stopped.
            const std::string stop = "reads only to byte " + std::to_string(form.stopAt) + " (" + form.stop + ")";
            EXPECT_EQ(r.code, 4);
            EXPECT_EQ(r.err, "halvoren: " + path + " " + stop +
                                 ": past that point it opens with defaults, and --save will not write over it\n"
                                 "halvoren: will not save over " + path + ": the project " + stop + "\n");
            EXPECT_TRUE(readText(path) == form.bytes) << "replaced";
            continue;
        }
        std::string said, refusal;  // a line for each kind; the save names the first
        for (const auto& kind : kinds) {
            const hvtest::ConfinedForm& damage = form.*kind.damage;
            if (damage.count == 0) continue;
            const std::string holds =
                std::string(kind.holds) + " " +
                (damage.count == 1 ? std::string(kind.one) + ", at"
                                   : std::to_string(damage.count) + " " + kind.many + ", the first at") +
                " byte " + std::to_string(damage.at) + " (" + damage.what + ")";
            said += "halvoren: " + path + " " + holds + ": it opens with " + kind.opens +
                    " and all the rest of the project, and --save will not write over it\n";
            if (refusal.empty()) refusal = "halvoren: will not save over " + path + ": the project " + holds + "\n";
        }
        if (!said.empty()) {
            EXPECT_EQ(r.code, 4);
            EXPECT_EQ(r.err, said + refusal);
            EXPECT_TRUE(readText(path) == form.bytes) << "replaced";
            continue;
        }
        if (!form.leftOut.empty()) {
            EXPECT_EQ(r.code, 4);
            EXPECT_EQ(r.err, "halvoren: " + path + " opens without " + form.leftOut +
                                 ", which this editor cannot read, and --save will not write over it\n"
                                 "halvoren: will not save over " + path + ": it holds " + form.leftOut +
                                 ", which this editor cannot read\n");
            EXPECT_TRUE(readText(path) == form.bytes) << "replaced";
            continue;
        }
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err, "");
        std::ofstream(dir_.file("read.ot"), std::ios::binary) << form.bytes;
        const std::unique_ptr<HalvorenModel> read(loadProjectFile(CString::fromUtf8(dir_.file("read.ot"))));
        ASSERT_NE(read, nullptr);
        EXPECT_TRUE(readText(path) == readText(save(*read, "expected.ot"))) << "saved another model";
    }

    clipProject();
    const std::string newer = hvtest::taggedFile(6, hvtest::markersBody(hvtest::kAllMarkers).bytes);
    std::ofstream(dir_.file("newer.ot"), std::ios::binary) << newer;
    const RunResult r = run("clip.ot --save newer.ot --mixdown d.wav");
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "(＞﹏＜): It's high version project file, please update editor to use it\n"
                     "halvoren: will not save over " + dir_.file("newer.ot") + ": this editor does not read it\n");
    EXPECT_EQ(readText(dir_.file("newer.ot")), newer);
    EXPECT_FALSE(fs::exists(dir_.file("d.wav")));
}

// A project whose body would pass the 2 GiB - 1 a file holds is refused
// before any byte is written: 507,000 notes of 4239 bytes each.
TEST_F(ProgramTest, AProjectTooLargeToSaveIsRefusedBeforeWriting)
{
    hvtest::SmfTrack track;
    track.runningStatus(true);
    for (uint32_t i = 0; i < 507000; ++i) track.noteOn(i * 2, 60).noteOff(i * 2 + 1, 60, true);
    ASSERT_TRUE(hvtest::SmfWriter(1, 480).track(track).writeTo(dir_.file("many.mid")));
    const RunResult r = run("many.mid --save many.ot --mixdown many.wav");
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "halvoren: cannot save " + dir_.file("many.ot") + ": too large to save: 507000 notes\n");
    for (const char* name : {"many.ot", "many.ot.tmp", "many.wav"}) EXPECT_FALSE(fs::exists(dir_.file(name))) << name;
}

TEST_F(ProgramTest, AMixLouderThan16BitsSaysHowManySamplesClipped)
{
    // Two tracks of 4410 frames of (20000, -20000): every sum, +-40000, clips.
    writeClip("loud.wav", 4410, 20000, -20000);
    auto m = markersOnly();
    for (const char* name : {"One", "Two"}) {
        Track* t = addTrack(*m, kInstrumentTrack, name);
        t->volume = 100;
        addClip(*t, 7680, 1920, 44100, 4410)->audioPath = dir_.file("loud.wav");
    }
    save(*m, "loud.ot");
    const RunResult r = run("loud.ot --mixdown loud-mix.wav");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "-_-!: " + dir_.file("loud-mix.wav") +
                         "\n8820 samples were clipped: the mix is louder than 16 bits can hold\n");
}

TEST_F(ProgramTest, Mp3MixdownDecodesToTheMixdownLength)
{
    const std::string project = clipProject();
    const std::string mp3 = dir_.file("out.mp3");
    const RunResult r = run("'" + project + "' --mixdown '" + mp3 + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    // Sync, MPEG-1 layer III without CRC (FF FB), then 192 kbit/s (index 11)
    // at 44100 Hz (index 0): B0; stereo modes are not mono (top bits != 11).
    const std::string bytes = readText(mp3);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFB);
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0xB0);
    EXPECT_NE(static_cast<unsigned char>(bytes[3]) >> 6, 3);
    const hvtest::DecodedMp3 decoded = hvtest::decodeMp3(mp3);
    EXPECT_EQ(decoded.rate, 44100);
    ASSERT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.pcm.size(), 4410u * 2u);  // the clip's 4410 frames, no more
}

TEST_F(ProgramTest, ChecksRefuseAMissingSinger)
{
    auto m = markersOnly();
    SingSegment* seg = addSingSeg(*addTrack(*m, kSingingTrack, "Vocal"), 7680, 1920, "Nobody");
    addNote(*seg, 0, 480);
    addNote(*seg, 240, 480);  // overlaps it: both notes start on measure 1, beat 1
    const std::string project = save(*m, "nobody.ot");
    for (const std::string& action : {"--mixdown '" + dir_.file("n.wav") + "'", "--export-each-track '" + dir_.path() + "'"}) {
        const RunResult r = run("'" + project + "' " + action);
        EXPECT_EQ(r.code, 3) << action;
        EXPECT_NE(r.err.find("-_-!: Please choose an installed singer:\nsinger \"Nobody\" is not in your system\n"),
                  std::string::npos)
            << r.err;
        // Each place once, with its track, and the option that fixes it.
        EXPECT_NE(r.err.find("overlaps first:\nNotes overlap in track 1 \"Vocal\" at measure 1, beat 1\n-_-!"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("halvoren: --fix-overlaps fixes overlapping notes as the file is read\n"), std::string::npos)
            << r.err;
        // Fixed as the project is read, only the singer is left to name.
        const RunResult fixed = run("'" + project + "' --fix-overlaps " + action);
        EXPECT_EQ(fixed.code, 3) << action;
        EXPECT_EQ(fixed.err, "-_-!: Please choose an installed singer:\nsinger \"Nobody\" is not in your system\n")
            << action;
    }
    EXPECT_FALSE(fs::exists(dir_.file("n.wav")));
    EXPECT_FALSE(fs::exists(dir_.file("nobody_1_Vocal.wav")));
}

TEST_F(ProgramTest, EachTrackWritesNothingForATrackThatSingsNothing)
{
    auto m = markersOnly();
    addTrack(*m, kSingingTrack, "Lead: A");
    const std::string project = save(*m, "demo.ot");
    const std::string target = dir_.file("demo_1_Lead A.wav");
    std::ofstream(target) << "old";
    for (const char* overwrite : {"", " --overwrite"}) {
        const RunResult r = run("'" + project + "' --export-each-track '" + dir_.path() + "'" + overwrite);
        EXPECT_EQ(r.code, 3) << overwrite;
        EXPECT_NE(r.err.find(target + "\nNo note is sung: the file is not written."), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("already exists"), std::string::npos) << r.err;
        EXPECT_EQ(readText(target), "old");
    }
}

TEST_F(ProgramTest, SavedProjectReopensEqual)
{
    const std::string project = clipProject();
    const std::string copy = dir_.file("copy.ot");
    const RunResult r = progtest::runProgram(dir_, "'" + project + "' --save '" + copy + "'");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(readText(copy), readText(project));
    // A program folder without its dictionary folder says so in one line.
    EXPECT_EQ(r.err, ">_<: Dictionary file not exist\n");
}

// A name that is not UTF-8 (here Latin-1 é, E9) is opened and written under
// exactly its bytes; so are the clips of a project and the wav parts of a
// VSQX score in a folder of such a name, saved and reopened.
TEST_F(ProgramTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    clipProject();
    const std::string wav = "out\xE9.wav", project = "lat\xE9.ot";
    RunResult r = run("clip.ot --save '" + project + "' --mixdown '" + wav + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    for (const std::string& name : {wav, project})
        EXPECT_TRUE(fs::exists(dir_.file(name))) << name;
    r = run("'" + project + "' --save copy.ot");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readText(dir_.file("copy.ot")), readText(dir_.file("clip.ot")));

    const std::string folder = dir_.file("f\xE9");
    fs::create_directories(folder + "/s.wavparts");
    fs::copy_file(dir_.file("clip.wav"), folder + "/clip.wav");
    fs::copy_file(dir_.file("clip.wav"), folder + "/s.wavparts/clip.wav");
    auto m = markersOnly();
    addClip(*addTrack(*m, kInstrumentTrack, "Piano"), 7680, 1920, 44100, 4410)->audioPath = folder + "/clip.wav";
    ASSERT_EQ(saveProjectFile(*m, CString::fromPathBytes(folder + "/p.ot")), 0);
    std::ofstream(folder + "/s.vsqx") << R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq4>
  <masterTrack><preMeasure>4</preMeasure><tempo><t>0</t><v>12000</v></tempo></masterTrack>
  <stTrack><wavPart><t>7680</t><playTime>1920</playTime><name>w</name><filePath>clip.wav</filePath></wavPart></stTrack>
</vsq4>
)";
    // The score's part is looked for in s.wavparts beside it.
    const std::pair<const char*, std::string> opened[] = {{"p.ot", folder + "/clip.wav"},
                                                          {"s.vsqx", folder + "/s.wavparts/clip.wav"}};
    for (const auto& [file, clip] : opened) {
        SCOPED_TRACE(file);
        for (const char* mix : {"m1.wav", "m2.wav"}) fs::remove(dir_.file(mix));
        r = run("'f\xE9/" + std::string(file) + "' --save 'f\xE9/out.ot' --mixdown m1.wav");
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        EXPECT_NE(readText(folder + "/out.ot").find(clip), std::string::npos);
        r = run("'f\xE9/out.ot' --mixdown m2.wav");
        ASSERT_EQ(r.code, 0) << r.err;
        // Both mixes hold the clip's 4410 frames, which sound after the fade-in.
        for (const char* mix : {"m1.wav", "m2.wav"}) {
            const std::string bytes = readText(dir_.file(mix));
            ASSERT_EQ(bytes.size(), 44u + 4410u * 4u) << mix;
            EXPECT_NE(bytes.substr(44 + 1000 * 4, 4), std::string(4, '\0')) << mix;
        }
    }
    // A clip gone from there is named with its path's bytes.
    fs::remove(folder + "/clip.wav");
    r = run("'f\xE9/p.ot' --mixdown m3.wav");
    EXPECT_NE(r.err.find(folder + "/clip.wav (cannot be read: No such file or directory)"), std::string::npos) << r.err;

    // So are the dictionary lists missing from a program folder's dict/.
    const std::string home = dir_.file("p\xE9");
    fs::create_directories(home + "/dict");
    r = run("'" + project + "' --save copy.ot", "HALVOREN_HOME='" + home + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Fail to open file " + home + "/dict/zh_list at 54\nFail to load espeak dictionary: " + home +
                         "/dict/zh_list\n");
}

TEST_F(ProgramTest, LegacyProjectSavedReopensEqual)
{
    // Generation 0, untagged: a body of a header word, two tempos (pos,
    // value), one beat (pos, numerator, denominator) and no segments.
    using hvtest::ByteBuilder;
    ByteBuilder body;
    body.u32(0);
    body.block(ByteBuilder().u32(2).i32(0).i32(12000).i32(3840).i32(9000));
    body.block(ByteBuilder().u32(1).i32(-3).i32(3).i32(4));
    body.block(ByteBuilder().u32(0));
    const std::string old = dir_.file("old.HV");
    std::ofstream(old, std::ios::binary) << ByteBuilder().block(body).bytes;

    const std::string saved = dir_.file("saved.ot");
    const std::string again = dir_.file("again.ot");
    ASSERT_EQ(run("'" + old + "' --save '" + saved + "'").code, 0);
    ASSERT_EQ(run("'" + saved + "' --save '" + again + "'").code, 0);
    EXPECT_EQ(readText(again), readText(saved));
    const std::unique_ptr<HalvorenModel> reopened(loadProjectFile(CString::fromUtf8(saved)));
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->tempos.size(), 2u);
    EXPECT_EQ(reopened->tempos[1]->pos, 3840);
    EXPECT_EQ(reopened->tempos[1]->tempo, 9000);
    ASSERT_EQ(reopened->beats.size(), 1u);
    EXPECT_EQ(reopened->beats[0]->numerator, 3);
}

}  // namespace
