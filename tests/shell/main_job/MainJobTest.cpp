#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/file/ProjectFile.h"
#include "platform/LittleEndian.h"
#include "support/ScratchDir.h"
#include "support/audio/AudioFiles.h"
#include "support/bank/BankTree.h"
#include "support/bank/HprSingingBank.h"
#include "support/bank/SingingBankV6.h"
#include "support/midi/SmfWriter.h"
#include "support/model_document/ProjectBuilder.h"

namespace {

constexpr int kRate = 44100;
constexpr int kHop = 128;

// The song at 120 BPM after a rest of one beat (0.5 s): quarters of 0.5 s,
// the fifth note a half, a half rest, the last note a half. Pitches: G3
// 196.00, A3 220.00, B3 246.94, D4 293.66 Hz (A3 = 220 Hz, 2^(k/12) a key).
struct SungNote {
    const char* syllable;
    double from, to;
    double hz;
};
const SungNote kNotes[] = {{"lan", 0.5, 1.0, 196.00}, {"tian", 1.0, 1.5, 220.00}, {"bai", 1.5, 2.0, 246.94},
                           {"yun", 2.0, 2.5, 293.66}, {"piao", 2.5, 3.5, 246.94}, {"wo", 4.5, 5.0, 220.00},
                           {"ai", 5.0, 5.5, 246.94},  {"ni", 5.5, 6.5, 196.00}};

// Channel 0 of interleaved stereo.
std::vector<double> leftChannel(const std::vector<int16_t>& stereo)
{
    std::vector<double> out(stereo.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = stereo[2 * i];
    return out;
}

std::size_t at(double seconds) { return static_cast<std::size_t>(seconds * kRate); }

// The largest magnitude over [from, to) seconds.
double loudest(const std::vector<double>& x, double from, double to)
{
    double peak = 0.0;
    for (std::size_t i = at(from); i < std::min(x.size(), at(to)); ++i)
        peak = std::max(peak, std::fabs(x[i]));
    return peak;
}

double rmsDbfs(const std::vector<double>& x, double from, double to)
{
    double sum = 0.0;
    const std::size_t a = at(from), b = std::min(x.size(), at(to));
    for (std::size_t i = a; i < b; ++i)
        sum += x[i] * x[i];
    return 10.0 * std::log10(sum / double(b - a) / (32768.0 * 32768.0) + 1e-30);
}

// Normalised autocorrelation of [a, b) at a lag.
double correlation(const std::vector<double>& x, std::size_t a, std::size_t b, int lag)
{
    double num = 0.0, e0 = 0.0, e1 = 0.0;
    for (std::size_t i = a; i + lag < b; ++i) {
        num += x[i] * x[i + lag];
        e0 += x[i] * x[i];
        e1 += x[i + lag] * x[i + lag];
    }
    return num / std::sqrt(e0 * e1 + 1e-9);
}

struct Periodicity {
    double hz = 0.0;
    double peak = 0.0;  // normalised autocorrelation at the period
};

// The period between 2.5 ms and 12.5 ms (80 to 400 Hz): the shortest lag
// at a local maximum of the correlation within 0.1 of the strongest one (a
// voice correlates at twice its period almost as well), refined by a
// parabola through its neighbours.
Periodicity periodicity(const std::vector<double>& x, double from, double to)
{
    const std::size_t a = at(from), b = std::min(x.size(), at(to));
    const int shortest = kRate / 400, longest = kRate / 80;
    std::vector<double> r(std::size_t(longest) + 2);
    double strongest = -1.0;
    for (int lag = shortest - 1; lag <= longest + 1; ++lag) {
        r[std::size_t(lag)] = correlation(x, a, b, lag);
        if (lag >= shortest && lag <= longest)
            strongest = std::max(strongest, r[std::size_t(lag)]);
    }
    int best = shortest;
    for (int lag = shortest; lag <= longest; ++lag) {
        const double c = r[std::size_t(lag)];
        if (c >= strongest - 0.1 && c >= r[std::size_t(lag - 1)] && c >= r[std::size_t(lag + 1)]) {
            best = lag;
            break;
        }
    }
    const double l = r[std::size_t(best - 1)], c = r[std::size_t(best)], h = r[std::size_t(best + 1)];
    const double shift = 0.5 * (l - h) / (l - 2.0 * c + h);
    return {kRate / (best + shift), c};
}

// The largest step between neighbouring samples over [from, to).
double largestStep(const std::vector<double>& x, std::size_t from, std::size_t to)
{
    double step = 0.0;
    for (std::size_t i = std::max<std::size_t>(from, 1); i < std::min(x.size(), to); ++i)
        step = std::max(step, std::fabs(x[i] - x[i - 1]));
    return step;
}

double middleFrom(const SungNote& n) { return n.from + 0.25 * (n.to - n.from); }
double middleTo(const SungNote& n) { return n.to - 0.25 * (n.to - n.from); }

// Every note sung at its pitch and audible, the rest and the end silent,
// nothing clipped. codecDb: what a lossy encoding may take off a note's level.
void checkSong(const std::vector<int16_t>& stereo, const std::string& what, double codecDb)
{
    ASSERT_GE(stereo.size() / 2, static_cast<std::size_t>(6.5 * kRate)) << what;
    const std::vector<double> x = leftChannel(stereo);
    double loudestNote = -200.0;
    for (const SungNote& n : kNotes)
        loudestNote = std::max(loudestNote, rmsDbfs(x, middleFrom(n), middleTo(n)));
    for (const SungNote& n : kNotes) {
        const Periodicity p = periodicity(x, middleFrom(n), middleTo(n));
        const double level = rmsDbfs(x, middleFrom(n), middleTo(n));
        EXPECT_NEAR(p.hz, n.hz, 0.01 * n.hz) << what << " " << n.syllable;
        EXPECT_GE(p.peak, 0.8) << what << " " << n.syllable;
        // Audible: "ai", the quietest, sits near -40 dBFS (-39.8 or -40.0 as
        // the frames fall on its onset).
        EXPECT_GE(level, -41.0 - codecDb) << what << " " << n.syllable;
        EXPECT_GE(level, loudestNote - 20.0) << what << " " << n.syllable;
    }
    EXPECT_LE(loudest(x, 3.8, 4.2), 2.0) << what << " mid-rest";
    EXPECT_LE(loudest(x, 6.8, double(x.size()) / kRate), 2.0) << what << " after the last note";
    // The file opens in silence: the first note's onset is sung in the rest.
    EXPECT_LE(loudest(x, 0.0, 0.01), 2.0) << what << " at the start";
    EXPECT_LT(loudest(x, 0.0, double(x.size()) / kRate), 32767.0) << what;
}

// Each join of one note into the next: two hops either side of it step no
// further than twice the largest step inside the two notes' bodies.
void checkJoins(const std::vector<int16_t>& stereo)
{
    const std::vector<double> x = leftChannel(stereo);
    for (std::size_t k = 0; k + 1 < std::size(kNotes); ++k) {
        const SungNote& a = kNotes[k];
        const SungNote& b = kNotes[k + 1];
        if (a.to != b.from)
            continue;
        const double inside = std::max(largestStep(x, at(middleFrom(a)), at(middleTo(a))),
                                       largestStep(x, at(middleFrom(b)), at(middleTo(b))));
        const std::size_t join = at(b.from);
        EXPECT_LE(largestStep(x, join - 2 * kHop, join + 2 * kHop), 2.0 * inside) << a.syllable << " into " << b.syllable;
    }
}

struct ProgramRun {
    int code;
    std::string err;
    std::string out;
    long peakKb;  // the program's largest resident size
};

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The program in dir (paths relative to it), with the build's program folder
// or another.
ProgramRun runIn(const hvtest::ScratchDir& dir, const std::string& args, const std::string& home = HV_PROGRAM_FOLDER,
                 const std::string& env = {})
{
    const std::string command = "cd '" + dir.path() + "' && " + env + " HALVOREN_HOME='" + home + "' '" HALVOREN_EXE
                                "' " + args + " >out.txt 2>err.txt </dev/null";
    // The shell's usage, taken as it is reaped, holds the largest resident
    // size of the program it waited for.
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return {-1, "cannot run " + command, "", 0};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(dir.file("err.txt")), readText(dir.file("out.txt")),
            usage.ru_maxrss};
}

TEST(MainJob, SongIsSungIntoWavAndMp3)
{
    hvtest::ScratchDir dir("main_job");
    const std::string wav = dir.file("song.wav");
    const std::string mp3 = dir.file("song.mp3");
    for (const std::string& out : {wav, mp3}) {
        const std::string command = "cd '" + dir.path() + "' && HALVOREN_HOME='" HV_PROGRAM_FOLDER "' '" +
                                    HALVOREN_EXE + "' '" HV_EXAMPLE_SONG "' --mixdown '" + out +
                                    "' >/dev/null 2>&1 </dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    }
    const std::vector<int16_t> samples = hvtest::wavSamples(wav);
    checkSong(samples, "wav", 0.0);
    checkJoins(samples);
    const hvtest::DecodedMp3 decoded = hvtest::decodeMp3(mp3);
    ASSERT_EQ(decoded.channels, 2);
    checkSong(decoded.pcm, "mp3", 1.0);
}

TEST(MainJob, RelativePathsKeepTheirMeaningAfterASave)
{
    hvtest::ScratchDir dir("main_job_rel");
    std::filesystem::create_directories(dir.file("o"));
    const ProgramRun r = runIn(dir, "'" HV_EXAMPLE_SONG "' --save other.ot --export-each-track o --mixdown m.wav");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("other.ot")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("m.wav")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("o/other_1_demo.wav")));
    // Again without --overwrite: the existing file stays, and the option is named once.
    const ProgramRun again = runIn(dir, "other.ot --export-each-track o");
    EXPECT_EQ(again.code, 4);
    const std::string hint = "--overwrite replaces them";
    const std::size_t at = again.err.find(hint);
    ASSERT_NE(at, std::string::npos) << again.err;
    EXPECT_EQ(again.err.find(hint, at + 1), std::string::npos) << again.err;
}

