// Writes the demo voice bank "demo-cmn" (version "3.1") into a program
// folder's singers/demo-cmn/: a unit for every valid pinyin syllable and the
// continuants of every final into every onset, from synthetic Mandarin
// speech at each of the bank's recording pitches. What the speech synthesiser cannot say is named on the way out;
// the bank sings without it.
//   hv_make_demo_bank PROGRAM_FOLDER
#include <sched.h>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "BankUnits.h"
#include "DemoBank.h"
#include "lyrics/PinyinDict.h"
#include "tools/bankwriter/BankFolder.h"

namespace {

// The cores this process may run on.
unsigned usableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    const char* const kName = "demo-cmn";
    try {
        Halvoren::ChnSymbolMgr symbols;
        const demobank::BankUnits units = demobank::bankUnits(symbols, CPinyinDict().getSyllables());
        const demobank::LevelCalibration calibration = demobank::measureLevelCalibration();
        const demobank::DemoBankPitches pitches;
        demobank::DemoBankMaker maker(calibration, usableCores(), pitches.pitches());
        const demobank::MadeBank made = maker.bank(units);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "singers" / kName;
        bankwriter::writeFile(folder / "bank.hvsd", bankwriter::descriptionText("3.1", kName));
        bankwriter::writePackageFiles(folder, bankwriter::writePackage(made.package));
        std::printf("%s: %zu voices, %zu continuants; calibration %.2f dB (harmonics), %.2f dB (noise); timbres %s\n",
                    kName, made.voices, made.continuants, calibration.harmonicDb, calibration.noiseDb,
                    made.package.groupList.c_str());
        for (const std::string& reason : made.leftOut)
            std::printf("%s: left out %s\n", kName, reason.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
