// Loading single records of the first two generations: the values, the
// residual taken only as whole samples present, and what cannot be read.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <utility>

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

// A record that cannot be read whole is null, named once with its content
// file and what is wrong with it: where it lies, a length past the file or
// short of the values, a count of the material past the record's end, a
// float that is not finite.
TEST(HprLoaders, UnreadableRecordsAreNullWithTheContentMessage)
{
    struct Case {
        std::string record;  // the voice record of "ma" at offset 0
        std::int32_t offset;
        std::string fault;
    };
    const std::vector<std::int32_t> twelve = {0, 5, 10, 40, 15, floatBits(1.0f), 20, 10, floatBits(2.0f), 256,
                                              floatBits(0.0f), floatBits(0.0f)};
    hvtest::ByteBuilder values;
    for (std::int32_t v : twelve)
        values.i32(v);
    // After the 48 bytes of values: no frames, then the residual's count.
    const std::string pastEnd = hvtest::ByteBuilder().raw(values.bytes).i32(0).i32(8).raw("\x01\x00\x02"s).bytes;
    hvtest::ByteBuilder nanLevel;
    nanLevel.raw(values.bytes).i32(1).i32(1).floatArray({100.0f}).i32(1).u32(0x7FC00000).floatArray({0.0f}).i32(0);
    const Case cases[] = {
        {std::string(47, '\0'), 0, "the record at byte 0 claims 47 bytes, fewer than the 48 its values take"},
        {std::string(47, '\0'), 51, "the record at byte 51 lies past the end at byte 51"},
        {std::string(47, '\0'), -4, "the record at byte -4 lies before the start of the file"},
        {pastEnd, 0, "the record at byte 0 holds 59 bytes; its material needs at least 64"},
        // The level array's count, then its one float, at bytes 4 + 48 + 16 + 4.
        {nanLevel.bytes, 0, "the record at byte 0 holds a value that is not finite at byte 72, in its material"},
    };
    for (const Case& c : cases) {
        testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_unreadable");
        const auto& package = disk.open(oneRecord(1, c.record));
        const std::string content = testbank::packageBasePath(disk.folder) + "HVC";
        EXPECT_FALSE(package.loadVoiceSrc(c.offset, "ma", "A3")) << c.fault;
        EXPECT_EQ(disk.log.str(), "fail to read package content file " + content + ": " + c.fault + "\n");
        EXPECT_EQ(package.contentFault(), content + ": " + c.fault);
        // The fault is said once a run: a second package over the same file
        // says nothing more.
        const auto& again = disk.reopen();
        EXPECT_FALSE(again.loadVoiceSrc(c.offset, "ma", "A3")) << c.fault;
        EXPECT_EQ(disk.log.str(), "");
        EXPECT_EQ(again.contentFault(), content + ": " + c.fault);
    }
    // The same 47 bytes hold the three continuant values.
    testbank::PackageOnDisk<Halvoren::SourceStorePackager_v1> disk("hpr_unreadable");
    EXPECT_TRUE(disk.open(oneRecord(1, std::string(47, '\0'))).loadContinuantSrc(0, "ma", "A3"));
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

    // A FIFO in place of either file is refused at once, with the same
    // messages: the files are new ones, said once each too.
    const std::string index = testbank::packageBasePath(disk.folder) + "HVI";
    std::filesystem::remove(index);
    ASSERT_EQ(::mkfifo(index.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(content.c_str(), 0600), 0);
    disk.reopen();
    EXPECT_EQ(disk.log.str(),
              "fail to read package index file " + index + ": cannot be read\nfail to read package content file " +
                  content + ": cannot be opened: not a regular file\n");
}

// Frames and residual samples of the continuant of one record; none for a
// record refused, with the log's text.
template <class Packager>
std::optional<std::pair<std::size_t, std::size_t>> loadedSizes(int generation, const std::string& record,
                                                               std::string& log)
{
    testbank::PackageOnDisk<Packager> disk("hpr_budget");
    const auto continuant = disk.open(oneRecord(generation, record)).loadContinuantSrc(0, "a_m", "A3");
    log = disk.log.str();
    if (!continuant)
        return std::nullopt;
    return std::pair{continuant->material->peaks.size(), continuant->material->residual.numSamples()};
}

// A record of empty frames (4 bytes each, a hundred bytes built each) is
// refused where its read budget is spent, as one building more than its
// bytes allow; genuine frames, which come with their residual samples, are
// all kept.
TEST(HprLoaders, EmptyFramesPastTheReadBudgetRefuseTheRecord)
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
        std::string log;
        const auto sizes = c.generation == 1 ? loadedSizes<Halvoren::SourceStorePackager_v1>(1, record, log)
                                             : loadedSizes<HalvorenEngineV2::SourceStorePackager>(2, record, log);
        if (c.whole) {
            ASSERT_TRUE(sizes);
            EXPECT_EQ(sizes->first, std::size_t(c.frames));
            EXPECT_EQ(sizes->second, samples);
        } else {
            EXPECT_FALSE(sizes);
            EXPECT_NE(log.find(": the record at byte 0 holds " + std::to_string(record.size()) +
                               " bytes; its material builds more than they allow\n"),
                      std::string::npos)
                << log;
        }
    }
}

}  // namespace
