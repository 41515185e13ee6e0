#include "LoopFixture.h"
#include "engine/v6/FetchRecords.h"

namespace {

using namespace v6test;
using HalvorenEngineV6::fetchSrcParameter;
using HalvorenEngineV6::fetchVoiceSrc;

// Pitch above 0 at frames 0..9, 0 at 10..14.
std::vector<float> voicedThenSilent()
{
    std::vector<float> track(15, 0.0f);
    for (int i = 0; i < 10; ++i)
        track[i] = 220.0f;
    return track;
}

using FetchTest = LoopTest;

TEST_F(FetchTest, AfterVowelFormComesFirstUnlessExact)
{
    store.units["ka"] = marks(1, 2);
    store.units["-ka"] = marks(3, 4);
    struct Case {
        bool exact;
        const char* found;
    } cases[] = {{false, "-ka"}, {true, "ka"}};
    for (const Case& c : cases) {
        HalvorenEngineV6::VoiceSrc* voice = fetchVoiceSrc("ka", "C4", state, c.exact);
        ASSERT_NE(voice, nullptr) << c.exact;
        EXPECT_EQ(voice->name, c.found) << c.exact;
        HalvorenEngineV6::SrcParameter* parameter = fetchSrcParameter("ka", "C4", state, c.exact);
        ASSERT_NE(parameter, nullptr) << c.exact;
        EXPECT_EQ(parameter->name, c.found) << c.exact;
    }
    // Without the after-vowel form the unit itself is found.
    EXPECT_EQ(fetchVoiceSrc("ma", "C4", state, false), nullptr);
    store.units["ma"] = marks(0, 0);
    ASSERT_NE(fetchVoiceSrc("ma", "C4", state, false), nullptr);
    EXPECT_EQ(fetchVoiceSrc("ma", "C4", state, false)->name, "ma");
}

TEST_F(FetchTest, ContinuantNamesAreNeverFetchedAsUnits)
{
    store.units["a_-"] = marks(0, 0);
    EXPECT_EQ(fetchVoiceSrc("a_-", "C4", state, true), nullptr);
    EXPECT_EQ(fetchSrcParameter("a_-", "C4", state, false), nullptr);
    EXPECT_EQ(store.keyLookups, 0);
}

TEST_F(FetchTest, RecordsAreLoadedOnceAndSharedByTheWalk)
{
    store.units["ka"] = marks(0, 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(fetchVoiceSrc("ka", "C4", state, true), nullptr);
        EXPECT_NE(fetchSrcParameter("ka", "C4", state, true), nullptr);
    }
    EXPECT_EQ(store.voiceLoads, 1);
    EXPECT_EQ(store.parameterLoads, 1);
    // Four joined notes of the same syllable load nothing more.
    score.notes = {note("ka", 0.0f, 0.5f, 0.5f), note("ka", 0.5f, 0.5f, 0.5f), note("ka", 1.0f, 0.5f, 0.5f),
                   note("ka", 1.5f, 0.5f, 0.5f)};
    run();
    EXPECT_EQ(made.size(), 4u);
    EXPECT_EQ(store.voiceLoads, 1);
    EXPECT_EQ(store.parameterLoads, 1);
}

TEST_F(FetchTest, UnvoicedConsonantStartMovesBackOnceToTheVoicedEnd)
{
    store.units["ka"] = marks(14, 20, voicedThenSilent());
    HalvorenEngineV6::VoiceSrc* voice = fetchVoiceSrc("ka", "C4", state, true);
    ASSERT_NE(voice, nullptr);
    // Frame 10 is the first 0 after a voiced frame: 10 + 1.
    EXPECT_EQ(voice->v6Param1, 11);
    EXPECT_EQ(fetchVoiceSrc("ka", "C4", state, true)->v6Param1, 11);
    // The parameter record is another record and stays as stored.
    EXPECT_EQ(fetchSrcParameter("ka", "C4", state, true)->v6Param1, 14);
}

TEST_F(FetchTest, ConsonantStartStaysForOtherUnitsAndTracks)
{
    struct Case {
        const char* what;
        const char* unit;
        std::int32_t mark1;
        std::vector<float> track;
    } cases[] = {
        {"after-vowel form", "-ka", 14, voicedThenSilent()},
        {"breath", "br1", 14, voicedThenSilent()},
        {"vowel", "a", 14, voicedThenSilent()},
        {"voiced consonant", "ma", 14, voicedThenSilent()},
        {"voiced at the mark", "ka", 5, voicedThenSilent()},
        {"nothing voiced before", "ka", 14, std::vector<float>(15, 0.0f)},
        {"mark past the model", "ka", 15, voicedThenSilent()},
        {"mark below 0", "ka", -1, voicedThenSilent()},
    };
    for (const Case& c : cases) {
        HalvorenEngineV6::CellMakerState fresh(44100.0f);
        auto symbols = std::make_unique<HalvorenEngineV6::CVVCMgr>();
        symbols->parseTable(kTable);
        fresh.setSymbols(std::move(symbols));
        store.units.clear();
        store.units[c.unit] = marks(c.mark1, 20, c.track);
        fresh.attachStore(store);
        HalvorenEngineV6::VoiceSrc* voice = fetchVoiceSrc(c.unit, "C4", fresh, true);
        ASSERT_NE(voice, nullptr) << c.what;
        EXPECT_EQ(voice->v6Param1, c.mark1) << c.what;
    }
}

}  // namespace