TEST(MainJob, AScoreSungFromTheExportStartFadesIn)
{
    // The note starts on measure 1, where the export starts: its onset is
    // cut, and the file fades in over 5 ms (220 frames) from silence.
    using namespace projtest;
    hvtest::ScratchDir dir("main_job_onset");
    auto m = markersOnly();
    addNote(*addSingSeg(*addTrack(*m, kSingingTrack, "Lead"), 7680, 1920, "demo-cmn"), 0, 960, 57, "lan");
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir.file("onset.ot"))), 0);
    const ProgramRun r = runIn(dir, "onset.ot --mixdown onset.wav");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<double> x = leftChannel(hvtest::wavSamples(dir.file("onset.wav")));
    ASSERT_GT(x.size(), 4410u);
    EXPECT_EQ(x[0], 0.0);
    EXPECT_GT(loudest(x, 0.005, 0.1), 100.0);  // the note sounds from the start
}

// Lyrics of a MIDI file sing the characters they were written in: GBK, whose
// 一 小 时 说 are also valid UTF-8, beside a name that is not, or UTF-8 alone,
// also beside a copyright notice in Latin-1 (the import does not read it).
TEST(MainJob, MidiLyricsKeepTheirCharacters)
{
    hvtest::ScratchDir dir("main_job_midi_text");
    const std::vector<std::string> gbk = {"\xD2\xBB", "\xD0\xA1", "\xCA\xB1", "\xCB\xB5"};
    const std::vector<std::string> utf8 = {"\xE4\xB8\x80", "\xE5\xB0\x8F", "\xE6\x97\xB6", "\xE8\xAF\xB4"};
    const std::vector<std::string> sung = {"yi", "xiao", "shi", "shuo"};
    // 你 好 世 界
    const std::vector<std::string> hello = {"\xE4\xBD\xA0", "\xE5\xA5\xBD", "\xE4\xB8\x96", "\xE7\x95\x8C"};
    const std::vector<std::string> sungHello = {"ni", "hao", "shi", "jie"};
    struct Case {
        const char* file;
        std::string name;  // 歌
        const std::vector<std::string>& lyrics;
        const std::vector<std::string>& read;
        const std::vector<std::string>& sung;
        std::string copyright = {};
    };
    for (const Case& c : {Case{"gbk.mid", "\xB8\xE8", gbk, utf8, sung}, Case{"utf8.mid", "\xE6\xAD\x8C", utf8, utf8, sung},
                          Case{"copyright.mid", "\xE6\xAD\x8C", hello, hello, sungHello, "\xA9 2026"}}) {
        hvtest::SmfTrack track;
        if (!c.copyright.empty()) track.meta(0, 0x02, c.copyright);
        track.name(0, c.name);
        for (uint32_t i = 0; i < c.lyrics.size(); ++i) track.lyric(480 * i, c.lyrics[i]).note(480 * i, 480 * (i + 1), 57);
        ASSERT_TRUE(hvtest::SmfWriter(1, 480).track(track).writeTo(dir.file(c.file)));
        const ProgramRun r = runIn(dir, std::string(c.file) + " --save song.ot");
        ASSERT_EQ(r.code, 0) << c.file << "\n" << r.err;
        const std::unique_ptr<HVCurrentModel::HalvorenModel> m(loadProjectFile(CString::fromUtf8(dir.file("song.ot"))));
        ASSERT_NE(m, nullptr);
        const HVCurrentModel::SingSegment* seg = m->tracks[0]->singSegs->segAt(0);
        EXPECT_EQ(seg->name, "\xE6\xAD\x8C") << c.file;
        ASSERT_EQ(seg->notes.size(), 4u) << c.file;
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(seg->notes[i]->lyric, c.read[i]) << c.file << " " << i;
            EXPECT_EQ(seg->notes[i]->phoneticSymbol, c.sung[i]) << c.file << " " << i;
        }
    }
}

