#include <gtest/gtest.h>

#include <sys/stat.h>

#include <bit>
#include <optional>
#include <thread>

#include "support/bank/HexBytes.h"
#include "platform/LittleEndian.h"
#include "support/bank/PackageOnDisk.h"
#include "voicebank/v3/SourceStorePackager.h"

namespace {

using HalvorenEngineV3::SourceStorePackager;
using testbank::hexBytes;

// 0, 512, 44100.0f; peaks 0, -1.0f, 0 frames, no offsets, empty blob; two
// stores 512, 44100.0f, 0 frames, three empty arrays; bands 0 frames, no
// offsets, empty blob: 92 bytes.
const std::string kEmptyMaterialHex =
    "00 00 00 00  00 02 00 00  00 44 2C 47 "
    "00 00 00 00  00 00 80 BF  00 00 00 00  00 00 00 00  00 00 00 00 "
    "00 02 00 00  00 44 2C 47  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00 "
    "00 02 00 00  00 44 2C 47  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00 "
    "00 00 00 00  00 00 00 00  00 00 00 00 ";

// The int32 values 1..16 as stored.
std::string oneToSixteenHex()
{
    std::string hex;
    for (int i = 1; i <= 16; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "%02X 00 00 00 ", i);
        hex += word;
    }
    return hex;
}

std::vector<testbank::PlainFrame> twoFrames()
{
    testbank::PlainFrame voiced;
    voiced.f0Step = 220.0f;
    voiced.harmonicsDb = {-6.0f, -12.0f, -18.0f};
    testbank::PlainFrame unvoiced;
    unvoiced.harmonicsDb.clear();
    return {voiced, unvoiced};
}

