#include <gtest/gtest.h>

#include "voicebank/Singer.h"

TEST(Singer, NamePrefixAndSuffixSplitAtTheLastUnderscore) {
    const char* cases[][3] = {{"solo_abc", "solo", "bc"}, {"a_b_cd", "a_b", "d"}, {"plain", "", ""},
                              {"ends_", "ends", ""},      {"ends_x", "ends", ""}, {"_", "", ""}};
    for (const auto& [name, prefix, suffix] : cases) {
        Singer singer;
        ASSERT_TRUE(singer.fromString(std::string(R"({"name": ")") + name + "\"}"));
        EXPECT_EQ(singer.getNamePrefix(), prefix) << name;
        EXPECT_EQ(singer.getNameSuffix(), suffix) << name;
    }
}
