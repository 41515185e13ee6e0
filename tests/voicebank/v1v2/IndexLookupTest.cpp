// The plain index of the first two generations: the nearest variant (the
// earlier one wins a tie), the variant limit, a missing or cut index.
#include <gtest/gtest.h>

#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/HprBankWriter.h"
#include "voicebank/v1/SourceStorePackager.h"
#include "voicebank/v2/SourceStorePackager.h"

namespace {

testbank::PackageFiles indexOf(int generation, const std::vector<std::pair<std::string, std::string>>& variants)
{
    testbank::HprBankDescription bank;
    bank.generation = generation;
    for (const auto& [unit, pitch] : variants)
        bank.variants.push_back({unit, pitch, 0, "xxxx"});  // 8 content bytes each: offsets 0, 8, 16, ...
    return testbank::writeHprPackage(bank);
}

template <class Packager>
void expectNearest(const char* tag, int generation)
{
    testbank::PackageOnDisk<Packager> disk(tag);
    const auto& package =
        disk.open(indexOf(generation, {{"ma", "C4"}, {"ma", "E4"}, {"ma", "G4"}, {"la", "D4"}, {"la", "C4"},
                                       {"ka", "Bb4"}}));
    struct Case {
        const char* unit;
        const char* wanted;
        const char* pitch;
        std::int32_t offset;
    };
    const Case cases[] = {
        {"ma", "D4", "C4", 0},    // two semitones from C4 and E4: the earlier stays
        {"ma", "Db4", "C4", 0},   // one above C4
        {"ma", "Bb3", "C4", 0},   // two below C4
        {"ma", "F#4", "G4", 16},  // one below G4
        {"la", "C#4", "D4", 24},  // D4 stored before C4, one from each
        {"ka", "Bb4", "A#4", 40}, // sharps only
    };
    for (const Case& c : cases) {
        std::int32_t offset = -7;
        EXPECT_EQ(package.findRecordKey(c.unit, c.wanted, offset), c.pitch) << c.unit << " " << c.wanted;
        EXPECT_EQ(offset, c.offset) << c.unit << " " << c.wanted;
    }
    std::int32_t offset = -7;
    EXPECT_EQ(package.findRecordKey("pa", "C4", offset), "");
    EXPECT_EQ(package.findRecordKey("Ma", "C4", offset), "");  // case-sensitive
    EXPECT_EQ(offset, -7);
}

TEST(HprIndex, NearestVariantKeepsTheEarlierOnATie)
{
    expectNearest<Halvoren::SourceStorePackager_v1>("hpr_nearest_v1", 1);
    expectNearest<HalvorenEngineV2::SourceStorePackager>("hpr_nearest_v2", 2);
}

TEST(HprIndex, ANinthVariantIsDropped)
{
    std::vector<std::pair<std::string, std::string>> variants;
    for (const char* pitch : {"C3", "D3", "E3", "F3", "G3", "A3", "B3", "C4", "D4"})
        variants.emplace_back("ma", pitch);
    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_ninth");
    const auto& package = disk.open(indexOf(1, variants));
    EXPECT_EQ(package.index().unitIndex.at("ma").count(), 8);
    std::int32_t offset = -1;
    EXPECT_EQ(package.findRecordKey("ma", "D4", offset), "C4");  // D4 was the ninth
    EXPECT_EQ(offset, 56);
}

TEST(HprIndex, AMissingIndexSaysSoAndIndexesNothing)
{
    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_missing");
    testbank::writeFile(disk.folder / "HVC", "");
    const auto& package = disk.reopen();
    const std::string path = testbank::packageBasePath(disk.folder) + "HVI";
    EXPECT_EQ(disk.log.str(), "fail to read package index file " + path + ": cannot be read\n");
    EXPECT_TRUE(package.index().unitIndex.empty());
    EXPECT_EQ(package.header().hopSize, 0);
}

TEST(HprIndex, ACutIndexKeepsTheWholeRecordsBeforeTheCut)
{
    const std::string whole = indexOf(2, {{"ma", "A3"}, {"la", "C4"}}).index;
    // 44 header bytes, then two records of 4 + 16 bytes.
    ASSERT_EQ(whole.size(), 84u);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        testbank::PackageOnDisk<HalvorenEngineV2::SourceStorePackager> disk("hpr_cut");
        const auto& package = disk.openIndex(whole.substr(0, cut));
        const std::size_t units = cut >= 84 ? 2 : cut >= 64 ? 1 : 0;
        EXPECT_EQ(package.index().unitIndex.size(), units) << "cut at " << cut;
        // A cut at a record's end leaves a whole, shorter index; any other
        // says where the bytes stop.
        const std::size_t record = cut < 64 ? 44 : 64;
        std::string wrong = cut == 0 ? "empty"
                            : cut < 44 ? "ends inside its header (" + std::to_string(cut) + " bytes)"
                            : cut < record + 4
                                ? "ends inside the length of the record at byte " + std::to_string(record)
                                : "the record at byte " + std::to_string(record) +
                                      " claims 16 bytes, past the end at byte " + std::to_string(cut);
        if (cut == 44 || cut == 64)
            wrong.clear();
        const std::string path = testbank::packageBasePath(disk.folder) + "HVI";
        EXPECT_EQ(disk.log.str().find("fail to read package index file " + path + ": " + wrong + "\n") !=
                      std::string::npos,
                  !wrong.empty())
            << "cut at " << cut;
        EXPECT_EQ(package.indexFault(), wrong) << "cut at " << cut;
    }
}

}  // namespace