const std::string kDemoBank = HV_PROGRAM_FOLDER "/singers/demo-cmn";

// A program folder named name in dir with the build's dictionaries and its
// demo bank: the index and description copied (a harm may write them), the
// lyric dictionary and the content file links to the build's (never written
// through: a harm replaces the link); then harmed.
std::string demoHome(const hvtest::ScratchDir& dir, const std::string& name,
                     const std::function<void(const std::string& bank)>& harm)
{
    namespace fs = std::filesystem;
    const std::string home = dir.file(name);
    const std::string bank = home + "/singers/demo-cmn";
    fs::create_directories(bank);
    fs::create_directory_symlink(HV_PROGRAM_FOLDER "/dict", home + "/dict");
    for (const char* file : {"HVI", "bank.hvsd"})
        fs::copy_file(kDemoBank + "/" + file, bank + "/" + file);
    for (const char* file : {"HVC", "demo-cmn-dict.txt"})
        fs::create_symlink(kDemoBank + "/" + file, bank + "/" + file);
    harm(bank);
    return home;
}

// Puts a file of its own in place of the bank's linked content file.
void writeContent(const std::string& bank, const std::string& bytes)
{
    std::filesystem::remove(bank + "/HVC");
    std::ofstream(bank + "/HVC", std::ios::binary) << bytes;
}

void storeInt32(std::fstream& file, std::int64_t at, std::int32_t value)
{
    char bytes[4];
    storeLittleEndian32(bytes, static_cast<std::uint32_t>(value));
    file.seekp(at);
    file.write(bytes, 4);
}

std::int32_t int32At(const std::string& bytes, std::size_t at)
{
    return static_cast<std::int32_t>(littleEndian32(bytes.data() + at));
}

// What the report of the segments not sung says is wrong with file for the
// segment: the fault line (indented by two) under the file's line
// ("<file>:") that has the segment's line (indented by four) under it; ""
// when there is none.
std::string faultOver(const std::string& err, const std::string& file, const std::string& segment)
{
    const std::size_t group = err.find("\n" + file + ":\n");
    if (group == std::string::npos)
        return std::string();
    std::string fault;
    for (std::size_t line = group + file.size() + 3; err.compare(line, 2, "  ") == 0;) {
        const std::size_t end = err.find('\n', line);
        if (end == std::string::npos)
            break;
        const std::string text = err.substr(line, end - line);
        if (text.compare(0, 4, "    ") != 0)
            fault = text.substr(2);
        else if (text == "    " + segment)
            return fault;
        line = end + 1;
    }
    return std::string();
}

// Where the offset of each unit record of the demo bank's index lies: past
// "ext2", eleven header values, four strings of a byte length (the last the
// pitch-group list), three times and "ext1" when there, each record is a
// length, the kind, two strings of an int32 length, then the offset.
std::vector<std::size_t> demoIndexOffsetFields(const std::string& index)
{
    std::size_t at = 4 + 11 * 4;
    for (int i = 0; i < 4; ++i)
        at += 1 + std::size_t(std::max(0, int(static_cast<signed char>(index[at]))));
    at += 3 * 4;
    if (index.compare(at, 4, "ext1") == 0)
        at += 4;
    std::vector<std::size_t> fields;
    while (at + 4 <= index.size()) {
        std::size_t field = at + 8;
        field += 4 + std::size_t(int32At(index, field));
        field += 4 + std::size_t(int32At(index, field));
        fields.push_back(field);
        at += 4 + std::size_t(int32At(index, at));
    }
    return fields;
}

// A program folder at home with the build's dictionaries and one singer,
// "P", of the given version whose package is files; and the project
// home + ".ot", one segment of P singing the lyrics a quarter each at A3
// (the pitch every test bank records or lies nearest).
void testBankHome(const std::string& home, const std::string& version, const testbank::PackageFiles& files,
                  const std::vector<std::string>& lyrics)
{
    using namespace projtest;
    namespace fs = std::filesystem;
    fs::create_directories(home);
    fs::create_directory_symlink(HV_PROGRAM_FOLDER "/dict", home + "/dict");
    testbank::writeFile(home + "/singers/p/bank.hvsd", testbank::descriptionText(version, "P"));
    testbank::writePackageFiles(home + "/singers/p", files);
    auto m = markersOnly();
    SingSegment* seg = addSingSeg(*addTrack(*m, kSingingTrack, "Lead"), 7680, 480 * int(lyrics.size() + 2), "P");
    for (std::size_t i = 0; i < lyrics.size(); ++i)
        addNote(*seg, 480 * int(i + 1), 480, 58, lyrics[i]);  // key 58: MIDI 57, A3
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(home + ".ot")), 0);
}

