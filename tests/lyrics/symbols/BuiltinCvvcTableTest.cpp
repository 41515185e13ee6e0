#include <gtest/gtest.h>

#include <set>

#include "lyrics/BuiltinCvvcTable.h"
#include "lyrics/PinyinTables.h"
#include "lyrics/SymbolTableUtil.h"

using namespace Halvoren;

TEST(BuiltinCvvcTable, FollowsItsRulesForEverySyllable) {
    const std::string& table = BuiltinCvvcTable();
    EXPECT_EQ(table.size(), 4119u);
    const auto sections = piecesOf(table, "|");
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[0].size(), 3920u);
    EXPECT_EQ(sections[1], "m,my,n,ny,l,ly,r,y,w,yw");
    EXPECT_EQ(sections[2].size(), 154u);
    EXPECT_EQ(sections[3], "br1,br2,br3,br4,br5");

    std::set<std::string> carriedVowels;
    for (const std::string& pair : piecesOf(sections[2], ";")) carriedVowels.insert(piecesOf(pair, ",")[0]);
    EXPECT_EQ(carriedVowels.size(), 25u);

    std::vector<std::string> syllables = builtinSyllables();
    syllables.insert(syllables.end(), {"tei", "sei", "nn"});
    const auto rows = piecesOf(sections[0], ";");
    ASSERT_EQ(rows.size(), 412u);
    std::set<std::string> consonants;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto fields = piecesOf(rows[i], ",");
        ASSERT_EQ(fields.size(), 3u) << rows[i];
        EXPECT_EQ(fields[0], syllables[i]);
        EXPECT_FALSE(fields[1].empty()) << rows[i];
        EXPECT_EQ(carriedVowels.count(fields[2]), 1u) << "vowel never recorded: " << rows[i];
        consonants.insert(fields[1]);
    }
    EXPECT_EQ(consonants.size(), 46u);

    const std::set<std::string> rowSet(rows.begin(), rows.end());
    for (const char* row :
         {"a,a,a", "ba,b,a", "biao,b,ao", "chi,ch,r", "ci,c,rr", "chun,ch,en", "hu,hw,u",
          "shuo,shw,o", "su,sw,u", "ju,jw,v", "juan,jw,ian", "jue,jw,ie", "jun,jw,vn", "li,ly,i",
          "lve,ly,ie", "mi,my,i", "nv,ny,v", "wu,w,u", "ya,y,a", "yan,y,ian", "ye,y,ie", "yi,y,i",
          "yu,yw,v", "zhi,zh,r", "zhuang,zh,ang", "tei,t,ei", "sei,s,ei", "nn,nn,nn"}) {
        EXPECT_EQ(rowSet.count(row), 1u) << row;
    }
}
