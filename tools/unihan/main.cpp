// Writes the character lists "zh_list" and "zh_listx" of the dictionary
// folder from Unihan_Readings.txt (plain or .bz2, decompressed by bzip2), and,
// given a Rime word list, the phrases of its words at the end of "zh_listx";
// its lines of single characters then rank each character's readings, so a
// character reads as it most often does.
//   hv_unihan_convert <Unihan_Readings.txt[.bz2]> <output folder> [<pinyin_simp.dict.yaml>]
// A "zh.dict" compiled from older lists is removed, so the program rebuilds
// it from the new ones.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/unihan/RimeWords.h"
#include "tools/unihan/UnihanReadings.h"

namespace {

namespace fs = std::filesystem;

bool readInput(const std::string& path, std::string& text) {
    if (!path.ends_with(".bz2")) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        text.assign(std::istreambuf_iterator<char>(in), {});
        return true;
    }
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    FILE* pipe = popen(("bzip2 -dc -- " + quoted).c_str(), "r");
    if (!pipe) return false;
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    return pclose(pipe) == 0;
}

// Written beside the target and renamed over it: never a half list.
bool writeList(const fs::path& path, const std::function<void(std::ostream&)>& write) {
    const fs::path temp = path.string() + ".tmp";
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary);
        write(out);
        if (!out.flush()) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) fs::remove(temp, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: " << argv[0]
                  << " <Unihan_Readings.txt[.bz2]> <output folder> [<pinyin_simp.dict.yaml>]\n";
        return 2;
    }
    std::string text;
    if (!readInput(argv[1], text)) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::istringstream in(text);
    UnihanLists lists = convertUnihanReadings(in);
    if (lists.common.empty()) {
        std::cerr << "no kHanyuPinlu readings in " << argv[1] << "\n";
        return 1;
    }
    RimeWords words;
    if (argc == 4) {
        std::ifstream wordList(argv[3], std::ios::binary);
        if (!wordList) {
            std::cerr << "cannot read " << argv[3] << "\n";
            return 1;
        }
        words = convertRimeWords(wordList, lists.readings);
        rankReadingsByWeight(lists, words);
    }

    const fs::path folder = argv[2];
    std::error_code ec;
    fs::create_directories(folder, ec);
    const bool written =
        writeList(folder / "zh_list",
                  [&](std::ostream& out) {
                      writeCharacterList(out, lists.common, "characters with frequency data (Unihan kHanyuPinlu)");
                  }) &&
        writeList(folder / "zh_listx", [&](std::ostream& out) {
            writeCharacterList(out, lists.other, "other characters (Unihan kMandarin and dictionaries)");
            if (!words.phrases.empty()) writePhraseList(out, words.phrases, "words (Rime pinyin_simp)");
        });
    if (!written) {
        std::cerr << "cannot write the lists to " << folder << "\n";
        return 1;
    }
    fs::remove(folder / "zh.dict", ec);
    std::cout << "zh_list: " << lists.common.size() << " characters, zh_listx: " << lists.other.size()
              << " characters and " << words.phrases.size() << " phrases; " << words.leftOut
              << " words left out (a syllable no reading of its character has), "
              << lists.skippedReadings << " readings that are no valid known syllable\n";
    return 0;
}