TEST(MainJob, ABankThatCannotBeReadSingsNothingAndSaysWhy)
{
    // Measure 1 is tick 7680; a quarter is 480 ticks: the notes are on
    // beats 2 and 3.
    using namespace projtest;
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("main_job_voice");
    // Program folders whose demo bank lacks its content file HVC (it cannot
    // be opened), holds it empty (no record can be read from it),
    // or whose index HVI is empty, cut in half or replaced by noise (nothing
    // of the bank can be trusted), or whose description is not JSON (the
    // singer is not installed).
    enum Damage { none, missing, content, index, description };
    struct Home {
        const char* name;
        Damage damage;
        std::function<void(const std::string& bank)> harm;
    };
    const std::string bytes = readText(kDemoBank + "/HVI");
    std::mt19937 noise(1);
    std::string noiseBytes(4096, '\0');
    for (char& c : noiseBytes) c = static_cast<char>(noise());
    auto writeHvi = [](const std::string& bank, const std::string& text) { std::ofstream(bank + "/HVI") << text; };
    const Home homes[] = {
        {"whole", none, [](const std::string&) {}},
        // A program folder whose name is not UTF-8 (Latin-1 é, E9).
        {"caf\xE9", none, [](const std::string&) {}},
        {"nohvc", missing, [](const std::string& bank) { fs::remove(bank + "/HVC"); }},
        {"emptyhvc", content, [](const std::string& bank) { writeContent(bank, ""); }},
        {"emptyhvi", index, [&](const std::string& bank) { writeHvi(bank, ""); }},
        {"halfhvi", index, [&](const std::string& bank) { writeHvi(bank, bytes.substr(0, bytes.size() / 2)); }},
        {"noisehvi", index, [&](const std::string& bank) { writeHvi(bank, noiseBytes); }},
        {"cuthvsd", description, [](const std::string& bank) { std::ofstream(bank + "/bank.hvsd") << "{\"name\": "; }},
    };
    auto m = markersOnly();
    SingSegment* seg = addSingSeg(*addTrack(*m, kSingingTrack, "Lead"), 7680, 1920 * 2, "demo-cmn");
    seg->name = "Verse";
    addNote(*seg, 480, 480, 57, "lan");
    addNote(*seg, 960, 480, 57, "tian");
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir.file("v.ot"))), 0);
    fs::create_directories(dir.file("each"));
    for (const Home& h : homes) {
        const std::string home = demoHome(dir, h.name, h.harm);
        const std::string bank = home + "/singers/demo-cmn";
        const std::string unsung = "segment \"Verse\" of track 1 \"Lead\" at measure 1, beat 1";
        for (const std::string& output : {std::string("--mixdown v.wav"), std::string("--export-each-track each")}) {
            SCOPED_TRACE(std::string(h.name) + " " + output + "\n");
            fs::remove(dir.file("v.wav"));
            fs::remove(dir.file("each/v_1_Lead.wav"));
            const ProgramRun r = runIn(dir, "v.ot " + output, home);
            EXPECT_EQ(r.code, h.damage == none ? 0 : h.damage == description ? 3 : 4) << r.err;
            EXPECT_EQ(fs::exists(dir.file("v.wav")) || fs::exists(dir.file("each/v_1_Lead.wav")), h.damage == none);
            // No damage leaves the notes without a voice.
            EXPECT_EQ(r.err.find("Notes without a voice"), std::string::npos) << r.err;
            // Every message goes to standard error, the path after a space.
            EXPECT_EQ(r.out, "");
            // The segment is named with the damaged file and what is wrong with it.
            EXPECT_EQ(!faultOver(r.err, bank + "/HVI", unsung).empty(), h.damage == index) << r.err;
            EXPECT_EQ(!faultOver(r.err, bank + "/HVC", unsung).empty(), h.damage == content || h.damage == missing)
                << r.err;
            if (h.damage == missing) {
                EXPECT_EQ(faultOver(r.err, bank + "/HVC", unsung), "cannot be opened: No such file or directory")
                    << r.err;
            }
            const std::string unusable = bank + "/bank.hvsd\nThis voice bank description cannot be used: not readable JSON\n";
            EXPECT_EQ(r.err.find(unusable) != std::string::npos, h.damage == description) << r.err;
            if (std::string(h.name) == "emptyhvi") {
                EXPECT_EQ(faultOver(r.err, bank + "/HVI", unsung), "empty") << r.err;
            }
            if (std::string(h.name) == "emptyhvc") {
                EXPECT_NE(r.err.find("fail to read package content file " + bank + "/HVC: the record at byte "),
                          std::string::npos)
                    << r.err;
            }
        }
        // Playback through a paced test device names the segment the same way
        // and ends with the same exit.
        if (h.damage == index || h.damage == content || h.damage == missing) {
            const ProgramRun p = runIn(dir, "v.ot --play --quiet", home, "ALSA_CONFIG_PATH='" HV_PACED_SINK_CONF "'");
            EXPECT_EQ(p.code, 4) << h.name << "\n" << p.err;
            EXPECT_NE(faultOver(p.err, bank + (h.damage == index ? "/HVI" : "/HVC"), unsung), "") << p.err;
        }
    }
}

