#include <gtest/gtest.h>

#include "SongUnits.h"
#include "lyrics/ChnSymbolMgr.h"

namespace {

struct Sung {
    const char* symbol;
    float start, duration;
};

HalvorenEngine::SynthScoreV3 scoreOf(std::initializer_list<Sung> notes)
{
    HalvorenEngine::SynthScoreV3 score;
    for (const Sung& s : notes) {
        HalvorenEngine::SynthNoteV3 n;
        n.symbol = s.symbol;
        n.start = s.start;
        n.duration = s.duration;
        score.notes.push_back(n);
    }
    return score;
}

std::string unitsText(const demobank::SongUnits& u)
{
    std::string out;
    for (const demobank::UnitRecord& r : u.units)
        out += r.unit + (r.symbol != r.unit ? "/" + r.symbol : "") + " ";
    return out;
}

std::string continuantsText(const demobank::SongUnits& u)
{
    std::string out;
    for (const demobank::ContinuantRecord& c : u.continuants)
        out += c.key + "(" + c.first + c.second + (c.unvoicedInitial ? ",unvoiced" : ",voiced") + ") ";
    return out;
}

struct Case {
    const char* what;
    HalvorenEngine::SynthScoreV3 score;
    const char* units;
    const char* continuants;
};

// Keys are the unit's final and the next initial after the consonant
// substitution, which sings an aspirated initial from its plain partner
// (t -> d, p -> b); "yun" splits into "yv" + "vn".
TEST(SongUnits, NamesWhatTheCellLoopAsksFor)
{
    const Case cases[] = {
        {"the example song: lan-tian-bai-yun-piao, a rest, wo-ai-ni",
         scoreOf({{"lan", 0.0f, 0.5f}, {"tian", 0.5f, 0.5f}, {"bai", 1.0f, 0.5f}, {"yun", 1.5f, 0.5f},
                  {"piao", 2.0f, 1.0f}, {"wo", 4.0f, 0.5f}, {"ai", 4.5f, 0.5f}, {"ni", 5.0f, 1.0f}}),
         "lan tian bai yun piao wo ai ni la ",
         "an_d(lantian,unvoiced) ian_b(tianbai,unvoiced) ai_yv(baiyun,voiced) vn_b(yunpiao,unvoiced) "
         "ai_n(aini,voiced) "},
        // 0.2 s is the longest gap a join bridges.
        {"a gap of 0.3 s joins nothing", scoreOf({{"lan", 0.0f, 0.5f}, {"tian", 0.8f, 0.5f}}), "lan tian la ", ""},
        {"a gap of 0.1 s still joins", scoreOf({{"lan", 0.0f, 0.5f}, {"tian", 0.6f, 0.5f}}), "lan tian la ",
         "an_d(lantian,unvoiced) "},
        {"a join into a bare final needs no continuant", scoreOf({{"wo", 0.0f, 0.5f}, {"ai", 0.5f, 0.5f}}),
         "wo ai la ", ""},
        {"each name once", scoreOf({{"la", 0.0f, 0.5f}, {"ni", 0.5f, 0.5f}, {"la", 1.0f, 0.5f}, {"ni", 1.5f, 0.5f}}),
         "la ni ", "a_n(lani,voiced) i_l(nila,voiced) "},
        {"an empty score still has the default symbol", scoreOf({}), "la ", ""},
    };
    for (const Case& c : cases) {
        Halvoren::ChnSymbolMgr symbols;
        const demobank::SongUnits units = demobank::songUnits(symbols, c.score);
        EXPECT_EQ(unitsText(units), c.units) << c.what;
        EXPECT_EQ(continuantsText(units), c.continuants) << c.what;
    }
}

}  // namespace
