// The program as a process: exit codes and messages, and what it leaves on
// disk. No bank sings here (the program has no generation of its own yet);
// clips give the mixdown its sound.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>
#include <fstream>
#include <cstring>
#include <iterator>

#include "HeldRun.h"
#include "ProgramRun.h"
#include "support/ByteBuilder.h"
#include "model/file/ProjectFile.h"
#include "support/ScratchDir.h"
#include "support/audio/AudioFiles.h"
#include "support/audio/RiffWriter.h"
#include "support/midi/SmfWriter.h"
#include "support/model_document/ProjectBuilder.h"

namespace {

using namespace projtest;
namespace fs = std::filesystem;

using progtest::readText;
using progtest::RunResult;

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
    {
        fs::create_directories(dir_.file("home"));
        // A stereo clip: 4410 frames (0.1 s) of left 1000, right -2000.
        hvtest::ByteBuilder samples;
        for (int i = 0; i < 4410; ++i) {
            samples.u16(static_cast<uint16_t>(1000));
            samples.u16(static_cast<uint16_t>(-2000));
        }
        hvtest::writeBytes(dir_.file("clip.wav"), hvtest::simpleWav(1, 2, 44100, 16, hvtest::toBytes(samples)));
    }

    // Runs the program with HALVOREN_HOME in the scratch folder; its err
    // leaves out the two lines about the dictionary that folder lacks.
    RunResult run(const std::string& args, const std::string& env = "")
    {
        RunResult r = progtest::runProgram(dir_, args, env);
        r.err = std::regex_replace(r.err, std::regex("Fail to (open file|load espeak dictionary).*\n"), "");
        return r;
    }

    // Saves a project at 120 BPM with the given tracks; returns its path.
    std::string save(HalvorenModel& model, const std::string& name)
    {
        const std::string path = dir_.file(name);
        EXPECT_EQ(saveProjectFile(model, CString::fromUtf8(path)), 0);
        return path;
    }

    // The paced sink writing its captures into the scratch folder.
    std::string sinkConf()
    {
        const std::string text = readText(HV_PACED_SINK_CONF);
        const std::string conf = dir_.file("sink.conf");
        std::ofstream(conf) << std::regex_replace(text, std::regex("\"[^\"]*/stream-"), "\"" + dir_.file("stream-"));
        return conf;
    }

    // The largest capture of the paced sink (the others are probes), or "".
    std::string largestCapture()
    {
        std::string capture;
        for (const auto& entry : fs::directory_iterator(dir_.path()))
            if (entry.path().filename().string().rfind("stream-", 0) == 0 &&
                (capture.empty() || fs::file_size(entry.path()) > fs::file_size(capture)))
                capture = entry.path().string();
        return capture;
    }

    // A project with one instrumental track holding a stereo clip of whole
    // seconds at measure 1: frame i is (i % 1000 + 1, -(i % 777) - 1).
    std::string longClipProject(int seconds = 1)
    {
        const int frames = 44100 * seconds;
        hvtest::ByteBuilder samples;
        for (int i = 0; i < frames; ++i) {
            samples.u16(static_cast<uint16_t>(i % 1000 + 1));
            samples.u16(static_cast<uint16_t>(-(i % 777) - 1));
        }
        hvtest::writeBytes(dir_.file("long.wav"), hvtest::simpleWav(1, 2, 44100, 16, hvtest::toBytes(samples)));
        auto m = markersOnly();
        Track* t = addTrack(*m, kInstrumentTrack, "Piano");
        t->volume = 100;
        addClip(*t, 7680, 1920 * seconds, 44100, frames)->audioPath = dir_.file("long.wav");
        return save(*m, "long.ot");
    }

    // A project with one instrumental track holding the clip at measure 1.
    std::string clipProject()
    {
        auto m = markersOnly();
        Track* t = addTrack(*m, kInstrumentTrack, "Piano");
        t->volume = 100;
        InstrumentSegment* clip = addClip(*t, 7680, 1920, 44100, 4410);
        clip->audioPath = dir_.file("clip.wav");
        return save(*m, "clip.ot");
    }

    hvtest::ScratchDir dir_{"program"};
};

