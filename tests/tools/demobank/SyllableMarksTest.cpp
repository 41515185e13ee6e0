#include <gtest/gtest.h>

#include <stdexcept>

#include "SyllableMarks.h"

namespace {

using demobank::PhonemeEvent;

struct MarkCase {
    const char* what;
    std::vector<PhonemeEvent> events;
    bool hasInitial, nasalFinal;
    std::size_t voicedUpTo;  // frames 0 .. voicedUpTo - 1 are voiced, of 240
    demobank::SyllableMarks expected;
};

TEST(SyllableMarks, PlacesFromThePhonemeEvents)
{
    const MarkCase cases[] = {
        // "lan" at 44100 Hz: l@0 a@6526 n@20064 _|@27296 -> frames 0, 51 (50.98),
        // 157 (156.75), 213 (213.25). c = 157: param3 = 51 + round(0.2 * 106) = 72,
        // param4 = 51 + round(0.7 * 106) = 125, param5 = 213 - 125 = 88.
        {"lan", {{"l", 0}, {"a", 6526}, {"n", 20064}, {"_|", 27296}}, true, true, 240, {0, 51, 72, 125, 88}},
        // The same without the nasal coda: c = e = 213: 51 + round(32.4) = 83,
        // 51 + round(113.4) = 164, 213 - 164 = 49.
        {"la", {{"l", 0}, {"a", 6526}, {"_|", 27296}}, true, false, 240, {0, 51, 83, 164, 49}},
        // "_|" after the voicing ends: e moves back to the last voiced frame 199:
        // 51 + round(29.6) = 81, 51 + round(103.6) = 155, 199 - 155 = 44.
        {"la voiced to 199", {{"l", 0}, {"a", 6526}, {"_|", 27296}}, true, false, 200, {0, 51, 81, 155, 44}},
        // A bare final: endPos = beginPos = 0; 0.2 * 150 = 30, 0.7 * 150 = 105, 150 - 105 = 45.
        {"ai", {{"ai", 0}, {"_|", 19200}}, false, false, 240, {0, 0, 30, 105, 45}},
        // "wo": "w" is a consonant but the split gives no initial: endPos stays at beginPos.
        {"wo no initial", {{"w", 0}, {"o", 8290}, {"_|", 19200}}, false, false, 240, {0, 0, 30, 105, 45}},
        // "tian": th@3086 iE@5512 n@21256 _|@28620 -> 24 (24.1), 43 (43.06), 166 (166.06),
        // 224 (223.6). 43 + round(0.2 * 123 = 24.6) = 68, 43 + round(86.1) = 129, 224 - 129 = 95.
        {"tian", {{"th", 3086}, {"iE", 5512}, {"n", 21256}, {"_|", 28620}}, true, true, 240, {24, 43, 68, 129, 95}},
        // "ha" with the velar fricative "X": X@926 A@9260 _|@28884 -> 7, 72 (72.3),
        // 226 (225.7). 72 + round(0.2 * 154 = 30.8) = 103, 72 + round(107.8) = 180, 226 - 180 = 46.
        {"ha", {{"X", 926}, {"A", 9260}, {"_|", 28884}}, true, false, 240, {7, 72, 103, 180, 46}},
    };
    for (const MarkCase& c : cases) {
        std::vector<bool> voiced(240, false);
        std::fill(voiced.begin(), voiced.begin() + static_cast<long>(c.voicedUpTo), true);
        const demobank::SyllableMarks m = demobank::syllableMarks(c.what, c.events, c.hasInitial, c.nasalFinal, voiced);
        EXPECT_EQ(m.beginPos, c.expected.beginPos) << c.what;
        EXPECT_EQ(m.endPos, c.expected.endPos) << c.what;
        EXPECT_EQ(m.param3, c.expected.param3) << c.what;
        EXPECT_EQ(m.param4, c.expected.param4) << c.what;
        EXPECT_EQ(m.param5, c.expected.param5) << c.what;
    }
}

TEST(SyllableMarks, StopsNamingTheSyllable)
{
    const std::vector<bool> voiced(240, true);
    const std::vector<bool> silent(240, false);
    struct Bad {
        const char* what;
        std::vector<PhonemeEvent> events;
        const std::vector<bool>* voiced;
    };
    const Bad bad[] = {
        {"noevents", {}, &voiced},
        {"unvoiced", {{"a", 0}, {"_|", 19200}}, &silent},
        // "_|" at frame 11: param3 = round(2.2) = 2, param4 = round(7.7) = 8: 6 frames < 8.
        {"short", {{"a", 0}, {"_|", 1408}}, &voiced},
    };
    for (const Bad& b : bad) {
        try {
            demobank::syllableMarks(b.what, b.events, false, false, *b.voiced);
            ADD_FAILURE() << b.what << " was accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(b.what), std::string::npos) << e.what();
        }
    }
}

}  // namespace