TEST(Loaders, GoldenVoiceRecordKeepsParam6LastAndTheFloatBits)
{
    // Length 64 + 92 = 156 (9C).
    const std::string golden = hexBytes("9C 00 00 00 " + oneToSixteenHex() + kEmptyMaterialHex);
    std::array<std::int32_t, 16> memoryOrder = {1, 2, 3, 4, 5, 16, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(testbank::ghrModelBytes({}), hexBytes(kEmptyMaterialHex));
    testbank::BankDescription bank;
    bank.variants.push_back({"la", "C4", 0, testbank::v3VoiceRecord(memoryOrder, testbank::ghrModelBytes({}))});
    testbank::PackageFiles files = testbank::writePackage(bank);
    EXPECT_EQ(files.parts.at(0), golden);

    testbank::PackageOnDisk<SourceStorePackager> disk("load_golden");
    const SourceStorePackager& p = disk.open(files);
    const auto voice = p.loadVoiceSrc("la", "C4", 0, 0);
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(disk.log.str(), "");
    EXPECT_EQ(voice->name, "la");
    EXPECT_EQ(voice->pitch, "C4");
    EXPECT_EQ(voice->beginPos, 1);
    EXPECT_EQ(voice->param5, 5);
    EXPECT_EQ(voice->param6, 16);
    const float floats[] = {voice->param7, voice->param10, voice->param12, voice->param13,
                            voice->ratio1, voice->ratio2, voice->ratio3};
    const std::int32_t bits[] = {6, 9, 11, 12, 13, 14, 15};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(std::bit_cast<std::int32_t>(floats[i]), bits[i]) << i;
    EXPECT_EQ(voice->param8, 7);
    EXPECT_EQ(voice->param11, 10);
    ASSERT_NE(voice->material, nullptr);
    EXPECT_EQ(voice->material->frameSize, 512);
    EXPECT_EQ(voice->material->peaks.axisStep, -1.0f);
    EXPECT_EQ(voice->material->peaks.frameCount, 0);
    EXPECT_EQ(voice->material->name, "la");

    const auto parameter = p.loadSrcParameter("la", "C4", 0, 0);
    ASSERT_NE(parameter, nullptr);
    EXPECT_EQ(parameter->param6, 16);
    EXPECT_EQ(parameter->param13, voice->param13);
}

TEST(Loaders, RecordsComeFromTheirPartAndCarryTheirFrames)
{
    testbank::BankDescription bank;
    bank.ext2 = true;
    bank.variants.push_back({"la", "C4", 0, testbank::v3VoiceRecord({}, testbank::ghrModelBytes({}))});
    bank.variants.push_back({"la", "E4", 2, testbank::v3VoiceRecord({7}, testbank::ghrModelBytes(twoFrames()))});
    bank.variants.push_back({"a_l", "E4", 2, testbank::v3ContinuantRecord(3, 4, 256, testbank::ghrModelBytes(twoFrames()))});
    testbank::PackageOnDisk<SourceStorePackager> disk("load_parts");
    const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
    std::int32_t offset = -1;
    std::int32_t part = -1;
    ASSERT_EQ(p.findRecordKey("la", "E4", offset, part), "E4");
    EXPECT_EQ(part, 2);
    const auto voice = p.loadVoiceSrc("la", "E4", offset, part);
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->beginPos, 7);
    Halvoren::PeakList peaks;
    voice->material->peaks.getFrame(0, peaks);
    ASSERT_EQ(peaks.freqs.size(), 3u);
    EXPECT_EQ(peaks.freqs[2], 660.0f);  // 3 * 220
    EXPECT_EQ(peaks.mags[1], -12.0f);
    voice->material->peaks.getFrame(1, peaks);
    EXPECT_TRUE(peaks.freqs.empty());
    EXPECT_EQ(voice->material->magsA.frameCount, 2);
    Halvoren::GammatoneVector bands;
    voice->material->bands.getFrame(bands, 1);
    EXPECT_EQ(bands.values.size(), 64u);

    ASSERT_EQ(p.findRecordKey("a_l", "E4", offset, part), "E4");
    const auto continuant = p.loadContinuantSrc("a_l", "E4", offset, part);
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->param1, 3);
    EXPECT_EQ(continuant->param2, 4);
    EXPECT_EQ(continuant->hop, 256);
    EXPECT_EQ(continuant->material->magsB.frameCount, 2);
    const auto parameter = p.loadSrcContinuantParameter("a_l", "E4", offset, part);
    ASSERT_NE(parameter, nullptr);
    EXPECT_EQ(parameter->hop, 256);
    EXPECT_EQ(disk.log.str(), "");

    // Without HVC_2 the records of part 2 cannot be read; a FIFO or a device
    // in its place is refused the same way, at once.
    const std::filesystem::path hvc2 = disk.folder / "HVC_2";
    const std::string message = "fail to read package content file " + hvc2.string() + ": cannot be opened: ";
    std::filesystem::remove(hvc2);
    EXPECT_EQ(disk.reopen().loadVoiceSrc("la", "E4", offset, part), nullptr);
    EXPECT_EQ(disk.log.str(), message + "No such file or directory\n");
    ASSERT_EQ(::mkfifo(hvc2.c_str(), 0600), 0);
    EXPECT_EQ(disk.reopen().loadContinuantSrc("a_l", "E4", offset, part), nullptr);
    EXPECT_EQ(disk.log.str(), message + "not a regular file\n");
    std::filesystem::remove(hvc2);
    std::filesystem::create_symlink("/dev/zero", hvc2);
    EXPECT_EQ(disk.reopen().loadSrcParameter("la", "E4", offset, part), nullptr);
    EXPECT_EQ(disk.log.str(), message + "not a regular file\n");
}

