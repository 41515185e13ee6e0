#include <gtest/gtest.h>

#include <sstream>

#include "TempFolder.h"
#include "lyrics/ChCharacterDict.h"
#include "platform/FileUtil.h"
#include "support/ByteBuilder.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kZhong = "\xE4\xB8\xAD", kGuo = "\xE5\x9B\xBD", kRen = "\xE4\xBA\xBA";
const std::string kExtB = "\xF0\xA0\x80\x80";  // U+20000

std::string hexBytes(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += hex[i] == ' ' ? 1 : 2)
        if (hex[i] != ' ') out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

Strings readings(const ChCharacterDict& dict, const std::string& text) {
    Strings out;
    for (const SymbolSlot* slot : dict.lookup(text)) out.push_back(slot->text ? slot->text : "");
    return out;
}

Strings lines(const std::ostringstream& log) {
    Strings out;
    std::istringstream in(log.str());
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

struct DictFilesTest : ::testing::Test {
    TempFolder dir{"chardict"};
    std::ostringstream log;
    ChCharacterDict dict{dir.cpath(), log};

    int parse(const std::string& content) { return dict.parseEspeakList(dir.write("list", content)); }
};

// 中 zhong1 with the phrase 中国 zhong1 guo2, 国 guo2, U+20000 a1 (escaped),
// and code point 1, which must take the escape as well.
const std::string kCompiledHex =
    "0100 01000000 9413 0000"
    "2D4E D21C 0100 0200 2D4E D21C FD56 2F16"
    "FD56 2F16 0000"
    "0100 00000200 9413 0000";

TEST_F(DictFilesTest, CompiledFormReadsAndWritesTheSameBytes) {
    ASSERT_EQ(dict.loadCompiled(dir.write("zh.dict", hexBytes(kCompiledHex))), 0);
    EXPECT_EQ(readings(dict, kZhong + kGuo + kGuo + kZhong + kExtB + "\x01"),
              (Strings{"zhong1", "guo2", "guo2", "zhong1", "a1", "a1"}));

    ChCharacterDict fromList(dir.cpath(), log);
    ASSERT_EQ(fromList.parseEspeakList(dir.write("list", kExtB + " a1\n" + kGuo + " guo2\n" + kZhong +
                                                             " zhong1\n(" + kZhong + " " + kGuo +
                                                             ") zhong1guo2\n\x01 a1\n")),
              0);
    ASSERT_EQ(fromList.saveCompiled(dir.cfile("out.dict")), 0);
    std::string written;
    EXPECT_TRUE(readWholeFile(dir.cfile("out.dict"), written, uint64_t{1} << 30));
    EXPECT_EQ(written, hexBytes(kCompiledHex));
    EXPECT_FALSE(dir.exists("out.dict.tmp"));

    // A repeated character takes the later reading; a record without
    // phrases leaves the phrases of the earlier one in place.
    ChCharacterDict repeated(dir.cpath(), log);
    ASSERT_EQ(repeated.loadCompiled(dir.write(
                  "repeated.dict", hexBytes("6100 9413 0100 0200 6100 9413 6200 9513"
                                            "6100 9613 0000"))),
              0);
    EXPECT_EQ(readings(repeated, "aba"), (Strings{"a1", "a2", "a3"}));
    EXPECT_EQ(log.str(), "");
}

TEST_F(DictFilesTest, CharacterLines) {
    ASSERT_EQ(parse("\xEF\xBB\xBF// comment\n_ also\n\n  \n"
                    "a\tma3\n"             // 5
                    "b ma3 more words\n"   // 6
                    "cma3\n"               // 7: no blank: ignored silently
                    "d xx9\n"              // 8
                    "  \tf  ma1\r\n"       // 9
                    "g ma\n"               // 10: no tone digit
                    "h\xFF ma2\n"          // 11
                    "\xED\xA0\x80 ma2\n"   // 12: an encoded surrogate
                    "a ma4"),              // 13: later line wins, no line end
              0);
    EXPECT_EQ(readings(dict, "abcdfgh"), (Strings{"ma4", "ma3", "", "", "ma1", "", ""}));
    EXPECT_EQ(lines(log), (Strings{"Unknown symbol xx9 at line 8", "Unknown symbol ma at line 10",
                                   "Invalid UTF-8 at line 11", "Invalid UTF-8 at line 12"}));
}

// A phrase line with any fault is left out whole; the lines after it count.
TEST_F(DictFilesTest, PhraseLines) {
    const std::string ab = "(" + kZhong + " " + kGuo + ")";
    const Strings content = {
        ab + " zhong1guo2",       ab + " zhong1",     ab + " zhong1guo2ren2",
        "(" + kZhong + " " + kGuo + " zhong1guo2",    ab + " zhong1 guo2",
        ab + "\tzhong3|guo3",     ab + " zhong1xx9",  "(",
        "(" + kZhong + " " + kRen + " " + kGuo + ") zhong4ren4guo4\r"};
    std::string text;
    for (const std::string& l : content) text += l + "\n";
    ASSERT_EQ(parse(text), 0);
    auto bad = [&](int n, const char* why) {
        return "Bad espeak dictionary format at line " + std::to_string(n) + "(" + why + "): " + content[n - 1];
    };
    EXPECT_EQ(lines(log), (Strings{bad(2, "ChCharacters more than symbols"),
                                   bad(3, "symbols more than ChCharacters"),
                                   bad(4, "word not quoted by ')'"),
                                   bad(5, "symbol not ended with number"),
                                   bad(5, "ChCharacters more than symbols"),
                                   "Unknown symbol xx9 at line 7", bad(8, "word not quoted by ')'")}));
    const ChCharEntry* zhong = dict.findEntry(0x4E2D);
    ASSERT_TRUE(zhong && zhong->phrases);
    EXPECT_EQ(zhong->phrases->size(), 3u);
    EXPECT_EQ(zhong->reading, nullptr);  // a phrase gives no reading of its own
    EXPECT_EQ(readings(dict, kZhong + kRen + kGuo), (Strings{"zhong4", "ren4", "guo4"}));
}

TEST_F(DictFilesTest, LoadCompilesTheListsAndReadsTheCompiledFormNextTime) {
    dir.write("zh_list", kZhong + " zhong1\n" + kRen + " ren2\n(" + kZhong + " " + kGuo + ") zhong4guo4\n");
    // The second list overrides the first; a phrase under a character
    // without a reading of its own cannot be kept by the compiled form.
    dir.write("zh_listx", kRen + " ren3\n" + kExtB + " a1\n(x " + kRen + ") a2ren1\n");
    ASSERT_EQ(dict.load(), 0);
    ASSERT_TRUE(dir.exists("zh.dict"));
    const std::string text = kZhong + kGuo + kRen + kExtB + "x" + kRen;
    EXPECT_EQ(readings(dict, text), (Strings{"zhong4", "guo4", "ren3", "a1", "a2", "ren1"}));

    dir.write("zh_list", "");  // no longer read
    ChCharacterDict second(dir.cpath(), log);
    ASSERT_EQ(second.load(), 0);
    EXPECT_EQ(readings(second, text), (Strings{"zhong4", "guo4", "ren3", "a1", "", "ren3"}));
    EXPECT_EQ(log.str(), "");
}

// The messages name the files with their bytes, also in a folder whose name
// is not UTF-8.
TEST_F(DictFilesTest, MissingFilesKeepWhatLoaded) {
    const std::string folder = dir.file("p\xE9");
    std::filesystem::create_directory(folder);
    dir.write("p\xE9/zh_list", "a a1\n");
    ChCharacterDict lists(dir.cfile("p\xE9"), log);
    EXPECT_EQ(lists.load(), -1);
    EXPECT_EQ(readings(lists, "a"), Strings{"a1"});
    EXPECT_FALSE(dir.exists("p\xE9/zh.dict"));
    EXPECT_EQ(lines(log), (Strings{"Fail to open file " + folder + "/zh_listx at 54",
                                   "Fail to load espeak dictionary: " + folder + "/zh_listx"}));
    // A damaged compiled file with no lists to rebuild it from.
    log.str("");
    dir.write("p\xE9/zh.dict", hexBytes("6100 9413 0000 6200 94"));
    EXPECT_EQ(lists.load(), -1);
    EXPECT_EQ(readings(lists, "ab"), (Strings{"a1", ""}));
    EXPECT_EQ(lines(log), Strings{"Corrupted dictionary (file ends inside a record): " + folder + "/zh.dict"});

    ChCharacterDict none(dir.cfile("no/such/folder"), log);
    EXPECT_EQ(none.load(), -1);
    EXPECT_EQ(readings(none, "a0-"), (Strings{"", "0", "-"}));
}

// Each damage stops the load without a hang or a huge allocation and is
// reported on one line. The reading of a record whose symbol code was read
// stays; phrases are taken only when the whole list was read.
TEST_F(DictFilesTest, DamagedCompiledFiles) {
    const std::string good = "6100 9413 0000";  // a a1
    const std::string cut = "Corrupted dictionary (file ends inside a record): ";
    struct Case {
        std::string hex, message, readingOfB;
    };
    const Case cases[] = {
        {good + "6200 401F 0000", "Corrupted dictionary (phonetic symbol code out of range): 8000 at line 283", ""},
        {good + "6200 9413 0100 0200 6200 9413 6300 FFFF",
         "Corrupted dictionary (phonetic symbol code out of range): 65535 at line 343", "a1"},
        {good + "6200 94", cut, ""},
        {good + "0100 0000", cut, ""},
        {good + "6200 9413 FFFF FFFF 6200", cut, "a1"}};
    for (const Case& c : cases) {
        std::ostringstream caseLog;
        ChCharacterDict d(dir.cpath(), caseLog);
        EXPECT_EQ(d.loadCompiled(dir.write("zh.dict", hexBytes(c.hex))), -1) << c.hex;
        EXPECT_EQ(readings(d, "ab"), (Strings{"a1", c.readingOfB})) << c.hex;
        EXPECT_EQ(readings(d, "bc"), (Strings{c.readingOfB, ""})) << "no phrase of a damaged list is kept: " << c.hex;
        EXPECT_EQ(caseLog.str().rfind(c.message, 0), 0u) << caseLog.str();
        EXPECT_EQ(lines(caseLog).size(), 1u);
    }
}

TEST_F(DictFilesTest, CompiledFileStopsAtItsReadBudget) {
    // a a1; b a2 with the phrase "ba" read a3 a3: three records (two
    // characters and a phrase) in 24 bytes.
    const std::string bytes = hvtest::ByteBuilder()
                                  .u16('a').u16(0x1394).u16(0)
                                  .u16('b').u16(0x1395).u16(1)
                                  .u16(2).u16('b').u16(0x1396).u16('a').u16(0x1396)
                                  .bytes;
    struct Case {
        std::uint64_t records;
        int result;
        Strings readingsOfBa;
        std::string message;
    };
    const Case cases[] = {
        {3, 0, {"a3", "a3"}, ""},
        {2, -1, {"a2", "a1"}, "Corrupted dictionary (more records than its size allows): "},
        {1, -1, {"", "a1"}, "Corrupted dictionary (more records than its size allows): "},
    };
    for (const Case& c : cases) {
        ReadLimits limits;
        limits.recordsPerFileByte = 0;
        limits.recordBase = c.records;
        std::ostringstream caseLog;
        ChCharacterDict d(dir.cpath(), caseLog);
        EXPECT_EQ(d.loadCompiled(dir.write("zh.dict", bytes), limits), c.result) << c.records;
        EXPECT_EQ(readings(d, "ba"), c.readingsOfBa) << c.records;
        EXPECT_EQ(caseLog.str().rfind(c.message, 0), 0u) << caseLog.str();
    }
}

TEST_F(DictFilesTest, DamagedCompiledFileIsRebuiltFromTheLists) {
    dir.write("zh.dict", hexBytes("6100 9413 0000 6200 95"));
    dir.write("zh_list", "b ba1\n");
    EXPECT_EQ(dict.load(), -1);  // no zh_listx to rebuild from
    EXPECT_EQ(readings(dict, "ab"), (Strings{"a1", ""}));

    dir.write("zh_listx", "c ca1\n");
    EXPECT_EQ(dict.load(), 0);
    EXPECT_EQ(readings(dict, "abc"), (Strings{"", "ba1", "ca1"}));
    ChCharacterDict rebuilt(dir.cpath(), log);
    EXPECT_EQ(rebuilt.loadCompiled(dir.cfile("zh.dict")), 0);
    EXPECT_EQ(readings(rebuilt, "abc"), (Strings{"", "ba1", "ca1"}));

    // An empty compiled file is compiled again from the lists; without them
    // it is an empty dictionary.
    dir.write("zh.dict", "");
    EXPECT_EQ(dict.load(), 0);
    EXPECT_EQ(readings(dict, "bc"), (Strings{"ba1", "ca1"}));
    EXPECT_EQ(std::filesystem::file_size(dir.file("zh.dict")), 12u);  // two records of 6 bytes
    std::filesystem::remove(dir.file("zh_list"));
    dir.write("zh.dict", "");
    EXPECT_EQ(dict.load(), 0);
    EXPECT_EQ(readings(dict, "bc"), (Strings{"", ""}));

    // A write that cannot complete leaves neither a partial file nor its temporary.
    std::filesystem::create_directories(dir.file("blocked.dict"));
    EXPECT_EQ(rebuilt.saveCompiled(dir.cfile("blocked.dict")), -1);
    EXPECT_FALSE(dir.exists("blocked.dict.tmp"));
}

}  // namespace
