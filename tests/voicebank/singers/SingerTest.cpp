#include <gtest/gtest.h>

#include "voicebank/Singer.h"

TEST(Singer, NamePrefixAndSuffixSplitAtTheLastUnderscore) {
    struct Case {
        const char* name;
        const char* prefix;
        const char* suffix;
    };
    for (const Case& c : {Case{"solo_abc", "solo", "bc"}, Case{"a_b_cd", "a_b", "d"}, Case{"plain", "", ""},
                          Case{"ends_", "ends", ""}, Case{"ends_x", "ends", ""}, Case{"_", "", ""}}) {
        Singer singer;
        ASSERT_TRUE(singer.fromString(std::string(R"({"name": ")") + c.name + "\"}"));
        EXPECT_EQ(singer.getNamePrefix(), c.prefix) << c.name;
        EXPECT_EQ(singer.getNameSuffix(), c.suffix) << c.name;
    }
}
