#include "platform/JsonFile.h"

#include <gtest/gtest.h>

#include <string>

TEST(JsonFile, NestingBeyondTheReadersLimitFailsToParse) {
    struct Case {
        std::string text;
        bool parses;
    } const cases[] = {
        {std::string(1001, '['), false},                           // unclosed, deeper than 1000
        {std::string(1001, '[') + std::string(1001, ']'), false},  // closed, deeper than 1000
        {std::string(100, '[') + std::string(100, ']'), true},
        {"{\"a\": [1, 2]}", true},
        {"{\"a\": ", false},
    };
    for (const Case& c : cases) {
        Json::Value out(7);
        bool parsed = false;
        EXPECT_NO_THROW(parsed = parseJson(c.text, out)) << c.text.substr(0, 20);
        EXPECT_EQ(parsed, c.parses) << c.text.substr(0, 20);
        if (!c.parses) {
            EXPECT_TRUE(out.isNull()) << c.text.substr(0, 20);
        }
    }
}

TEST(JsonFile, ValuesBeyondTheBudgetOfTheFileFailToParse) {
    // The first value with the 11 bytes of the text, 128 + 11, and four
    // more opened by "[", ",", "[" and ",": 139 + 4 x 128 = 651 bytes. The
    // "[" and "," inside the string open nothing.
    const std::string text = "[1,[],\"[,\"]";
    ReadLimits limits;
    limits.bytesPerFileByte = 0;
    limits.byteBase = 651;
    Json::Value out;
    EXPECT_TRUE(parseJson(text, out, limits));
    limits.byteBase = 650;
    EXPECT_FALSE(parseJson(text, out, limits));
    EXPECT_TRUE(out.isNull());
}
