// Writes the voice-package seed corpus into the folder given as argument.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "support/bank/BankCorpus.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: write_bank_corpus <folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const testbank::CorpusFile& f : testbank::bankCorpus()) {
        std::ofstream out(folder / f.name, std::ios::binary | std::ios::trunc);
        out << f.bytes;
        if (!out) {
            std::cerr << "cannot write " << (folder / f.name) << "\n";
            return 1;
        }
    }
    return 0;
}
