#include <gtest/gtest.h>

#include "model/current/TempoMap.h"

using namespace HVCurrentModel;

namespace {

// Owns the markers of a tempo list built in a test.
struct TempoList {
    std::vector<Tempo> owned;
    std::vector<Tempo*> list;
    TempoList(std::initializer_list<Tempo> markers) : owned(markers)
    {
        for (Tempo& t : owned) list.push_back(&t);
    }
};

}  // namespace

TEST(TempoMap, ConversionsBothWays)
{
    TempoMap map;
    EXPECT_EQ(map.tickToSec(1920), 0.0f);
    EXPECT_EQ(map.secToTick(3.0f), 0);

    TempoList two{{0, 12000}, {1920, 6000}};
    map.update(two.list);
    EXPECT_EQ(map.seconds(), (std::vector<float>{0.0f, 2.0f}));
    EXPECT_EQ(map.tickToSec(480), 0.5f);
    EXPECT_EQ(map.tickToSec(2400), 3.0f);
    EXPECT_EQ(map.secToTick(1.0f), 960);
    EXPECT_EQ(map.secToTick(2.0f), 1920);

    // The time is held as a float and the way back truncates.
    EXPECT_EQ(map.secToTick(map.tickToSec(17)), 16);
    EXPECT_EQ(map.secToTick(0.5f - 1e-6f), 479);
    TempoList fast{{0, 15000}};
    map.update(fast.list);
    EXPECT_EQ(map.secToTick(0.3f), 360);
}

TEST(TempoMap, EdgesOfTheMarkerList)
{
    // Before the first marker its tempo is extrapolated backwards.
    TempoList late{{480, 12000}};
    TempoMap map(late.list);
    EXPECT_EQ(map.tickToSec(0), -0.5f);
    EXPECT_EQ(map.secToTick(-0.5f), 0);
    EXPECT_EQ(map.secToTick(-1.0f), -480);

    // Of two markers on one tick the later one wins.
    TempoList equal{{0, 12000}, {960, 6000}, {960, 24000}};
    map.update(equal.list);
    EXPECT_EQ(map.seconds(), (std::vector<float>{0.0f, 1.0f, 1.0f}));
    EXPECT_EQ(map.tickToSec(1440), 1.25f);
    EXPECT_EQ(map.secToTick(1.25f), 1440);
}

TEST(TempoMap, TempoOfZeroOrBelowCountsAs120Bpm)
{
    TempoList list{{0, 0}, {960, -6000}, {1920, 6000}};
    TempoMap map(list.list);
    EXPECT_EQ(map.seconds(), (std::vector<float>{0.0f, 1.0f, 2.0f}));
    EXPECT_EQ(map.secToTick(1.5f), 1440);
    EXPECT_EQ(map.tickToSec(2400), 3.0f);
    EXPECT_EQ(list.list[0]->tempo, 0);  // kept as stored
}

TEST(TempoMap, RebuildsOnlyWhenPositionsOrTemposChange)
{
    TempoList list{{0, 12000}, {1920, 6000}, {3840, 6000}};
    TempoMap map(list.list);
    map.update(list.list);
    list.list[1]->selected = true;
    map.update(list.list);
    EXPECT_EQ(map.rebuildCount(), 1u);

    list.list[1]->tempo = 12000;
    map.update(list.list);
    EXPECT_EQ(map.tickToSec(2400), 2.5f);
    list.list[1]->pos = 960;
    map.update(list.list);
    list.list.pop_back();
    map.update(list.list);
    EXPECT_EQ(map.rebuildCount(), 4u);
}
