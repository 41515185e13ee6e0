#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "voicebank/package/CommonMapStore.h"
#include "voicebank/package/SrcCache.h"

namespace {

// A record that counts the live instances, so a leak or a double free shows.
struct Counted {
    explicit Counted(std::string n, int* liveCount) : name(std::move(n)), live(liveCount) { ++*live; }
    virtual ~Counted() { --*live; }
    std::string name;
    int* live;
};
struct Voice : Counted {
    using Counted::Counted;
};
struct Continuant : Counted {
    using Counted::Counted;
};
struct Param : Counted {
    using Counted::Counted;
};
struct ContParam : Counted {
    using Counted::Counted;
};

using Cache = Halvoren::BasicSrcCache<Voice, Continuant, Param, ContParam>;

// Serves "unit@pitch" for the pairs it holds and writes down every request.
struct CountingStore {
    std::vector<std::string> units;  // "unit@pitch" served
    std::vector<std::string> asked;
    int live = 0;

    template <class T>
    std::unique_ptr<T> serve(const char* kind, const std::string& unit, const std::string& pitch)
    {
        const std::string key = unit + "@" + pitch;
        asked.push_back(std::string(kind) + " " + key);
        for (const std::string& u : units)
            if (u == key)
                return std::make_unique<T>(key, &live);
        return nullptr;
    }
    std::unique_ptr<Voice> getVoiceSrc(const std::string& u, const std::string& p) { return serve<Voice>("voice", u, p); }
    std::unique_ptr<Param> getSrcParameter(const std::string& u, const std::string& p) { return serve<Param>("param", u, p); }
    std::unique_ptr<Continuant> getContinuantSrc(const std::string& u, const std::string& p)
    {
        return serve<Continuant>("cont", u, p);
    }
    std::unique_ptr<ContParam> getSrcContinuantParameter(const std::string& u, const std::string& p)
    {
        return serve<ContParam>("contparam", u, p);
    }
};

TEST(SrcCache, AskingTwiceLoadsOnceAndGivesTheSameRecord)
{
    CountingStore store;
    store.units = {"la@C4", "a_i@C4"};
    Cache cache;
    Voice* first = cache.getVoiceSrc(store, "la", "C4");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.getVoiceSrc(store, "la", "C4"), first);
    Param* param = cache.getSrcParameter(store, "la", "C4");
    ASSERT_NE(param, nullptr);
    EXPECT_EQ(cache.getSrcParameter(store, "la", "C4"), param);
    ContParam* cp = cache.getSrcContinuantParameter(store, "a", "i", "C4");
    ASSERT_NE(cp, nullptr);
    EXPECT_EQ(cache.getSrcContinuantParameter(store, "a", "i", "C4"), cp);
    EXPECT_EQ(store.asked, (std::vector<std::string>{"voice la@C4", "param la@C4", "contparam a_i@C4"}));
    EXPECT_EQ(cache.voiceSrcs.find("la_C4"), first);
    EXPECT_EQ(cache.srcParameters.find("la_C4"), param);
}

TEST(SrcCache, AMissingUnitIsAskedAgainAndNeverStored)
{
    CountingStore store;
    Cache cache;
    EXPECT_EQ(cache.getVoiceSrc(store, "xa", "C4"), nullptr);
    EXPECT_EQ(cache.getVoiceSrc(store, "xa", "C4"), nullptr);
    EXPECT_EQ(cache.getContinuantSrc(store, "x", "a", "C4"), nullptr);
    EXPECT_EQ(store.asked, (std::vector<std::string>{"voice xa@C4", "voice xa@C4", "cont x_a@C4"}));
    EXPECT_EQ(cache.voiceSrcs.size(), 0u);
    EXPECT_EQ(cache.continuantSrcs.size(), 0u);
}

TEST(SrcCache, ContinuantsAreKeyedFirstSecondPitchAndLoadedAsFirstSecond)
{
    CountingStore store;
    store.units = {"a_i@C4"};
    Cache cache;
    Continuant* c = cache.getContinuantSrc(store, "a", "i", "C4");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->name, "a_i@C4");
    EXPECT_EQ(store.asked, std::vector<std::string>{"cont a_i@C4"});
    EXPECT_EQ(cache.continuantSrcs.find("a_i_C4"), c);
}

TEST(SrcCache, ClearAndTheDestructorFreeEveryRecord)
{
    CountingStore store;
    store.units = {"la@C4", "a_i@C4"};
    {
        Cache cache;
        cache.getVoiceSrc(store, "la", "C4");
        cache.getSrcParameter(store, "la", "C4");
        cache.getContinuantSrc(store, "a", "i", "C4");
        cache.getSrcContinuantParameter(store, "a", "i", "C4");
        EXPECT_EQ(store.live, 4);
        cache.voiceSrcs.clear();
        EXPECT_EQ(store.live, 3);
        EXPECT_EQ(cache.voiceSrcs.find("la_C4"), nullptr);
    }
    EXPECT_EQ(store.live, 0);
}

TEST(CommonMapStore, ASecondInsertKeepsTheFirstAndFreesTheNewOne)
{
    int live = 0;
    std::ostringstream log;
    Halvoren::CommonMapStore<Voice> records(log);
    Voice* first = records.insert("la_C4", std::make_unique<Voice>("first", &live));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(log.str(), "");
    Voice* kept = records.insert("la_C4", std::make_unique<Voice>("second", &live));
    EXPECT_EQ(kept, first);
    EXPECT_EQ(log.str(), "fail to insert value : la_C4\n");
    EXPECT_EQ(records.find("la_C4")->name, "first");
    EXPECT_EQ(live, 1);
    EXPECT_EQ(records.find("la_C5"), nullptr);
    EXPECT_EQ(records.insert("x", nullptr), nullptr);
    EXPECT_EQ(records.size(), 1u);
}

}  // namespace