TEST(Loaders, TheExt1TableFollowsOnlyAVoiceMaterial)
{
    testbank::BankDescription bank;
    bank.ext1 = true;
    const std::string material = testbank::ghrModelBytes({});
    bank.variants.push_back({"la", "C4", 0, testbank::v3VoiceRecord({}, material)});
    bank.variants.push_back({"la", "D4", 0, testbank::v3VoiceRecord({}, material, testbank::PhaseTable{})});
    // A continuant followed by table bytes reads none of them.
    bank.variants.push_back({"a_l", "C4", 0, testbank::v3ContinuantRecord(1, 2, 256, material) +
                                                 testbank::phaseTableBytes(testbank::PhaseTable{})});
    testbank::PackageOnDisk<SourceStorePackager> disk("load_ext1");
    const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
    ASSERT_TRUE(p.hasExt1());
    std::int32_t offset = 0;
    std::int32_t part = 0;

    p.findRecordKey("la", "C4", offset, part);
    const auto bare = p.loadVoiceSrc("la", "C4", offset, part);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->material->ext1.step, 0.0f);
    EXPECT_EQ(bare->material->ext1.stride, 0);
    EXPECT_EQ(bare->material->ext1.rows, 0);
    EXPECT_TRUE(bare->material->ext1.values.empty());

    p.findRecordKey("la", "D4", offset, part);
    const auto withTable = p.loadVoiceSrc("la", "D4", offset, part);
    ASSERT_NE(withTable, nullptr);
    EXPECT_EQ(withTable->material->ext1.step, 100.0f);
    EXPECT_EQ(withTable->material->ext1.stride, 3);
    EXPECT_EQ(withTable->material->ext1.rows, 1);
    EXPECT_EQ(withTable->material->ext1.values, std::vector<float>({0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(withTable->material->ext1.columnCounter, -1);

    p.findRecordKey("a_l", "C4", offset, part);
    const auto continuant = p.loadContinuantSrc("a_l", "C4", offset, part);
    ASSERT_NE(continuant, nullptr);
    EXPECT_EQ(continuant->material->ext1.step, 0.0f);
    EXPECT_TRUE(continuant->material->ext1.values.empty());
}

// A record that cannot be read whole is null and named once, with its
// content file and what is wrong with it: a length word past the file's
// end reads nothing, one that claims fewer bytes than the record's parts
// take names the part, and so does a float that is not finite. A length
// that claims more than the parts take, inside the file, is a record whose
// tail is left unread.
TEST(Loaders, UnreachableShortOrOverlongRecordsLoadAsNull)
{
    testbank::BankDescription bank;
    bank.variants.push_back({"la", "C4", 0, testbank::v3VoiceRecord({}, testbank::ghrModelBytes({}))});
    bank.variants.push_back({"ka", "C4", 0, std::string(63, '\0')});  // one byte short of the values
    const testbank::PackageFiles files = testbank::writePackage(bank);
    // "la" holds 64 bytes of values and 92 of material; "ka" follows it.
    const std::int32_t kaOffset = 4 + 64 + 92;
    const std::int32_t end = kaOffset + 4 + 63;
    const std::uint32_t nan = 0x7FC00000;
    struct Case {
        std::int32_t offset;
        std::int32_t part;
        std::int32_t patchAt;  // -1, or where word is written over the content
        std::uint32_t word;
        bool valuesRead;  // the values alone read whole
        std::string fault;
    };
    const std::string at0 = "the record at byte 0 ";
    const std::string atKa = "the record at byte " + std::to_string(kaOffset) + " ";
    const Case cases[] = {
        {0, 3, -1, 0, false, "cannot be opened: No such file or directory"},  // a part that does not exist
        {-4, 0, -1, 0, false, "the record at byte -4 lies before the start of the file"},
        {end, 0, -1, 0, false, "the record at byte 227 lies past the end at byte 227"},
        {1 << 30, 0, -1, 0, false, "the record at byte 1073741824 lies past the end at byte 227"},
        {end - 3, 0, -1, 0, false, "ends inside the length of the record at byte 224"},
        {kaOffset, 0, -1, 0, false, atKa + "claims 63 bytes, fewer than the 64 its values take"},
        {0, 0, 0, 157, true, ""},  // one byte of tail, not read
        {0, 0, 0, 223, true, ""},  // "ka" lies in the tail
        {0, 0, 0, 224, false, at0 + "claims 224 bytes, past the end at byte 227"},
        {0, 0, 0, 0x7FFFFFF0, false, at0 + "claims 2147483632 bytes, past the end at byte 227"},
        // The band blob's length word lies at bytes 152..155 of the record.
        {0, 0, 0, 155, true, at0 + "holds 155 bytes; its band model needs at least 156"},
        {0, 0, 0, 100, true, at0 + "holds 100 bytes; its band model needs at least 104"},
        {kaOffset, 0, kaOffset, 64, false, atKa + "claims 64 bytes, past the end at byte 227"},
        {kaOffset, 0, kaOffset, std::uint32_t(-1), false, atKa + "claims -1 bytes, fewer than the 64 its values take"},
        {0, 0, 0, 0, false, at0 + "claims 0 bytes, fewer than the 64 its values take"},
        // param7, the sixth value stored; the material's sample rate, 8 bytes into it.
        {0, 0, 4 + 5 * 4, nan, false, at0 + "holds a value that is not finite at byte 24, in its values"},
        {0, 0, 4 + 64 + 8, 0x7F800000, true, at0 + "holds a value that is not finite at byte 76, in its band model"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        std::string content = files.parts.at(0);
        if (c.patchAt >= 0)
            storeLittleEndian32(content.data() + c.patchAt, c.word);
        testbank::PackageOnDisk<SourceStorePackager> disk("load_null");
        testbank::writeFile(disk.folder / "HVI", files.index);
        testbank::writeFile(disk.folder / "HVC", content);
        const SourceStorePackager& p = disk.reopen();
        const std::string hvc = testbank::packageBasePath(disk.folder) + "HVC";
        const std::string path = c.part > 0 ? hvc + "_" + std::to_string(c.part) : hvc;
        EXPECT_EQ(p.loadSrcParameter("la", "C4", c.offset, c.part) != nullptr, c.valuesRead);
        EXPECT_EQ(p.loadVoiceSrc("la", "C4", c.offset, c.part) != nullptr, c.fault.empty());
        EXPECT_EQ(disk.log.str(), c.fault.empty() ? "" : "fail to read package content file " + path + ": " + c.fault + "\n");
        EXPECT_EQ(p.contentFault(), c.fault.empty() ? "" : path + ": " + c.fault);
    }
    // A continuant needs only its three values.
    testbank::PackageOnDisk<SourceStorePackager> disk("load_null");
    const SourceStorePackager& p = disk.open(files);
    EXPECT_NE(p.loadSrcContinuantParameter("ka", "C4", kaOffset, 0), nullptr);
    EXPECT_EQ(disk.log.str(), "");
}

// Records found by their entries' offsets: a record nested in the unread
// tail of another loads as it loads on its own; an entry that points into
// the bytes of another record, which reads whole, is the entry's fault,
// named with the index file, its unit and pitch, and the records around it
// load; a record whose own length is short is the record's fault.
TEST(Loaders, AnEntryPointingInsideARecordIsTheEntrysFault)
{
    auto threeUnits = [] {
        testbank::BankDescription bank;
        bank.ext1 = true;
        for (int i = 0; i < 3; ++i)
            bank.variants.push_back({std::string("u") + char('0' + i), "C4", 0,
                                     testbank::v3VoiceRecord({i + 1}, testbank::ghrModelBytes(twoFrames()),
                                                             testbank::PhaseTable{})});
        bank.variants.push_back({"u0_u1", "D4", 0, testbank::v3ContinuantRecord(0, 1, 256, testbank::ghrModelBytes(twoFrames()))});
        return bank;
    };
    // Each record of this bank takes the same bytes.
    const std::int32_t recordBytes = std::int32_t(threeUnits().variants[0].record.size()) + 4;
    struct Case {
        const char* what;
        std::vector<testbank::VariantLayout> layouts;
        std::vector<bool> loads;  // u0, u1, u2, u0_u1
        std::string fault;        // its file first, after the folder
    };
    const std::string unreadTail = "holds " + std::to_string(recordBytes - 4 - 1);
    const Case cases[] = {
        {"plain", {}, {true, true, true, true}, ""},
        {"u2 nested in u0's tail", {testbank::nestedIn("u2", "u0")}, {true, true, true, true}, ""},
        {"u1 and u2 nested in u0's tail", {testbank::nestedIn("u1", "u0"), testbank::nestedIn("u2", "u0")}, {true, true, true, true}, ""},
        {"an unused continuant 100 bytes into u1",
         {testbank::pointingInto("u0_u1", "u1", 100)},
         {true, true, true, false},
         "HVI: the entry of \"u0_u1\" at D4 places its record at byte " + std::to_string(recordBytes + 100) +
             " of <HVC>, inside the record at byte " + std::to_string(recordBytes)},
        {"u2 moved 8 bytes back",
         {testbank::movedBy("u2", -8)},
         {true, true, false, true},
         "HVI: the entry of \"u2\" at C4 places its record at byte " + std::to_string(2 * recordBytes - 8) +
             " of <HVC>, inside the record at byte " + std::to_string(recordBytes)},
        {"u1's length word short by one",
         {testbank::withLengthWord("u1", recordBytes - 4 - 1)},
         {true, false, true, true},
         "HVC: the record at byte " + std::to_string(recordBytes) + " " + unreadTail +
             " bytes; its phase table needs at least " + std::to_string(recordBytes - 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testbank::BankDescription bank = threeUnits();
        bank.layouts = c.layouts;
        testbank::PackageOnDisk<SourceStorePackager> disk("load_stray");
        const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
        std::vector<bool> loads;
        for (const auto& [unit, pitch] : {std::pair{"u0", "C4"}, {"u1", "C4"}, {"u2", "C4"}, {"u0_u1", "D4"}}) {
            std::int32_t offset = 0;
            std::int32_t part = 0;
            const std::string found = p.findRecordKey(unit, pitch, offset, part);
            if (std::string(unit) == "u0_u1") {
                loads.push_back(p.loadContinuantSrc(unit, found, offset, part) != nullptr);
                continue;
            }
            const auto voice = p.loadVoiceSrc(unit, found, offset, part);
            loads.push_back(voice != nullptr);
            // Each voice is the one its entry names, nested or not.
            if (voice) {
                EXPECT_EQ(voice->beginPos, unit[1] - '0' + 1) << unit;
            }
        }
        EXPECT_EQ(loads, c.loads);
        const std::string base = testbank::packageBasePath(disk.folder);
        std::string fault = c.fault.empty() ? "" : base + c.fault;
        if (const std::size_t at = fault.find("<HVC>"); at != std::string::npos)
            fault.replace(at, 5, base + "HVC");
        EXPECT_EQ(p.contentFault(), fault);
        const std::string line = fault.empty() ? ""
                                 : fault.find(base + "HVI") == 0 ? "fail to read package index file " + fault + "\n"
                                                                 : "fail to read package content file " + fault + "\n";
        EXPECT_EQ(disk.log.str(), line);
    }
}

TEST(Loaders, TwoThreadsLoadWhatOneThreadLoads)
{
    testbank::BankDescription bank;
    bank.ext1 = true;
    for (int i = 0; i < 8; ++i)
        bank.variants.push_back({"u" + std::to_string(i), "C4", 0,
                                 testbank::v3VoiceRecord({i}, testbank::ghrModelBytes(twoFrames()), testbank::PhaseTable{})});
    testbank::PackageOnDisk<SourceStorePackager> disk("load_threads");
    const SourceStorePackager& p = disk.open(testbank::writePackage(bank));
    auto loadAll = [&p](std::vector<std::int32_t>& begins) {
        for (int round = 0; round < 20; ++round)
            for (int i = 0; i < 8; ++i) {
                std::int32_t offset = 0;
                std::int32_t part = 0;
                const std::string pitch = p.findRecordKey("u" + std::to_string(i), "C4", offset, part);
                const auto voice = p.loadVoiceSrc("u" + std::to_string(i), pitch, offset, part);
                begins.push_back(voice ? voice->beginPos * 10 + voice->material->magsA.frameCount : -1);
            }
    };
    std::vector<std::int32_t> alone;
    loadAll(alone);
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> second;
    std::thread a(loadAll, std::ref(first));
    std::thread b(loadAll, std::ref(second));
    a.join();
    b.join();
    EXPECT_EQ(first, alone);
    EXPECT_EQ(second, alone);
    EXPECT_EQ(alone[3], 32);  // u3: beginPos 3, two frames
}

}  // namespace
