// The program while it runs: playback through a device, Ctrl-C and SIGTERM
// in every phase, and the progress bar on a terminal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "HeldRun.h"
#include "ProgramFixture.h"
#include "support/audio/AudioFiles.h"
#include "support/midi/SmfWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace progtest;

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
    // The largest capture is the playback stream (the others are probes).
    std::string capture;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
        if (entry.path().filename().string().rfind("stream-", 0) == 0 &&
            (capture.empty() || fs::file_size(entry.path()) > fs::file_size(capture)))
            capture = entry.path().string();
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
    // The mixdown opens on the clip and fades in over 5 ms (220 frames);
    // playback does not.
    for (size_t i = 2 * 220; i < compared; ++i)
        ASSERT_EQ(got[start + i], expected[i]) << "sample " << i;
}

TEST_F(ProgramTest, InterruptStopsPlaybackWith130)
{
    const std::string project = longClipProject(5);
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
    // Once the stream has started (its capture grows), inside the 5 s of playback.
    auto streaming = [&] {
        for (const auto& entry : fs::directory_iterator(dir_.path()))
            if (entry.path().filename().string().rfind("stream-", 0) == 0 && fs::file_size(entry.path()) > 4096)
                return true;
        return false;
    };
    for (int i = 0; i < 1000 && !streaming(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(streaming());
    const auto sent = std::chrono::steady_clock::now();
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_LT(waited, 2.0);  // the loop looks every 50 ms; far less than the 5 s left
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
    for (const auto& [quiet, format] : {std::pair{false, "WAV"}, std::pair{true, "WAV"}, std::pair{false, "MP3"}}) {
        const std::string mix = dir_.file(std::string("tty.") + format);
        const std::string out = dir_.file("tty.txt");
        // script runs the program on a pseudo-terminal and copies what it shows.
        const std::string command = "HALVOREN_HOME='" + dir_.file("home") + "' script -qec \"'" + HALVOREN_EXE +
                                    "' '" + project + "' --mixdown '" + mix + "'" + (quiet ? " --quiet" : "") +
                                    "\" /dev/null >'" + out + "' 2>&1 </dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string shown = readText(out);
        EXPECT_EQ(shown.find(std::string("Export ") + format + " [##############################] writing file... 100%") !=
                      std::string::npos,
                  !quiet)
            << shown;
    }
}

}  // namespace
