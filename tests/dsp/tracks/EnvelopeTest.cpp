#include <gtest/gtest.h>

#include "dsp/GammatoneVector.h"
#include "dsp/LinearEnvelope.h"
#include "dsp/OwnedRecords.h"

using namespace Halvoren;

namespace {

TEST(LinearEnvelope, ExactAtKnotsClampedAtEndsAndRightAfterAStepBack)
{
    GammatoneVector x;
    x.values = {1.0f, 2.0f, 4.0f};
    FastVector<float> y(512);
    y.resize(3);
    y[0] = 10.0f;
    y[1] = 20.0f;
    y[2] = 0.0f;
    LinearEnvelope env;
    env.setPoints(x, y);
    struct Case {
        float x, want;
    };
    // Between 2 (20) and 4 (0): 3 gives 10. Going back from 3 to 1.5 gives 15.
    const Case sweep[] = {{0.0f, 10.0f}, {1.0f, 10.0f}, {2.0f, 20.0f}, {3.0f, 10.0f}, {4.0f, 0.0f},
                          {9.0f, 0.0f},  {3.5f, 5.0f},  {1.5f, 15.0f}, {2.5f, 15.0f}};
    for (const Case& c : sweep)
        EXPECT_FLOAT_EQ(env.valueAt(c.x), c.want) << c.x;

    // setValues replaces ys over the shorter length; setPoints from a shorter y
    // keeps only the pairs both hold.
    GammatoneVector twice;
    twice.values = {40.0f, 50.0f};
    env.setValues(twice);
    EXPECT_FLOAT_EQ(env.valueAt(1.5f), 45.0f);
    EXPECT_FLOAT_EQ(env.valueAt(4.0f), 0.0f);
    env.setPointsFromBands(x, twice);
    EXPECT_EQ(env.size(), 2u);
    EXPECT_FLOAT_EQ(env.valueAt(4.0f), 50.0f);
    LinearEnvelope none;
    EXPECT_EQ(none.valueAt(1.0f), 0.0f);
}

TEST(GammatoneVector, SubtractWorksOverTheShorterLength)
{
    GammatoneVector a, b;
    a.values = {5.0f, 5.0f, 5.0f};
    b.values = {1.0f, 2.0f};
    a.subtract(b);
    EXPECT_EQ(a.values, (std::vector<float>{4.0f, 3.0f, 5.0f}));
    b.subtract(a);
    EXPECT_EQ(b.values, (std::vector<float>{-3.0f, -1.0f}));
    a.scale(2.0f);
    EXPECT_EQ(a.values, (std::vector<float>{8.0f, 6.0f, 10.0f}));
    a.assign(GammatoneVector());
    EXPECT_TRUE(a.values.empty());
}

struct KeyedEntry {
    float key;
};

TEST(OwnedRecords, FindEntryForKeyTakesTheNearestKeyAndTheLowerOnATie)
{
    std::vector<std::unique_ptr<KeyedEntry>> entries;
    for (float k : {1.0f, 2.0f, 4.0f})
        entries.push_back(std::make_unique<KeyedEntry>(KeyedEntry{k}));
    struct Case {
        float x, key;
    };
    const Case cases[] = {{0.0f, 1.0f}, {1.4f, 1.0f}, {1.5f, 1.0f}, {2.9f, 2.0f},
                          {3.1f, 4.0f}, {3.0f, 2.0f}, {9.0f, 4.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(findEntryForKey(entries, c.x)->key, c.key) << c.x;
    EXPECT_EQ(findEntryForKey(std::vector<std::unique_ptr<KeyedEntry>>(), 1.0f), nullptr);
}

}  // namespace