// The example song sung by copies of the demo bank whose content file is
// damaged as a user might find it: each is named once with its content file
// and what is wrong with it, no file of silence is written, the exit is 4,
// and the program holds no more than a healthy bank needs twice and 64 MB.
TEST(MainJob, ADamagedContentFileIsNamedOnceAndNoSilenceIsWritten)
{
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("main_job_content");
    const std::string index = readText(kDemoBank + "/HVI");
    const std::vector<std::size_t> offsetFields = demoIndexOffsetFields(index);
    ASSERT_GT(offsetFields.size(), 1000u);  // 411 syllables and their joins, at two pitches
    const auto size = static_cast<std::int64_t>(fs::file_size(kDemoBank + "/HVC"));
    // The content file is 540 MB: the harms that change it share one copy,
    // made once and changed in turn, each bank's link pointing to it. The
    // homes are harmed and sung in the order of the table below, so each
    // sings the copy as its own harm left it: record lengths rewritten (each
    // rewrite covering the one before), then the lengths put back as the
    // build wrote them and each record's values from its byte 68 on filled
    // with one word (each fill covering the one before), then the copy
    // made anew and cut to half its size, then to 20 MB.
    const std::string content = dir.file("HVC");
    fs::copy_file(kDemoBank + "/HVC", content);
    auto linkContent = [&](const std::string& bank) {
        fs::remove(bank + "/HVC");
        fs::create_symlink(content, bank + "/HVC");
    };
    auto rewriteLengths = [&](const std::string& bank, const std::function<std::int32_t()>& length) {
        std::fstream file(content, std::ios::in | std::ios::out | std::ios::binary);
        for (std::size_t field : offsetFields)
            storeInt32(file, int32At(index, field), length());
        linkContent(bank);
    };
    std::vector<std::int32_t> builtLengths;
    {
        std::ifstream built(kDemoBank + "/HVC", std::ios::binary);
        for (std::size_t field : offsetFields) {
            char bytes[4] = {};
            built.seekg(int32At(index, field));
            built.read(bytes, 4);
            builtLengths.push_back(static_cast<std::int32_t>(littleEndian32(bytes)));
        }
        ASSERT_TRUE(built) << "the build's record lengths";
    }
    // Every fifth record's length word 100, inside the file: the record
    // holds less than its values.
    auto shortenEveryFifth = [&](const std::string& bank) {
        std::size_t next = 0;
        rewriteLengths(bank, [&] { return next++ % 5 == 0 ? 100 : builtLengths[next - 1]; });
    };
    // Each record's lengths as built, its words from byte 68 to its end all
    // `word`: the values are damaged, the lengths intact.
    auto fillValues = [&](const std::string& bank, std::uint32_t word) {
        std::size_t next = 0;
        rewriteLengths(bank, [&] { return builtLengths[next++]; });
        // One buffer of the words for the largest record: the runs measured
        // after this inherit the test's own size when they start.
        std::string fill(std::size_t(*std::max_element(builtLengths.begin(), builtLengths.end())), '\0');
        for (std::size_t at = 0; at + 4 <= fill.size(); at += 4)
            storeLittleEndian32(fill.data() + at, word);
        std::fstream file(content, std::ios::in | std::ios::out | std::ios::binary);
        for (std::size_t i = 0; i < offsetFields.size(); ++i) {
            const std::int64_t from = std::int64_t(int32At(index, offsetFields[i])) + 68;
            const std::int64_t words = (std::int64_t(int32At(index, offsetFields[i])) + 4 + builtLengths[i] - from) / 4;
            if (words <= 0)
                continue;
            file.seekp(from);
            file.write(fill.data(), std::streamsize(words * 4));
        }
        ASSERT_TRUE(file) << "the filled values";
    };
    auto cutContent = [&](const std::string& bank, std::uintmax_t bytes) {
        fs::copy_file(kDemoBank + "/HVC", content, fs::copy_options::overwrite_existing);
        fs::resize_file(content, bytes);
        linkContent(bank);
    };
    std::mt19937 random(67);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    struct Home {
        const char* name;
        std::function<void(const std::string& bank)> harm;
        std::string fault;  // how the first fault met ends, where it is known
    };
    const Home homes[] = {
        {"lyinglengths", [&](const std::string& bank) { rewriteLengths(bank, [] { return 0x7FFFFFF0; }); },
         ""},
        {"randomlengths",
         [&](const std::string& bank) {
             rewriteLengths(bank, [&random] { return static_cast<std::int32_t>(random()); });
         },
         ""},
        {"fifthshort", shortenEveryFifth, ""},
        // A not-a-number, the largest float and 1.0f.
        {"nanfill", [&](const std::string& bank) { fillValues(bank, 0x7FC00000u); }, ""},
        {"maxfill", [&](const std::string& bank) { fillValues(bank, 0x7F7FFFFFu); }, ""},
        {"onefill", [&](const std::string& bank) { fillValues(bank, 0x3F800000u); }, ""},
        {"halfhvc", [&](const std::string& bank) { cutContent(bank, std::uintmax_t(size / 2)); },
         " past the end at byte " + std::to_string(size / 2)},
        {"cut20mb", [&](const std::string& bank) { cutContent(bank, 20000000); }, " past the end at byte 20000000"},
        {"emptyhvc", [](const std::string& bank) { writeContent(bank, ""); }, " past the end at byte 0"},
        {"noisehvc", [&](const std::string& bank) { writeContent(bank, noise); }, " past the end at byte 1048576"},
        {"movedoffsets",
         [&](const std::string& bank) {
             std::string moved = index;
             for (std::size_t at : offsetFields)
                 for (std::size_t i = 0, v = std::size_t(int32At(index, at) + 13); i < 4; ++i, v >>= 8)
                     moved[at + i] = static_cast<char>(v & 0xFF);
             std::ofstream(bank + "/HVI", std::ios::binary) << moved;
         },
         ""},
    };
    const ProgramRun healthy =
        runIn(dir, "'" HV_EXAMPLE_SONG "' --mixdown x.wav", demoHome(dir, "healthy", [](const std::string&) {}));
    ASSERT_EQ(healthy.code, 0) << healthy.err;
    fs::create_directories(dir.file("each"));
    for (const Home& h : homes) {
        const std::string bank = demoHome(dir, h.name, h.harm) + "/singers/demo-cmn";
        for (const std::string& output : {std::string("--mixdown x.wav"), std::string("--export-each-track each")}) {
            SCOPED_TRACE(std::string(h.name) + " " + output + "\n");
            fs::remove(dir.file("x.wav"));
            const ProgramRun r = runIn(dir, "'" HV_EXAMPLE_SONG "' " + output, fs::path(bank).parent_path().parent_path());
            EXPECT_EQ(r.code, 4) << r.err;
            EXPECT_FALSE(fs::exists(dir.file("x.wav")));
            EXPECT_TRUE(fs::is_empty(dir.file("each")));
            EXPECT_EQ(r.err.find("Notes without a voice"), std::string::npos) << r.err;
            const std::string line = faultOver(r.err, bank + "/HVC", "segment \"\" of track 1 \"demo\" at measure 1, beat 1");
            ASSERT_EQ(line.rfind("the record at byte ", 0), 0u) << r.err;
            EXPECT_EQ(line.substr(line.size() - std::min(line.size(), h.fault.size())), h.fault);
            int lines = 0;
            for (std::size_t from = r.err.find(bank + "/HVC"); from != std::string::npos;
                 from = r.err.find(bank + "/HVC", r.err.find('\n', from)))
                ++lines;
            EXPECT_LE(lines, 3) << r.err;
            EXPECT_LE(r.peakKb, 2 * healthy.peakKb + 64 * 1024) << healthy.peakKb;
        }
    }
}

