#include <gtest/gtest.h>

#include "platform/StringUtil.h"

using Pieces = std::vector<std::string>;

TEST(SplitString, KeepsEmptyPiecesAndTheLastPiece) {
    Pieces out{"stale"};
    splitString(out, "a,,b,", ",");
    EXPECT_EQ(out, (Pieces{"a", "", "b", ""}));
    splitString(out, "", ",");
    EXPECT_TRUE(out.empty());
    splitStr(out, "one", "::");
    EXPECT_EQ(out, (Pieces{"one"}));
    splitStr(out, "x::y", "::");
    EXPECT_EQ(out, (Pieces{"x", "y"}));
}

TEST(ReplaceAll, SearchesOnAfterEachReplacement) {
    std::string s = "aaa";
    replaceAll(s, "a", "aa");
    EXPECT_EQ(s, "aaaaaa");
    s = "abab";
    replaceAll(s, "ab", "");
    EXPECT_EQ(s, "");
    s = "keep";
    replaceAll(s, "", "x");
    EXPECT_EQ(s, "keep");
}

TEST(ContainsPtr, FindsOnlyTheSamePointer) {
    int a = 1, b = 1;
    std::vector<int*> v{&a};
    EXPECT_TRUE(containsPtr(v, &a));
    EXPECT_FALSE(containsPtr(v, &b));
}

TEST(ToLowerAscii, LeavesNonAsciiBytesAlone) {
    EXPECT_EQ(toLowerAscii("SOFTWARE\\Singers\\\xC3\x84" "B.HVSD"), "software\\singers\\\xC3\x84" "b.hvsd");
}

TEST(StrBetween, TakesTheFirstPairOnly) {
    struct Case {
        std::string text, removed, between;
    };
    const std::vector<Case> cases = {
        {"a<x1>", "a", "x1"},
        {"<x>ba<y>", "ba<y>", "x"},
        {"a>b<c", "a>b<c", ""},  // a close before the open does not count
        {"a<open", "a<open", ""},
        {"<>", "", ""},
        {"plain", "plain", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(removeStrBetween(c.text, "<", ">"), c.removed) << c.text;
        EXPECT_EQ(getStrBetween(c.text, "<", ">"), c.between) << c.text;
    }
    EXPECT_EQ(removeStrBetween("a<b>", "", ">"), "a<b>");
    EXPECT_EQ(getStrBetween("a[[b]]c", "[[", "]]"), "b");
}
