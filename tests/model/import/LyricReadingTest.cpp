// Whether an imported note sings its lyric, read through a bank's text
// dictionary as the imports read it.
#include "model/import/LyricReading.h"

#include <gtest/gtest.h>

#include "lyrics/SingerLyricDict.h"
#include "model/current/Note.h"
#include "support/ScratchDir.h"
#include "support/midi/SmfWriter.h"

namespace {

TEST(LyricReadingTest, OnlyALyricReadWholeAsOneWordSingsItself)
{
    const hvtest::ScratchDir dir("lyric_reading");
    const std::string file = dir.file("bank-dict.txt");
    ASSERT_TRUE(hvtest::writeFileBytes(file, "xiang=xiang\nhang=hang\n长=chang\n长城=chang cheng\n"));
    CSingerLyricDict dict;
    ASSERT_TRUE(dict.loadTxt(CString::fromUtf8(file)));
    struct Case {
        const char* lyric;
        const char* symbol;
        bool withDict, sings;
    };
    const Case cases[] = {
        {"xiang", "xiang", true, true},
        {"长", "chang", true, true},
        {"xiang1", "xiang", true, true},  // a tone digit, blanks and punctuation are left over
        {" xiang, ", "xiang", true, true},
        {"长城", "/ chang cheng", true, true},  // one word: whether the bank sings it is the bank's
        {"Zhang", "hang", true, false},         // a letter is left over
        {"xiangか", "xiang", true, false},      // so is any other character
        {"xiangxiang", "xiang", true, false},   // two words
        {"长", "zhang", true, false},           // a symbol of its own
        {"かな", "la", true, false},            // no word: the default symbol
        {"ka", "ka", false, true},
        {"か", "la", false, false},
    };
    for (const Case& c : cases) {
        HVCurrentModel::Note note;
        note.lyric = c.lyric;
        note.phoneticSymbol = c.symbol;
        EXPECT_EQ(singsItsLyric(c.withDict ? &dict : nullptr, note), c.sings) << c.lyric << " " << c.symbol;
    }
}

}  // namespace