TEST_F(ProgramTest, UsageAndOpeningErrors)
{
    struct Case {
        std::string args;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"", 1, "halvoren: no project file given\nUsage: halvoren [options] FILE\n"},
        {"--bogus x.ot", 1, "halvoren: unknown option --bogus\n"},
        {"notes.txt", 2, "notes.txt: neither a project (.ot, .hv) nor a score (.mid, .vsqx)\n"},
        {"'" + dir_.file("missing.ot") + "'", 2, "halvoren: cannot open " + dir_.file("missing.ot") + "\n"},
        // A track named twice would be mixed twice.
        {"x.ot --mixdown o.wav --tracks 1,1", 1, "--tracks wants 1-based track numbers separated by commas, each once"},
    };
    for (const Case& c : cases) {
        const RunResult r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << "\n" << r.err;
    }
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
    // Gain 1, pan 0: left 1000 (E8 03), right -2000 (30 F8).
    EXPECT_EQ(bytes.substr(44, 4), std::string("\xE8\x03\x30\xF8", 4));
    EXPECT_TRUE(r.err.empty()) << r.err;  // no bar without a terminal

    // An unwritable folder: the message, exit 4 and no file.
    const std::string lost = dir_.file("none/out.wav");
    r = run("'" + project + "' --mixdown '" + lost + "'");
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("-_-!: " + lost + "\nWave file output failed...\n"), std::string::npos) << r.err;
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
                                project + "' --mixdown '" + limited + "' >/dev/null 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 4);  // 8 blocks (of 512 or 1024 bytes) < 17684 bytes
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
    EXPECT_NE(r.err.find("halvoren: --tracks: the project has 1 tracks, not 2\n"), std::string::npos) << r.err;

    // Saving where no folder is.
    r = run("'" + project + "' --save '" + dir_.file("none/copy.ot") + "'");
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("halvoren: cannot save " + dir_.file("none/copy.ot")), std::string::npos) << r.err;
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
        EXPECT_NE(r.err.find("halvoren: overlapping notes of a MIDI file are fixed on import with --fix-overlaps\n"),
                  std::string::npos)
            << r.err;
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
    ASSERT_EQ(run("'" + project + "' --save '" + copy + "'").code, 0);
    EXPECT_EQ(readText(copy), readText(project));
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

TEST_F(ProgramTest, PlayNeedsAnOutputDevice)
{
    const std::string project = clipProject();
    RunResult r = run("'" + project + "' --play", std::string("ALSA_CONFIG_PATH='") + HV_NO_DEVICE_CONF + "'");
    EXPECT_EQ(r.code, 5);
    EXPECT_EQ(r.err, "Error: No default output device.\n");  // the libraries' probing is not shown
}