// Fifty segments sung by one bank whose content file is noise: the report
// names the file once, over all fifty segments, each on a line of its own;
// nothing is written, the exit is 4.
TEST(MainJob, FiftySegmentsOnOneDamagedContentFileNameItOnce)
{
    using namespace projtest;
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("main_job_fifty");
    std::mt19937 random(5);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::string home = demoHome(dir, "noise", [&](const std::string& bank) { writeContent(bank, noise); });
    const std::string hvc = home + "/singers/demo-cmn/HVC";
    auto m = markersOnly();
    Track* track = addTrack(*m, kSingingTrack, "Lead");
    // A measure (1920 ticks) each from measure 1, each on another syllable.
    for (int i = 0; i < 50; ++i)
        addNote(*addSingSeg(*track, 7680 + 1920 * i, 1920, "demo-cmn"), 480, 480, 57, kNotes[i % 8].syllable);
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir.file("fifty.ot"))), 0);
    fs::create_directories(dir.file("each"));
    for (const std::string& output : {std::string("--mixdown f.wav"), std::string("--export-each-track each")}) {
        const ProgramRun r = runIn(dir, "fifty.ot " + output, home);
        EXPECT_EQ(r.code, 4) << output << "\n" << r.err;
        EXPECT_FALSE(fs::exists(dir.file("f.wav"))) << output;
        EXPECT_TRUE(fs::is_empty(dir.file("each"))) << output;
        // The report names the file once over its faults and the segments.
        const std::size_t report = r.err.find("-_-!: Segments their singer's bank cannot sing:\n");
        ASSERT_NE(report, std::string::npos) << output << "\n" << r.err;
        int naming = 0;
        int segments = 0;
        for (std::size_t from = report, end = 0; from < r.err.size(); from = end + 1) {
            end = std::min(r.err.find('\n', from), r.err.size());
            const std::string line = r.err.substr(from, end - from);
            naming += line.find(hvc) != std::string::npos;
            segments += line.rfind("    segment \"\" of track 1 \"Lead\" at measure ", 0) == 0;
        }
        EXPECT_EQ(naming, 1) << output << "\n" << r.err;
        EXPECT_EQ(segments, 50) << output << "\n" << r.err;
        // Over the whole run, the reader's line and the report's.
        int lines = 0;
        for (std::size_t from = 0, end = 0; from < r.err.size(); from = end + 1) {
            end = std::min(r.err.find('\n', from), r.err.size());
            lines += r.err.substr(from, end - from).find(hvc) != std::string::npos;
        }
        EXPECT_LE(lines, 3) << output << "\n" << r.err;
    }
}

// Silence the score asks for is no fault of the bank: a segment whose
// Amplitude lies at its bottom over its notes is written as it is, alone
// and beside a sung track, with exit 0 and no word about the bank.
TEST(MainJob, SilenceTheScoreAsksForIsWrittenAsItIs)
{
    using namespace projtest;
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("main_job_quiet");
    for (const bool beside : {false, true}) {
        auto m = markersOnly();
        SingSegment* quiet = addSingSeg(*addTrack(*m, kSingingTrack, "Quiet"), 7680, 1920 * 2, "demo-cmn");
        addNote(*quiet, 480, 480, 57, "lan");
        addNote(*quiet, 960, 480, 57, "tian");
        quiet->curve(kAmplitudeCurve) = ParamCurve{{-1, 0}, {1920 * 2 + 1, 0}};
        if (beside)
            addNote(*addSingSeg(*addTrack(*m, kSingingTrack, "Sung"), 7680, 1920 * 2, "demo-cmn"), 480, 480, 57, "lan");
        ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir.file("q.ot"))), 0);
        fs::remove_all(dir.file("each"));
        fs::create_directories(dir.file("each"));
        for (const std::string& output : {std::string("--mixdown q.wav"), std::string("--export-each-track each")}) {
            SCOPED_TRACE(output + (beside ? " beside a sung track" : " alone"));
            fs::remove(dir.file("q.wav"));
            const ProgramRun r = runIn(dir, "q.ot " + output);
            EXPECT_EQ(r.code, 0) << r.err;
            EXPECT_EQ(r.err.find("bank"), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find("No note is sung"), std::string::npos) << r.err;
            const std::string quietFile = output[2] == 'm' ? dir.file("q.wav") : dir.file("each/q_1_Quiet.wav");
            ASSERT_TRUE(fs::exists(quietFile));
            if (output[2] == 'e') {
                EXPECT_EQ(fs::exists(dir.file("each/q_2_Sung.wav")), beside);
            }
            // The sung track sounds in the mixdown; the silenced one is
            // silent where its notes lie (0.5 s to 1.5 s after the start).
            const std::vector<double> x = leftChannel(hvtest::wavSamples(quietFile));
            if (output[2] == 'm') {
                EXPECT_EQ(loudest(x, 0.0, 2.0) > 100.0, beside);
            } else {
                EXPECT_LE(loudest(x, 0.5, 1.5), 2.0);
            }
        }
    }
}

// An output that cannot be written says so alone, with the system's reason,
// and exits 4: nothing about the banks or about what was sung.
TEST(MainJob, AnOutputThatCannotBeWrittenIsNamedForThatAlone)
{
    hvtest::ScratchDir dir("main_job_unwritable");
    for (const std::string& out : {dir.file("no/such/a.wav"), dir.file("no/such/a.mp3")}) {
        const ProgramRun r = runIn(dir, "'" HV_EXAMPLE_SONG "' --mixdown '" + out + "'");
        EXPECT_EQ(r.code, 4) << out;
        const std::string format = out.back() == '3' ? "MP3" : "Wave";
        EXPECT_EQ(r.err, "-_-!: " + out + "\n" + format + " file output failed...\nNo such file or directory\n");
    }
}

// Whether every sample of the file is 0.
bool allSilent(const std::string& wav)
{
    const std::vector<int16_t> samples = hvtest::wavSamples(wav);
    return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
}

