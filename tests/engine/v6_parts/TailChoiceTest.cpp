#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/v6/TailChoice.h"
#include "lyrics/v6/CVVCMgr.h"

using HalvorenEngineV6::CellRecord;
using HalvorenEngineV6::chooseTail;
using HalvorenEngineV6::TailTarget;

TEST(TailChoice, ModeByTheJoinAndTheRecordsThere)
{
    HalvorenEngineV6::CVVCMgr symbols;
    symbols.parseTable("ka,k,a;ma,m,a|m||a,a|br1");
    struct Case {
        const char* name;
        bool transition;
        std::string nextSymbol, nextInitial;
        bool hold;
        std::set<std::string> continuants;
        int mode;
        TailTarget target;
        bool keepLength;
    };
    const Case cases[] = {
        {"free end with a_-", false, "", "", false, {"a_-"}, 1, TailTarget::None, false},
        {"free end without records", false, "", "", false, {}, 0, TailTarget::None, false},
        {"into a final", true, "a", "", false, {}, 3, TailTarget::NextUnitHeadEnd, false},
        {"into a final through a_", true, "a", "", false, {"a_"}, 2, TailTarget::NextSyllableHeadEnd, false},
        {"into voiced m", true, "ma", "m", false, {"a_m"}, 2, TailTarget::NextSyllableStart, false},
        {"into voiced m, held", true, "ma", "m", true, {"a_m"}, 1, TailTarget::None, true},
        {"into unvoiced k", true, "ka", "k", false, {"a_k"}, 1, TailTarget::None, false},
        {"into k without a_k", true, "ka", "k", false, {"a_-"}, 1, TailTarget::None, false},
        {"into k without records", true, "ka", "k", false, {}, 0, TailTarget::None, false},
    };
    for (const Case& c : cases) {
        CellRecord cell;
        cell.names.final = "a";
        cell.names.nextSymbol = c.nextSymbol;
        cell.names.nextInitial = c.nextInitial;
        cell.transition = c.transition ? 1 : 0;
        cell.hold = c.hold ? 1 : 0;
        const auto choice = chooseTail(cell, symbols, [&](const std::string& first, const std::string& second) {
            return c.continuants.count(first + "_" + second) != 0;
        });
        EXPECT_EQ(choice.mode, c.mode) << c.name;
        EXPECT_EQ(choice.target, c.target) << c.name;
        EXPECT_EQ(choice.keepLength, c.keepLength) << c.name;
        EXPECT_EQ(choice.hasContinuant, !c.continuants.empty()) << c.name;
    }
}
