// Writes the demo voice bank "demo-cmn" (version "3.1") into a program
// folder's singers/demo-cmn/: every unit and continuant the example song
// asks for, from synthetic Mandarin speech.
//   hv_make_demo_bank PROGRAM_FOLDER SONG.ot
#include <cstdio>
#include <exception>
#include <filesystem>

#include "DemoBank.h"
#include "SongScore.h"
#include "lyrics/ChnSymbolMgr.h"
#include "support/bank/BankTree.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER SONG.ot\n", argv[0]);
        return 2;
    }
    const char* const kName = "demo-cmn";
    try {
        Halvoren::ChnSymbolMgr symbols;
        const demobank::SongUnits units = demobank::songUnits(symbols, demobank::songScore(argv[2], kName));
        const demobank::LevelCalibration calibration = demobank::measureLevelCalibration();
        demobank::DemoBankMaker maker(symbols, calibration);
        const testbank::SingingBank bank = maker.bank(units);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "singers" / kName;
        testbank::writeFile(folder / "bank.hvsd", testbank::descriptionText("3.1", kName));
        testbank::writePackageFiles(folder, testbank::writeSingingBank(bank));
        std::printf("%s: %zu voices, %zu continuants; calibration %.2f dB (harmonics), %.2f dB (noise)\n", kName,
                    bank.voices.size(), bank.continuants.size(), calibration.harmonicDb, calibration.noiseDb);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
