// Loading single records of the first two generations: the values, the
// residual taken only as whole samples present, and what cannot be read.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/ByteBuilder.h"
#include "support/bank/PackageOnDisk.h"
#include "tools/bankwriter/HprBankWriter.h"
#include "voicebank/v1/SourceStorePackager.h"
#include "voicebank/v2/SourceStorePackager.h"

namespace {

using namespace std::string_literals;
using testbank::floatBits;

testbank::PackageFiles oneRecord(int generation, const std::string& record)
{
    testbank::HprBankDescription bank;
    bank.generation = generation;
    bank.variants.push_back({"ma", "A3", 0, record});
    return testbank::writeHprPackage(bank);
}

TEST(HprLoaders, SecondGenerationVoiceReadsItsRatiosAndHarmonics)
{
    const std::string record = testbank::hprVoiceRecord<15>(
        {10, 20, 30, 40, 50, floatBits(0.5f), 6, 7, floatBits(2.0f), 128, floatBits(0.25f), floatBits(0.75f),
         floatBits(0.1f), floatBits(0.2f), floatBits(0.3f)},
        testbank::harmonicMaterial(100.0f, {{-10.0f}, {-11.0f, -12.0f, -13.0f}}, {5, 6, 7}));
    testbank::PackageOnDisk<HalvorenEngineV2::SourceStorePackager> disk("hpr_v2_voice");
    const auto voice = disk.open(oneRecord(2, record)).loadVoiceSrc(0, "ma", "A3");
    ASSERT_TRUE(voice);
    EXPECT_EQ(voice->beginPos, 10);
    EXPECT_EQ(voice->param5, 50);
    EXPECT_EQ(voice->param8, 6);
    EXPECT_EQ(voice->param13, 0.75f);
    EXPECT_EQ(voice->ratio1, 0.1f);
    EXPECT_EQ(voice->ratio2, 0.2f);
    EXPECT_EQ(voice->ratio3, 0.3f);
    EXPECT_EQ(voice->material->hop, 128);
    ASSERT_EQ(voice->material->peaks.size(), 2u);
    EXPECT_EQ(voice->material->peaks.frame(1).freqs, (std::vector<float>{100.0f, 200.0f, 300.0f}));
    EXPECT_EQ(voice->material->residual.numSamples(), 3u);
}

TEST(HprLoaders, ResidualTakesOnlyWholeSamplesPresent)
{
    struct Case {
        const char* what;
        std::int32_t count;
        std::string bytes;
        std::vector<short> samples;
    };
    const Case cases[] = {
        {"whole", 4, "\x01\x00\x02\x00"s, {1, 2}},
        {"odd count", 3, "\x01\x00\x02\x00"s, {1}},
        {"count past the end", 8, "\x01\x00\x02"s, {1}},
        {"negative count", -2, "\x01\x00"s, {}},
    };
    for (const Case& c : cases) {
        hvtest::ByteBuilder b;
        b.i32(0).i32(7).i32(256).i32(0).i32(c.count).raw(c.bytes);  // no peak frames
        testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_residual");
        const auto continuant = disk.open(oneRecord(1, b.bytes)).loadContinuantSrc(0, "a_m", "A3");
        ASSERT_TRUE(continuant) << c.what;
        EXPECT_EQ(continuant->param2, 7) << c.what;
        const auto& residual = continuant->material->residual;
        EXPECT_EQ(std::vector<short>(residual.ptrBegin(), residual.ptrBegin() + residual.numSamples()), c.samples)
            << c.what;
    }
}

TEST(HprLoaders, UnreadableRecordsAreNullWithTheContentMessage)
{
    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_unreadable");
    // A voice record of 47 bytes: one short of its twelve values.
    disk.open(oneRecord(1, std::string(47, '\0')));
    const std::string content = testbank::packageBasePath(disk.folder) + "HVC";
    struct Case {
        std::int32_t offset;
        const char* fault;
    };
    for (const Case& c : {Case{0, "the record at byte 0 claims 47 bytes, fewer than the 48 its values take"},
                          Case{51, "the record at byte 51 lies past the end at byte 51"},
                          Case{-4, "the record at byte -4 lies before the start of the file"}}) {
        const auto& fresh = disk.reopen();
        EXPECT_FALSE(fresh.loadVoiceSrc(c.offset, "ma", "A3")) << c.fault;
        EXPECT_EQ(disk.log.str(), "fail to read package content file " + content + ": " + c.fault + "\n");
        EXPECT_EQ(fresh.contentFault(), content + ": " + c.fault);
    }
    // The same 47 bytes hold the three continuant values.
    EXPECT_TRUE(disk.package->loadContinuantSrc(0, "ma", "A3"));
}

TEST(HprLoaders, AMissingContentFileIsSaidAtOnceAndLoadsNothing)
{
    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_no_content");
    const auto& package = disk.openIndex(oneRecord(1, std::string(60, '\0')).index);
    const std::string content = testbank::packageBasePath(disk.folder) + "HVC";
    const std::string missing = "fail to read package content file " + content +
                                ": cannot be opened: No such file or directory\n";
    EXPECT_EQ(disk.log.str(), missing);
    std::int32_t offset = -1;
    EXPECT_EQ(package.findRecordKey("ma", "A3", offset), "A3");
    // The loads say nothing more of the file.
    EXPECT_FALSE(package.loadVoiceSrc(offset, "ma", "A3"));
    EXPECT_EQ(disk.log.str(), missing);

    // A FIFO in place of either file is refused at once, with the same messages.
    const std::string index = testbank::packageBasePath(disk.folder) + "HVI";
    std::filesystem::remove(index);
    ASSERT_EQ(::mkfifo(index.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(content.c_str(), 0600), 0);
    disk.reopen();
    EXPECT_EQ(disk.log.str(),
              "fail to read package index file " + index + ": cannot be read\nfail to read package content file " +
                  content + ": cannot be opened: not a regular file\n");
}

// Frames and residual samples of the continuant of one record.
template <class Packager>
std::pair<std::size_t, std::size_t> loadedSizes(int generation, const std::string& record)
{
    testbank::PackageOnDisk<Packager> disk("hpr_budget");
    const auto continuant = disk.open(oneRecord(generation, record)).loadContinuantSrc(0, "a_m", "A3");
    if (!continuant)
        return {0, 0};
    return {continuant->material->peaks.size(), continuant->material->residual.numSamples()};
}

// A record of empty frames (4 bytes each, a hundred bytes built each) stops
// where its read budget is spent; genuine frames, which come with their
// residual samples, are all kept.
TEST(HprLoaders, EmptyFramesStopAtTheReadBudget)
{
    struct Case {
        int generation;
        int frames;
        int peaks;
        int samplesPerFrame;
        bool whole;
    };
    const Case cases[] = {{1, 200000, 0, 0, false}, {2, 200000, 0, 0, false},
                          {1, 2000, 20, 256, true}, {2, 2000, 20, 256, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.generation << " " << c.frames);
        hvtest::ByteBuilder frames;
        if (c.generation == 2)
            frames.f32(100.0f);
        frames.i32(c.frames);
        const std::vector<float> values(std::size_t(c.peaks), 1.0f);
        for (int f = 0; f < c.frames; ++f) {
            frames.i32(c.peaks);
            for (int array = 0; array < (c.peaks > 0 ? (c.generation == 1 ? 3 : 1) : 0); ++array)
                frames.floatArray(values);
        }
        const std::size_t samples = std::size_t(c.frames) * std::size_t(c.samplesPerFrame) + 1;
        frames.i32(std::int32_t(samples * 2)).raw(std::string(samples * 2, '\x01'));
        const std::string record = hvtest::ByteBuilder().i32(0).i32(7).i32(256).raw(frames.bytes).bytes;
        const auto [framesKept, samplesKept] =
            c.generation == 1 ? loadedSizes<Halvoren::SourceStorePackager_v1>(1, record)
                              : loadedSizes<HalvorenEngineV2::SourceStorePackager>(2, record);
        if (c.whole) {
            EXPECT_EQ(framesKept, std::size_t(c.frames));
            EXPECT_EQ(samplesKept, samples);
        } else {
            // 800,000 bytes of frames may build 8 bytes per byte: far fewer
            // than 100,000 frames.
            EXPECT_GT(framesKept, 0u);
            EXPECT_LT(framesKept, 100000u);
            EXPECT_EQ(samplesKept, 0u);
        }
    }
}

}  // namespace