// The generation-3.1 test bank laid out otherwise than one record after
// another sings what its plain layout sings, byte for byte: "a" stored in
// the unread tail of "ma"'s record, an unused continuant whose entry points
// into "ma"'s record, "sa"'s entry moved 8 bytes back into the record
// before it. A stray entry is named with the index file when its unit is
// sung; a record whose length word is short of its content is named with
// the content file, and no file of silence is written.
TEST(MainJob, RecordsAreFoundByTheirOwnLengthsWhereverEntriesPoint)
{
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("main_job_layouts");
    auto bankWith = [](std::vector<testbank::VariantLayout> layouts) {
        testbank::SingingBank bank = testbank::threeSyllableBank(128);
        bank.continuants.push_back(testbank::continuantFrom("a_q", testbank::VoiceTone(), 10, 10, true));
        bank.layouts = std::move(layouts);
        return testbank::writeSingingBank(bank);
    };
    fs::create_directories(dir.file("each"));
    // Each project runs through both outputs, as a user runs it: the
    // mixdown, and the file of its one track.
    struct Output {
        std::string option;
        std::function<std::string(const std::string& project)> file;
    };
    const Output outputs[] = {
        {"--mixdown x.wav", [&](const std::string&) { return dir.file("x.wav"); }},
        {"--export-each-track each",
         [&](const std::string& project) { return dir.file("each/" + project + "_1_Lead.wav"); }},
    };
    auto sing = [&](const std::string& project, const Output& output) {
        fs::remove(output.file(project));
        return runIn(dir, project + ".ot " + output.option, dir.file(project));
    };
    const std::vector<std::string> song = {"ma", "la", "a", "ma"};
    testBankHome(dir.file("plain"), "3.1", bankWith({}), song);
    std::vector<std::string> plain;
    for (const Output& output : outputs) {
        ASSERT_EQ(sing("plain", output).code, 0);
        plain.push_back(readText(output.file("plain")));
        ASSERT_FALSE(allSilent(output.file("plain")));
    }
    struct Layout {
        const char* name;
        std::vector<testbank::VariantLayout> layouts;
    };
    const Layout layouts[] = {
        {"nested", {testbank::nestedIn("a", "ma")}},
        {"continuant", {testbank::pointingInto("a_q", "ma", 100)}},
        {"moved", {testbank::movedBy("sa", -8)}},
    };
    for (const Layout& l : layouts) {
        testBankHome(dir.file(l.name), "3.1", bankWith(l.layouts), song);
        for (std::size_t o = 0; o < std::size(outputs); ++o) {
            SCOPED_TRACE(std::string(l.name) + " " + outputs[o].option);
            const ProgramRun r = sing(l.name, outputs[o]);
            EXPECT_EQ(r.code, 0) << r.err;
            EXPECT_EQ(r.err, "");
            EXPECT_TRUE(readText(outputs[o].file(l.name)) == plain[o]);
        }
    }

    // "sa" sung where its entry was moved: the entry is named, not the
    // content file, and its segment is not written.
    testBankHome(dir.file("movedsa"), "3.1", bankWith({testbank::movedBy("sa", -8)}), {"ma", "sa", "la"});
    // "ma"'s length word 100, inside the file: its record is named.
    testBankHome(dir.file("short"), "3.1", bankWith({testbank::withLengthWord("ma", 100)}), song);
    for (const Output& output : outputs) {
        SCOPED_TRACE(output.option);
        const ProgramRun moved = sing("movedsa", output);
        EXPECT_EQ(moved.code, 4) << moved.err;
        const std::string bank = dir.file("movedsa") + "/singers/p/";
        EXPECT_NE(moved.err.find("fail to read package index file " + bank +
                                 "HVI: the entry of \"sa\" at C4 places its record at byte "),
                  std::string::npos)
            << moved.err;
        EXPECT_EQ(moved.err.find(bank + "HVC:"), std::string::npos) << moved.err;
        EXPECT_FALSE(fs::exists(output.file("movedsa")));

        const ProgramRun cut = sing("short", output);
        EXPECT_EQ(cut.code, 4) << cut.err;
        EXPECT_NE(cut.err.find("fail to read package content file " + dir.file("short") +
                               "/singers/p/HVC: the record at byte 0 holds 100 bytes; its band model needs at least "),
                  std::string::npos)
            << cut.err;
        EXPECT_FALSE(fs::exists(output.file("short")));
    }
}

// A score whose every lyric is "-" (each only lengthens the note before it)
// has nothing to sing: no file, its segment named, exit 3.
TEST(MainJob, AScoreOfOnlyDashesSingsNothing)
{
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("main_job_dashes");
    std::ofstream(dir.file("d.vsqx")) << R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq4>
  <masterTrack><preMeasure>1</preMeasure><tempo><t>0</t><v>12000</v></tempo></masterTrack>
  <vsTrack><name>Lead</name>
    <vsPart><t>1920</t><playTime>1920</playTime><name>Verse</name>
      <note><t>0</t><dur>480</dur><n>60</n><y>-</y></note>
      <note><t>480</t><dur>480</dur><n>62</n><y>-</y></note>
    </vsPart>
  </vsTrack>
</vsq4>
)";
    fs::create_directories(dir.file("each"));
    for (const char* output : {"--mixdown d.wav", "--export-each-track each"}) {
        const ProgramRun r = runIn(dir, std::string("d.vsqx ") + output);
        EXPECT_EQ(r.code, 3) << output << "\n" << r.err;
        EXPECT_NE(r.err.find("Segments with no note to sing (they stay silent):\nsegment \"Verse\" of track 1 \"Lead\" at "
                             "measure 1, beat 1\n"),
                  std::string::npos)
            << output << "\n" << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.file("d.wav")));
    EXPECT_TRUE(fs::is_empty(dir.file("each")));
}

// A note at C2 sung louder than 16 bits hold: the samples the voice was
// clipped to are named with its segment, and are the samples of the file at
// full scale (the track at volume 100 mixes the voice unchanged).
TEST(MainJob, AVoiceClippedTo16BitsIsCounted)
{
    using namespace projtest;
    hvtest::ScratchDir dir("main_job_clipped");
    auto m = markersOnly();
    Track* track = addTrack(*m, kSingingTrack, "Low");
    track->volume = 100;
    // Key 79 is MIDI note 36 (keys count down from 115).
    addNote(*addSingSeg(*track, 7680, 1920 * 2, "demo-cmn"), 480, 1920, 79, "a");
    ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir.file("low.ot"))), 0);
    const ProgramRun r = runIn(dir, "low.ot --mixdown low.wav");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<int16_t> stereo = hvtest::wavSamples(dir.file("low.wav"));
    long long atFullScale = 0;
    for (std::size_t i = 0; i < stereo.size(); i += 2)
        atFullScale += stereo[i] == 32767 || stereo[i] == -32768;
    ASSERT_GT(atFullScale, 0) << r.err;
    EXPECT_NE(r.err.find("Segments whose voice is louder than 16 bits can hold:\ntrack 1 \"Low\", measure 1, beat 1: " +
                         std::to_string(atFullScale) + " samples were clipped\n"),
              std::string::npos)
        << r.err;
}

