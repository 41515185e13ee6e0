// Writes the stand-in "demo-cmn" voice bank (version "3.1") into a program
// folder's singers/demo-cmn/: a synthetic voice singing every syllable of
// the example song, and a continuant from every syllable's vowel into every
// syllable's consonant group, so each join of the song finds its record.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "lyrics/ChnSymbolMgr.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"

namespace {

const char* const kSyllables[] = {"lan", "tian", "bai", "yun", "piao", "wo", "ai", "ni"};

testbank::SingingBank demoBank()
{
    testbank::SingingBank bank;
    bank.header.hopSize = 256;
    const testbank::VoiceTone tone;
    Halvoren::ChnSymbolMgr symbols;
    std::set<std::string> finals, initials;
    for (const char* syllable : kSyllables) {
        std::string consonant, vowel;
        symbols.splitSyllable(syllable, consonant, vowel);
        testbank::SyllableShape shape;
        shape.unit = syllable;
        shape.unvoicedOnset = !consonant.empty() && consonant != vowel && !symbols.isVoiced(consonant);
        bank.voices.push_back(testbank::syllableVoice(shape, tone, bank.header.hopSize));
        if (!vowel.empty())
            finals.insert(vowel);
        if (!consonant.empty() && consonant != vowel)
            initials.insert(symbols.substituteConsonant(consonant));
    }
    for (const std::string& final : finals)
        for (const std::string& initial : initials)
            bank.continuants.push_back(testbank::continuantFrom(final + "_" + initial, tone, 10, 10,
                                                                !symbols.isVoiced(initial)));
    return bank;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "singers" / "demo-cmn";
    testbank::writeFile(folder / "bank.hvsd", testbank::descriptionText("3.1", "demo-cmn"));
    testbank::writePackageFiles(folder, testbank::writeSingingBank(demoBank()));
    return 0;
}
