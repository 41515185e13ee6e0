#include <gtest/gtest.h>

#include "voicebank/package/UnitIndex.h"

namespace {

using Halvoren::UnitIndex;

struct Stored {
    std::string pitch;
    std::int32_t offset;
};

UnitIndex unitWith(const std::vector<Stored>& variants)
{
    UnitIndex index;
    for (const Stored& v : variants)
        Halvoren::addVariant(index, "la", v.pitch, v.offset, v.offset / 10);
    return index;
}

TEST(NearestVariant, CloserWinsAndOnATieTheNoteBelow)
{
    struct Case {
        std::vector<Stored> stored;
        std::string wanted;
        std::string pitch;
        std::int32_t offset;
    };
    const Case cases[] = {
        {{{"G3", 10}, {"C4", 20}, {"F4", 30}}, "D4", "C4", 20},   // 2 from C4, 3 from F4
        {{{"G3", 10}, {"C4", 20}, {"F4", 30}}, "D#4", "F4", 30},  // 3 from C4, 2 from F4
        {{{"C4", 10}, {"D4", 20}}, "C#4", "C4", 10},              // one each way: the one below
        {{{"D4", 10}, {"C4", 20}}, "C#4", "C4", 20},              // stored order does not matter
        {{{"C4", 10}, {"C4", 20}}, "D4", "C4", 20},               // equal notes below: the last
        {{{"E4", 10}, {"E4", 20}}, "D4", "E4", 10},               // equal notes above: the first
        {{{"Bb4", 10}}, "Bb4", "A#4", 10},                        // sharps only
        {{{"C4", 10}}, "C4", "C4", 10},
    };
    for (const Case& c : cases) {
        const UnitIndex index = unitWith(c.stored);
        std::int32_t offset = -1;
        std::int32_t part = -1;
        EXPECT_EQ(Halvoren::findNearestVariant(index, "la", c.wanted, offset, part), c.pitch) << c.wanted;
        EXPECT_EQ(offset, c.offset) << c.wanted;
        EXPECT_EQ(part, c.offset / 10) << c.wanted;
    }
}

TEST(NearestVariant, AnUnknownUnitLeavesTheOutputsAlone)
{
    const UnitIndex index = unitWith({{"C4", 10}});
    std::int32_t offset = 77;
    std::int32_t part = 88;
    EXPECT_EQ(Halvoren::findNearestVariant(index, "ka", "C4", offset, part), "");
    EXPECT_EQ(Halvoren::findNearestVariant(index, "La", "C4", offset, part), "");  // case-sensitive
    EXPECT_EQ(offset, 77);
    EXPECT_EQ(part, 88);
}

}  // namespace