// Test banks of every generation in a program folder of their own, each
// singer blamed only for what is wrong with its bank, through both exports:
// a syllable the bank lacks leaves its note without a voice (exit 3 when
// nothing else is sung), a package file that cannot be opened and values
// the synthesis cannot use are the bank's fault (its file named, exit 4),
// and a file is written only for what is sung.
TEST(MainJob, EachGenerationsBankIsBlamedForWhatIsWrongWithIt)
{
    namespace fs = std::filesystem;
    using namespace projtest;
    testbank::BankTree tree("main_job_generations");
    fs::create_directory_symlink(HV_PROGRAM_FOLDER "/dict", tree.root() / "dict");
    const float unusable = std::numeric_limits<float>::max();
    auto hpr = [](int generation, std::optional<float> level = std::nullopt) {
        testbank::HprSingingOptions options;
        options.generation = generation;
        options.everyLevelDb = level;
        return testbank::writeHprSingingBank(options);
    };
    // Banks "1" and "2" sing "ma", "a" and "la"; "3.1" and "4.0" also "sa";
    // "6.1" "ka", "ma" and "a".
    auto add = [&](const std::string& name, const std::string& version, const testbank::PackageFiles& files) {
        return testbank::packageBasePath(tree.addPackage(name, version, name, files));
    };
    add("g1", "1", hpr(1));
    add("g2", "2", hpr(2));
    const std::string noContent = add("g1nohvc", "1", hpr(1));
    fs::remove(noContent + "HVC");
    const std::string noIndex = add("g31nohvi", "3.1", testbank::writeSingingBank(testbank::threeSyllableBank(256)));
    fs::remove(noIndex + "HVI");
    const std::vector<std::pair<std::string, std::string>> unusableBanks = {
        {add("g1max", "1", hpr(1, unusable)), "g1max"},
        {add("g2max", "2", hpr(2, unusable)), "g2max"},
        {add("g31max", "3.1",
             testbank::writeSingingBank(testbank::withEveryLevelAt(testbank::threeSyllableBank(256), unusable))),
         "g31max"},
        {add("g40max", "4.0",
             testbank::writeSingingBank(testbank::withEveryLevelAt(testbank::cvvcBankV4(256), unusable))),
         "g40max"},
        {add("g61max", "6.1",
             testbank::writeSingingBankV6(testbank::withEveryLevelAtV6(testbank::phraseBankV6(1), unusable))),
         "g61max"},
    };

    struct Sung {
        std::string singer;
        std::vector<std::string> lyrics;  // quarters from beat 2 of measure 1
    };
    struct Case {
        std::string name;
        std::vector<Sung> tracks;  // track i + 1 is "T<i + 1>"
        int code;
        std::vector<std::string> lines;  // each said on standard error
        std::vector<int> written;        // the tracks whose file is written
    };
    // The report names the file, then what is wrong with it, then the segment.
    auto stopped = [](const std::string& file, const std::string& fault, int track) {
        return file + ":\n  " + fault + "\n    segment \"S\" of track " + std::to_string(track) + " \"T" +
               std::to_string(track) + "\" at measure 1, beat 1\n";
    };
    const std::string unopened = "cannot be opened: No such file or directory";
    std::vector<Case> cases = {
        {"g1ka", {{"g1", {"ka"}}}, 3, {"Notes without a voice in their singer's bank (they stay silent):\n"
                                      "track 1 \"T1\", measure 1, beat 2: \"ka\"\n"}, {}},
        {"g2ka", {{"g2", {"ka"}}}, 3, {"Notes without a voice in their singer's bank (they stay silent):\n"
                                      "track 1 \"T1\", measure 1, beat 2: \"ka\"\n"}, {}},
        // Beside a syllable the bank has, the note it lacks is named and the rest sung.
        {"g2maka", {{"g2", {"ma", "ka", "la"}}}, 0, {"track 1 \"T1\", measure 1, beat 3: \"ka\"\n"}, {1}},
        {"nohvc", {{"g1nohvc", {"ma"}}}, 4, {stopped(noContent + "HVC", unopened, 1)}, {}},
        {"nohvi", {{"g31nohvi", {"ma"}}}, 4, {stopped(noIndex + "HVI", unopened, 1)}, {}},
        {"nohvcbeside", {{"g1nohvc", {"ma"}}, {"g2", {"la"}}}, 4, {stopped(noContent + "HVC", unopened, 1)}, {2}},
    };
    for (const auto& [base, name] : unusableBanks)
        cases.push_back({name, {{name, {"ma", "a"}}}, 4,
                         {stopped(base + "HVC", "its values make the synthesis give samples that are not finite", 1)},
                         {}});

    hvtest::ScratchDir dir("main_job_generations");
    fs::create_directories(dir.file("each"));
    for (const Case& c : cases) {
        auto m = markersOnly();
        for (std::size_t t = 0; t < c.tracks.size(); ++t) {
            SingSegment* seg =
                addSingSeg(*addTrack(*m, kSingingTrack, "T" + std::to_string(t + 1)), 7680, 1920 * 2, c.tracks[t].singer);
            seg->name = "S";
            int at = 480;
            for (const std::string& lyric : c.tracks[t].lyrics) {
                addNote(*seg, at, 480, 58, lyric);
                at += 480;
            }
        }
        ASSERT_EQ(saveProjectFile(*m, CString::fromUtf8(dir.file(c.name + ".ot"))), 0);
        for (const std::string output : {"--mixdown mix.wav", "--export-each-track each"}) {
            SCOPED_TRACE(c.name + " " + output + "\n");
            fs::remove(dir.file("mix.wav"));
            for (const auto& entry : fs::directory_iterator(dir.file("each"))) fs::remove(entry.path());
            const ProgramRun r = runIn(dir, c.name + ".ot " + output, tree.root().string());
            EXPECT_EQ(r.code, c.code) << r.err;
            for (const std::string& line : c.lines)
                EXPECT_NE(r.err.find(line), std::string::npos) << line << "\n" << r.err;
            // A bank at fault leaves no note without a voice.
            if (c.code == 4) {
                EXPECT_EQ(r.err.find("Notes without a voice"), std::string::npos) << r.err;
            }
            if (output == "--mixdown mix.wav") {
                EXPECT_EQ(fs::exists(dir.file("mix.wav")), !c.written.empty());
                continue;
            }
            for (std::size_t t = 1; t <= c.tracks.size(); ++t) {
                const bool written = std::find(c.written.begin(), c.written.end(), int(t)) != c.written.end();
                const std::string file =
                    dir.file("each/" + c.name + "_" + std::to_string(t) + "_T" + std::to_string(t) + ".wav");
                EXPECT_EQ(fs::exists(file), written) << file;
            }
        }
    }
}

}  // namespace
