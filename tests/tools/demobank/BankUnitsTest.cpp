#include <gtest/gtest.h>

#include "BankUnits.h"
#include "lyrics/ChnSymbolMgr.h"

namespace {

std::string unitsText(const demobank::BankUnits& u)
{
    std::string out;
    for (const demobank::UnitRecord& r : u.units)
        out += r.unit + (r.symbol != r.unit ? "/" + r.symbol : "") + " ";
    return out;
}

std::string continuantsText(const demobank::BankUnits& u)
{
    std::string out;
    for (const demobank::ContinuantRecord& c : u.continuants)
        out += c.key + "(" + c.first + c.second + (c.unvoicedInitial ? ",unvoiced" : ",voiced") + ") ";
    return out;
}

struct Case {
    const char* what;
    std::vector<std::string> syllables;
    const char* units;
    const char* continuants;
};

// Keys are the unit's final and the next onset after the consonant
// substitution, which sings an aspirated initial from its plain partner
// (t -> d); "yun" splits into "yv" + "vn", "ri" into "r" + the apical "r".
TEST(BankUnits, NamesEveryFinalIntoEveryOnset)
{
    const Case cases[] = {
        {"finals a, ian, vn, ai, r; onsets l, d, yv, r (a bare final has none)",
         {"la", "tian", "yun", "ai", "ri"},
         "la tian yun ai ri ",
         "a_l(lala,voiced) a_d(latian,unvoiced) a_yv(layun,voiced) a_r(lari,voiced) "
         "ian_l(tianla,voiced) ian_d(tiantian,unvoiced) ian_yv(tianyun,voiced) ian_r(tianri,voiced) "
         "vn_l(yunla,voiced) vn_d(yuntian,unvoiced) vn_yv(yunyun,voiced) vn_r(yunri,voiced) "
         "ai_l(aila,voiced) ai_d(aitian,unvoiced) ai_yv(aiyun,voiced) ai_r(airi,voiced) "
         "r_l(rila,voiced) r_d(ritian,unvoiced) r_yv(riyun,voiced) r_r(riri,voiced) "},
        // "da" says the group's own consonant and takes over from "tian".
        {"an onset spoken as itself wins over a member of its group", {"tian", "da"}, "tian da ",
         "ian_d(tianda,unvoiced) a_d(dada,unvoiced) "},
        // "yi" is no bare final: its unit is itself, its onset "yi".
        {"a zero-initial spelling", {"yi", "a"}, "yi a ", "i_yi(yiyi,voiced) a_yi(ayi,voiced) "},
        {"no syllables", {}, "", ""},
    };
    for (const Case& c : cases) {
        Halvoren::ChnSymbolMgr symbols;
        const demobank::BankUnits units = demobank::bankUnits(symbols, c.syllables);
        EXPECT_EQ(unitsText(units), c.units) << c.what;
        EXPECT_EQ(continuantsText(units), c.continuants) << c.what;
    }
}

}  // namespace
