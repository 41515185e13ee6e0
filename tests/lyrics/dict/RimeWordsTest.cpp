#include "tools/unihan/RimeWords.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TempFolder.h"
#include "lyrics/ChCharacterDict.h"
#include "tools/unihan/UnihanReadings.h"

namespace {

using Symbols = std::vector<std::string>;
using Word = std::vector<std::uint32_t>;

const std::string kChang = "\xE9\x95\xBF", kCheng = "\xE5\x9F\x8E", kBu = "\xE4\xB8\x8D",
                  kLe = "\xE4\xBA\x86", kDa = "\xE5\xA4\xA7", kLing = "\xE9\xA2\x86",
                  kLve = "\xE7\x95\xA5", kNg = "\xE5\x97\xAF";
constexpr std::uint32_t kChangCp = 0x957F, kChengCp = 0x57CE, kBuCp = 0x4E0D, kLeCp = 0x4E86,
                        kDaCp = 0x5927, kLingCp = 0x9886, kLveCp = 0x7565, kNgCp = 0x55EF;

const std::map<std::uint32_t, Symbols> kReadings = {
    {kChangCp, {"zhang3", "chang2"}}, {kChengCp, {"cheng2"}}, {kBuCp, {"bu4", "bu2"}},
    {kLeCp, {"le5", "liao3", "liao4"}}, {kDaCp, {"da4", "dai4"}}, {kLingCp, {"ling3"}},
    {kLveCp, {"lve4"}}, {kNgCp, {"ng2"}}};

TEST(RimeWordsTest, TonesFromTheCharactersOwnReadingsAndWeightsFromTheirLines) {
    std::istringstream in(
        "# Rime dictionary\n---\nname: x\n" + kCheng + kCheng + "\tcheng cheng\t5\n...\n\n" +  // header
        kChang + kCheng + "\tchang cheng\t2238\n" +
        kChang + "\tchang\t100\n" +             // one character: a weight, not a phrase
        kChang + "\tzhang\t90\n" +
        kChang + "\tchang\t50\n" +              // the highest weight of a syllable stays
        kDa + "\tdai\t5\n" + kDa + "\tda\t5\n" +  // equal weights
        kLe + "\tliao\t7\n" +                    // one weighed syllable ranks nothing
        kLve + "\tlue\t3\n" + kLve + "\tlve\t1\n" +
        kBu + kLe + "\tbu le\t1891\n" +
        kBu + kLe + "\tbu liao\t8070\n" +       // the highest weight wins
        kChang + kDa + "\tzhang da\t4221\n" +
        kChang + kDa + "\tchang da\t4221\n" +   // equal weights: the first stays
        kLing + kLve + "\tling lue\t100\r\n" +  // ue after l is ve
        kBu + kDa + "\tbu xx\t9\n" +            // no such reading ...
        kBu + kDa + "\tbu da\t2\n" +            // ... so the matching one is kept
        "# comment\n" +
        kNg + kNg + "\tn n\t5\n" +              // left out: no reading n
        kDa + kChang + "\tda\t1\n" +            // left out: too few syllables
        kCheng + kCheng + "\tcheng cheng cheng\t1\n");  // left out: too many
    const RimeWords words = convertRimeWords(in, kReadings);
    const std::map<Word, Symbols> expected = {
        {{kChangCp, kChengCp}, {"chang2", "cheng2"}}, {{kBuCp, kLeCp}, {"bu4", "liao3"}},
        {{kChangCp, kDaCp}, {"zhang3", "da4"}},       {{kLingCp, kLveCp}, {"ling3", "lve4"}},
        {{kBuCp, kDaCp}, {"bu4", "da4"}}};
    EXPECT_EQ(words.phrases, expected);
    EXPECT_EQ(words.leftOut, 3);
    using Weights = std::map<std::string, long long>;
    EXPECT_EQ(words.characterWeights, (std::map<std::uint32_t, Weights>{{kChangCp, {{"chang", 100}, {"zhang", 90}}},
                                                                         {kDaCp, {{"da", 5}, {"dai", 5}}},
                                                                         {kLeCp, {{"liao", 7}}},
                                                                         {kLveCp, {{"lve", 3}}}}));

    // The heavier syllable goes first and becomes the character's own
    // reading; equal weights and a single weighed syllable keep the order.
    UnihanLists lists;
    lists.readings = {{kChangCp, {"zhang3", "chang2"}}, {kDaCp, {"da4", "dai4"}}, {kLeCp, {"le5", "liao3", "liao4"}}};
    lists.common = {{kChangCp, "zhang3"}, {kDaCp, "da4"}};
    lists.other = {{kLeCp, "le5"}};
    rankReadingsByWeight(lists, words);
    EXPECT_EQ(lists.readings[kChangCp], (Symbols{"chang2", "zhang3"}));
    EXPECT_EQ(lists.readings[kDaCp], (Symbols{"da4", "dai4"}));
    EXPECT_EQ(lists.readings[kLeCp], (Symbols{"le5", "liao3", "liao4"}));
    EXPECT_EQ(lists.common, (std::map<std::uint32_t, std::string>{{kChangCp, "chang2"}, {kDaCp, "da4"}}));
    EXPECT_EQ(lists.other.at(kLeCp), "le5");

    std::ostringstream out;
    writePhraseList(out, {{{kChangCp, kChengCp}, {"chang2", "cheng2"}}, {{kLingCp, kLveCp}, {"ling3", "lve4"}}}, "w");
    EXPECT_EQ(out.str(), "// w\n(" + kChang + " " + kCheng + ")\tchang2cheng2\n(" + kLing + " " + kLve + ")\tling3lve4\n");
}

// Unihan readings and a word list written out as the converter does are read
// back whole, from the lists and from the compiled form; a phrase under a
// character whose only reading comes from a dictionary field is kept too.
TEST(RimeWordsTest, ConvertedListsLoadWithEveryPhrase) {
    std::istringstream unihan("U+957F\tkHanyuPinlu\tzh\xC7\x8Eng(1879) ch\xC3\xA1ng(1179)\n"
                              "U+57CE\tkMandarin\tch\xC3\xA9ng\n"
                              "U+513F\tkHanyuPinlu\tr(3254) \xC3\xA9r(581)\n"
                              "U+5973\tkHanyuPinlu\tn\xC7\x9A(1000)\n"
                              "U+7565\tkXHC1983\t0123.010:l\xC3\xBC\xC3\xA8\n");
    const UnihanLists lists = convertUnihanReadings(unihan);
    const std::string kEr = "\xE5\x84\xBF", kNv = "\xE5\xA5\xB3";
    std::istringstream rime("...\n" + kChang + kCheng + "\tchang cheng\t1\n" + kNv + kEr + "\tnv er\t1\n" +
                            kLve + kChang + "\tlue chang\t1\n");
    const RimeWords words = convertRimeWords(rime, lists.readings);
    ASSERT_EQ(words.phrases.size(), 3u);

    TempFolder dir("rimewords");
    std::ostringstream common, other;
    writeCharacterList(common, lists.common, "c");
    writeCharacterList(other, lists.other, "o");
    writePhraseList(other, words.phrases, "w");
    dir.write("zh_list", common.str());
    dir.write("zh_listx", other.str());
    std::ostringstream log;
    ChCharacterDict fromLists(dir.cpath(), log);
    ASSERT_EQ(fromLists.load(), 0);
    ChCharacterDict compiled(dir.cpath(), log);
    ASSERT_EQ(compiled.load(), 0);
    EXPECT_EQ(log.str(), "");

    const std::pair<std::string, Symbols> cases[] = {
        {kChang + kCheng, {"chang2", "cheng2"}}, {kChang, {"zhang3"}},
        {kNv + kEr, {"nv3", "er2"}},             {kEr, {"er2"}},
        {kLve + kChang, {"lve4", "chang2"}},     {kLve, {"lve4"}}};
    for (const ChCharacterDict* dict : {&fromLists, &compiled}) {
        for (const auto& [text, expected] : cases) {
            Symbols got;
            for (const SymbolSlot* slot : dict->lookup(text)) got.push_back(slot->text ? slot->text : "");
            EXPECT_EQ(got, expected) << text << (dict == &compiled ? " (compiled)" : " (lists)");
        }
    }
}

}  // namespace