TEST_F(ProgramTest, PlaybackCapturesTheMixdown)
{
    const std::string project = longClipProject();
    const std::string mix = dir_.file("mix.wav");
    ASSERT_EQ(run("'" + project + "' --mixdown '" + mix + "'").code, 0);
    const std::vector<int16_t> expected = hvtest::wavSamples(mix);
    ASSERT_EQ(expected.size(), 44100u * 2u);

    const RunResult r = run("'" + project + "' --play", "ALSA_CONFIG_PATH='" + sinkConf() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string capture = largestCapture();
    ASSERT_FALSE(capture.empty());
    const std::string raw = readText(capture);
    std::vector<int16_t> got(raw.size() / 2);
    std::memcpy(got.data(), raw.data(), got.size() * 2);
    // After the priming silence the first frame is (1, -1).
    size_t start = 0;
    while (start < got.size() && got[start] == 0)
        ++start;
    ASSERT_LT(start, got.size());
    // The stop at the end aborts the stream and loses what is still queued:
    // about two periods of 256 frames, a little more on a slow machine.
    // Allowed: four periods (4 * 256 frames * 2 channels samples).
    const size_t compared = std::min(expected.size(), got.size() - start);
    ASSERT_GE(compared, expected.size() - 4u * 512u);
    for (size_t i = 0; i < compared; ++i)
        ASSERT_EQ(got[start + i], expected[i]) << "sample " << i;
}

TEST_F(ProgramTest, InterruptStopsPlaybackWith130)
{
    const int seconds = 20;
    const std::string project = longClipProject(seconds);
    const std::string conf = sinkConf();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("HALVOREN_HOME", dir_.file("home").c_str(), 1);
        setenv("ALSA_CONFIG_PATH", conf.c_str(), 1);
        freopen("/dev/null", "w", stderr);
        execl(HALVOREN_EXE, "halvoren", project.c_str(), "--play", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Once the stream has started (its capture grows).
    auto streaming = [&] {
        const std::string capture = largestCapture();
        return !capture.empty() && fs::file_size(capture) > 4096;
    };
    for (int i = 0; i < 6000 && !streaming(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(streaming());
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    // The sink played fewer than the clip's frames (4 bytes each): the
    // interrupt, not the clip's end, stopped the stream.
    EXPECT_LT(fs::file_size(largestCapture()), 44100u * seconds * 4u);
}

TEST_F(ProgramTest, InterruptDuringTheFileWriteRemovesIt)
{
    // 120 s of clip: nothing to sing, so the MP3 encoding is the whole export.
    const std::string project = longClipProject(120);
    const std::string mp3 = dir_.file("long.mp3");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("HALVOREN_HOME", dir_.file("home").c_str(), 1);
        freopen("/dev/null", "w", stderr);
        execl(HALVOREN_EXE, "halvoren", project.c_str(), "--mixdown", mp3.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Reading the clip comes first; sanitizer builds take many seconds.
    for (int i = 0; i < 12000 && !fs::exists(mp3 + ".part"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(fs::exists(mp3 + ".part"));
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_FALSE(fs::exists(mp3 + ".part"));
    EXPECT_FALSE(fs::exists(mp3));
}

// Ctrl-C or SIGTERM while a MIDI file is imported or the project is saved
// ends the program there with 130: the file it was to save over keeps its
// bytes and no temporary file is left. The program is held in the call that
// opens the MIDI file, or in the one that would move the written and checked
// temporary file over the project, and signalled there.
TEST_F(ProgramTest, InterruptDuringAnImportOrASaveKeepsThePreviousFile)
{
    const std::string project = clipProject();
    const auto previous = markersOnly();
    const std::string target = save(*previous, "kept.ot");
    const std::string before = readText(target);
    const std::string midi = dir_.file("song.mid");
    ASSERT_TRUE(hvtest::SmfWriter(1, 480).track(hvtest::SmfTrack().name(0, "one").note(0, 480, 60)).writeTo(midi));

    const std::vector<progtest::PathCall> opens = {{SYS_openat, 1}};
    const std::vector<progtest::PathCall> renames = {{SYS_rename, 0}, {SYS_renameat, 1}, {SYS_renameat2, 1}};
    const struct {
        const char* phase;
        std::vector<std::string> args;
        const std::vector<progtest::PathCall>& calls;
        std::string path;
    } phases[] = {
        {"import", {project, "--import-midi", midi, "--save", target}, opens, midi},
        {"save", {project, "--save", target}, renames, target + ".tmp"},
    };
    for (const auto& p : phases)
        for (const auto& [signal, name] : {std::pair{SIGINT, "SIGINT"}, std::pair{SIGTERM, "SIGTERM"}}) {
            const std::string what = std::string(p.phase) + ", " + name;
            const progtest::HeldRun r = progtest::runHeldAt(dir_, p.args, p.calls, p.path, signal);
            if (!r.watched) GTEST_SKIP() << "this kernel or sandbox gives no seccomp notification";
            ASSERT_TRUE(r.held) << what << "\n" << readText(dir_.file("stderr.txt"));
            EXPECT_EQ(r.code, 130) << what << "\n" << readText(dir_.file("stderr.txt"));
            EXPECT_TRUE(readText(target) == before) << what;  // kept byte for byte
            for (const auto& entry : fs::directory_iterator(dir_.path())) {
                const std::string ext = entry.path().extension().string();
                EXPECT_TRUE(ext != ".tmp" && ext != ".part") << what << ": " << entry.path();
            }
        }
}

TEST_F(ProgramTest, ProgressBarOnATerminalOnly)
{
    if (!fs::exists("/usr/bin/script"))
        GTEST_SKIP() << "script(1) is needed for a pseudo-terminal";
    const std::string project = clipProject();
    for (const bool quiet : {false, true}) {
        const std::string mix = dir_.file("tty.wav");
        const std::string out = dir_.file("tty.txt");
        // script runs the program on a pseudo-terminal and copies what it shows.
        const std::string command = "HALVOREN_HOME='" + dir_.file("home") + "' script -qec \"'" + HALVOREN_EXE +
                                    "' '" + project + "' --mixdown '" + mix + "'" + (quiet ? " --quiet" : "") +
                                    "\" /dev/null >'" + out + "' 2>&1 </dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string shown = readText(out);
        EXPECT_EQ(shown.find("Export WAV [##############################] writing file... 100%") != std::string::npos,
                  !quiet)
            << shown;
    }
}

}  // namespace
