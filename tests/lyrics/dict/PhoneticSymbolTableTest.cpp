#include "lyrics/PhoneticSymbolTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

int codeOf(const char* symbol) {
    const SymbolHashEntry* e = lookupSymbol(symbol, static_cast<unsigned>(std::strlen(symbol)));
    return e ? e->code : -1;
}

TEST(PhoneticSymbolTableTest, SlotsCodesAndHashValues) {
    const PhoneticSymbolTable& t = PhoneticSymbolTable::instance();
    EXPECT_STREQ(t[0].text, "aa1");
    EXPECT_STREQ(t[7].text, "aai1");
    EXPECT_STREQ(t[5011].text, "zyut7");
    EXPECT_EQ(t[7486].text, nullptr);
    const std::pair<const char*, int> codes[] = {
        {"a1", 5012}, {"a6", 5017}, {"ma3", 6154}, {"lv4", 6143}, {"guo2", 5679}, {"r5", 6620},
        {"zhong1", 7378}, {"shen1", 6801}, {"shen2me5", 6802}, {"shen2", 6803}, {"zuo6", 7485}};
    for (const auto& [text, code] : codes) {
        EXPECT_EQ(codeOf(text), code) << text;
        EXPECT_STREQ(t[code].text, text);
    }
    // The bases beyond the syllable list sit in byte order among the others.
    EXPECT_EQ(codeOf("eng1"), codeOf("en6") + 1);
    EXPECT_EQ(codeOf("nia1"), codeOf("ni6") + 1);
    EXPECT_EQ(codeOf("rua1"), codeOf("ru6") + 1);

    for (const char* text : {"a7", "aa1", "r1", "lue1", "Ma1", "a", "zhuangg12", "", "a\xFF"})
        EXPECT_EQ(codeOf(text), -1) << text;
    const std::pair<const char*, unsigned> hashes[] = {
        {"a1", 4872}, {"shen2me5", 6776}, {"a7", 38069}, {"Ma1", 25643}};
    for (const auto& [text, hash] : hashes) EXPECT_EQ(hashSymbol(text, std::strlen(text)), hash) << text;
}

// Every pinyin symbol hashes to its own place in the word list, which finds
// it by its code; the Cantonese symbols cannot be named.
TEST(PhoneticSymbolTableTest, HashIsPerfectOverAllPinyinSymbols) {
    const PhoneticSymbolTable& t = PhoneticSymbolTable::instance();
    std::set<unsigned> hashes;
    const int end = PhoneticSymbolTable::kFirstPinyinCode + PhoneticSymbolTable::kPinyinCount;
    for (int code = PhoneticSymbolTable::kFirstPinyinCode; code < end; ++code) {
        ASSERT_NE(t[code].text, nullptr) << code;
        hashes.insert(hashSymbol(t[code].text, static_cast<unsigned>(std::strlen(t[code].text))));
        EXPECT_EQ(codeOf(t[code].text), code) << t[code].text;
    }
    EXPECT_EQ(hashes.size(), static_cast<size_t>(PhoneticSymbolTable::kPinyinCount));
    EXPECT_EQ(*hashes.rbegin(), PhoneticSymbolTable::kWordListSize - 1);
    EXPECT_EQ(codeOf(t[0].text), -1);
}

}  // namespace
