// Writes the demo voice bank's lyric dictionary from the dictionary folder
// the build makes (its lists of characters and phrases); without that
// folder, the dictionary holds the pinyin syllables alone.
//   hv_make_demo_dict DICT_FOLDER OUTPUT_FILE
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "LyricDictionary.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DICT_FOLDER OUTPUT_FILE\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    CPinyinDict pinyin;
    if (fs::is_directory(argv[1]))
        pinyin.load(CString::fromUtf8(argv[1]));
    const fs::path output = argv[2];
    const fs::path temp = output.string() + ".tmp";
    std::error_code ec;
    fs::create_directories(output.parent_path(), ec);
    std::size_t lines = 0;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        lines = demobank::writeLyricDictionary(out, pinyin);
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], temp.c_str());
            return 1;
        }
    }
    fs::rename(temp, output, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], output.c_str());
        return 1;
    }
    std::printf("%s: %zu words\n", output.filename().c_str(), lines);
    return 0;
}
