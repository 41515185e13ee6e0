#include <gtest/gtest.h>

#include <string>

#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/BankWriterV6.h"
#include "voicebank/NoteName.h"
#include "voicebank/v3/SourceStorePackager.h"
#include "voicebank/v3/SrcCache.h"
#include "voicebank/v4/SourceStorePackager.h"
#include "voicebank/v4/SrcCache.h"
#include "voicebank/v6/SourceStorePackager.h"
#include "voicebank/v6/SrcCache.h"

namespace {

// A source store over a packager: a record is served only when the unit has
// a variant at exactly the asked semitone. Counts the loads it makes.
template <class Packager>
struct ExactPitchStore {
    const Packager& package;
    int loads = 0;

    template <class Load>
    auto serve(const std::string& unit, const std::string& pitch, Load load) -> decltype(load(0, 0))
    {
        std::int32_t offset = 0;
        std::int32_t part = 0;
        const std::string found = package.findRecordKey(unit, pitch, offset, part);
        if (found.empty() || parseNoteName(found) != parseNoteName(pitch))
            return nullptr;
        ++loads;
        return load(offset, part);
    }
    auto getVoiceSrc(const std::string& u, const std::string& p)
    {
        return serve(u, p, [&](std::int32_t o, std::int32_t part) { return package.loadVoiceSrc(u, p, o, part); });
    }
    auto getSrcParameter(const std::string& u, const std::string& p)
    {
        return serve(u, p, [&](std::int32_t o, std::int32_t part) { return package.loadSrcParameter(u, p, o, part); });
    }
    auto getContinuantSrc(const std::string& u, const std::string& p)
    {
        return serve(u, p,
                     [&](std::int32_t o, std::int32_t part) { return package.loadContinuantSrc(u, p, o, part); });
    }
    auto getSrcContinuantParameter(const std::string& u, const std::string& p)
    {
        return serve(u, p, [&](std::int32_t o, std::int32_t part) {
            return package.loadSrcContinuantParameter(u, p, o, part);
        });
    }
};

// Asks every kind twice, once at a pitch the bank lacks, and checks what
// each generation's cache hands out.
template <class Cache, class Packager>
void expectCacheServes(const Packager& package, const std::string& generation)
{
    ExactPitchStore<Packager> store{package};
    Cache cache;
    auto* voice = cache.getVoiceSrc(store, "la", "A#4");
    ASSERT_NE(voice, nullptr) << generation;
    ASSERT_NE(voice->material, nullptr) << generation;
    EXPECT_EQ(cache.getVoiceSrc(store, "la", "A#4"), voice) << generation;
    EXPECT_EQ(cache.voiceSrcs.find("la_A#4"), voice) << generation;
    EXPECT_NE(cache.getSrcParameter(store, "la", "A#4"), nullptr) << generation;
    auto* continuant = cache.getContinuantSrc(store, "a", "l", "A#4");
    ASSERT_NE(continuant, nullptr) << generation;
    EXPECT_EQ(continuant->name, "a_l") << generation;
    EXPECT_EQ(cache.getContinuantSrc(store, "a", "l", "A#4"), continuant) << generation;
    EXPECT_NE(cache.getSrcContinuantParameter(store, "a", "l", "A#4"), nullptr) << generation;
    EXPECT_EQ(store.loads, 4) << generation;
    // B4 is a semitone off the only variant: nothing is served or kept.
    EXPECT_EQ(cache.getVoiceSrc(store, "la", "B4"), nullptr) << generation;
    EXPECT_EQ(cache.voiceSrcs.size(), 1u) << generation;
}

TEST(BankCaches, EachGenerationServesRecordsFromAWrittenBank)
{
    const std::string ghr = testbank::ghrModelBytes({testbank::PlainFrame{}});
    {
        testbank::BankDescription bank;
        bank.ext2 = true;
        bank.variants = {{"la", "Bb4", 0, testbank::v3VoiceRecord({}, ghr)},
                         {"a_l", "Bb4", 1, testbank::v3ContinuantRecord(0, 1, 256, ghr)}};
        testbank::PackageOnDisk<HalvorenEngineV3::SourceStorePackager> disk("cache_v3");
        expectCacheServes<HalvorenEngineV3::SrcCache>(disk.open(testbank::writePackage(bank)), "v3");
        EXPECT_EQ(disk.log.str(), "");
    }
    {
        testbank::BankDescription bank;
        bank.ext2 = bank.ext4 = true;
        bank.variants = {{"la", "Bb4", 0, testbank::v4VoiceRecord({}, ghr)},
                         {"a_l", "Bb4", 0, testbank::v4ContinuantRecord({}, ghr)}};
        testbank::PackageOnDisk<HalvorenEngineV4::SourceStorePackager> disk("cache_v4");
        expectCacheServes<HalvorenEngineV4::SrcCache>(disk.open(testbank::writePackage(bank)), "v4");
        EXPECT_EQ(disk.log.str(), "");
    }
    {
        const std::string model = testbank::compactModelBytes(testbank::CompactModel{});
        testbank::BankDescriptionV6 bank;
        bank.variants = {{"la", "Bb4", 0, testbank::v6VoiceRecord({}, model)},
                         {"a_l", "Bb4", 2, testbank::v6ContinuantRecord({}, model)}};
        testbank::PackageOnDisk<HalvorenEngineV6::SourceStorePackager> disk("cache_v6");
        expectCacheServes<HalvorenEngineV6::SrcCache>(disk.open(testbank::writePackageV6(bank)), "v6");
        EXPECT_EQ(disk.log.str(), "");
    }
}

}  // namespace
