// The demo bank's range table, in steps that scripts/demo-range runs around
// the program:
//   hv_demo_range notes LOW HIGH           the note names from LOW to HIGH,
//                                          one a line
//   hv_demo_range project FILE.ot NOTE     every pinyin syllable as a
//                                          one-second note at NOTE ("G2")
//   hv_demo_range measure FILE.wav NOTE    one line per note of the
//                                          project's mixdown: note, syllable,
//                                          level (dB), cents, fundamental (dB)
//   hv_demo_range table LINES...           the table of every note measured
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "RangeScore.h"
#include "lyrics/PinyinDict.h"
#include "model/file/ProjectFile.h"
#include "voicebank/NoteName.h"

namespace {

using demobank::NoteSound;

constexpr double kSungShare = 0.99;

struct Measured {
    std::string syllable;
    NoteSound sound;
};

int usage(const char* self)
{
    std::fprintf(stderr, "usage: %s notes LOW HIGH | project FILE.ot NOTE | measure FILE.wav NOTE | table LINES...\n",
                 self);
    return 2;
}

int project(const std::string& path, int semitone)
{
    const auto model = demobank::rangeProject(CPinyinDict().getSyllables(), semitone, "demo-cmn");
    if (saveProjectFile(*model, CString::fromUtf8(path)) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

int measure(const std::string& path, int semitone)
{
    const CPinyinDict pinyin;
    const std::vector<std::string>& syllables = pinyin.getSyllables();
    const std::vector<std::int16_t> samples = demobank::firstChannelOf(path);
    if (samples.empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<NoteSound> sounds = demobank::rangeNoteSounds(samples, syllables.size(), semitone);
    for (std::size_t k = 0; k < sounds.size(); ++k)
        std::printf("%d %s %.2f %.2f %.2f\n", semitone, syllables[k].c_str(), sounds[k].levelDb, sounds[k].centsOff,
                    sounds[k].fundamentalDb);
    return 0;
}

int table(const std::vector<std::string>& files)
{
    std::map<int, std::vector<Measured>> rows;
    std::vector<double> levels;
    for (const std::string& file : files) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            int semitone = 0;
            Measured m;
            if (fields >> semitone >> m.syllable >> m.sound.levelDb >> m.sound.centsOff >> m.sound.fundamentalDb) {
                rows[semitone].push_back(m);
                levels.push_back(m.sound.levelDb);
            }
        }
    }
    if (rows.empty()) {
        std::fprintf(stderr, "no notes measured\n");
        return 1;
    }
    const double median = demobank::medianLevelDb(levels);
    std::printf("Each syllable as a one-second note; sung: its middle half within %.0f dB of the median level "
                "(%.1f dBFS), its period within %.0f cents of the note, its first harmonic at most %.0f dB under "
                "its strongest.\n",
                demobank::kLevelSpanDb, median, demobank::kCentsSpan, demobank::kFundamentalSpanDb);
    std::printf("%-4s %7s %6s %8s %7s %11s %5s %9s %9s %11s  %s\n", "note", "Hz", "notes", "audible", "in tune",
                "fundamental", "sung", "quietest", "off most", "weakest 1st", "not sung");
    std::vector<int> passing;
    for (const auto& [semitone, notes] : rows) {
        int audible = 0, inTune = 0, fundamental = 0, sung = 0;
        double quietest = 1e9, offMost = 0.0, weakest = 1e9;
        std::string failed;
        for (const Measured& m : notes) {
            const demobank::NoteVerdict v = demobank::judgeNote(m.sound, median);
            audible += v.audible;
            inTune += v.inTune;
            fundamental += v.fundamental;
            sung += v.sung();
            quietest = std::min(quietest, m.sound.levelDb);
            offMost = std::fabs(m.sound.centsOff) > std::fabs(offMost) ? m.sound.centsOff : offMost;
            weakest = std::min(weakest, m.sound.fundamentalDb);
            if (!v.sung())
                failed += " " + m.syllable;
        }
        if (sung >= kSungShare * double(notes.size()))
            passing.push_back(semitone);
        std::printf("%-4s %7.1f %6zu %8d %7d %11d %5d %9.1f %9.1f %11.1f %s\n", demobank::semitoneName(semitone).c_str(),
                    demobank::semitoneHz(semitone), notes.size(), audible, inTune, fundamental, sung, quietest,
                    offMost, weakest, failed.c_str());
    }
    // The longest run of neighbouring semitones that pass.
    int bestFrom = 0, bestLength = 0;
    for (std::size_t i = 0; i < passing.size();) {
        std::size_t j = i + 1;
        while (j < passing.size() && passing[j] == passing[j - 1] + 1)
            ++j;
        if (int(j - i) > bestLength) {
            bestFrom = passing[i];
            bestLength = int(j - i);
        }
        i = j;
    }
    if (bestLength > 0)
        std::printf("At least %.0f %% sung at every semitone from %s to %s.\n", kSungShare * 100.0,
                    demobank::semitoneName(bestFrom).c_str(), demobank::semitoneName(bestFrom + bestLength - 1).c_str());
    else
        std::printf("No semitone has at least %.0f %% sung.\n", kSungShare * 100.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage(argv[0]);
    const std::string mode = argv[1];
    try {
        if (mode == "table" && argc >= 3)
            return table(std::vector<std::string>(argv + 2, argv + argc));
        if (mode == "notes" && argc == 4) {
            for (int s = parseNoteName(argv[2]); s <= parseNoteName(argv[3]); ++s)
                std::printf("%s\n", demobank::semitoneName(s).c_str());
            return 0;
        }
        if ((mode == "project" || mode == "measure") && argc == 4) {
            const int semitone = parseNoteName(argv[3]);
            return mode == "project" ? project(argv[2], semitone) : measure(argv[2], semitone);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return usage(argv[0]);
}
