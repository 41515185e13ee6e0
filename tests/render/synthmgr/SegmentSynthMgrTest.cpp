#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "BankFixture.h"
#include "render/synth/SegmentSynthMgr.h"
#include "support/engine/TestCore.h"

namespace {

using namespace synthtest;
using namespace HalvorenEngineTest;

const std::vector<std::string> kAccepted = {"1",    "2",    "3.1",  "3.2",  "3.3", "3.4", "3.5",
                                            "4.0",  "4.01", "4.02", "4.03", "6.0", "6.1"};
const std::string kCaption = "(\xEF\xBC\x9E\xEF\xB9\x8F\xEF\xBC\x9C)";  // (＞﹏＜)
const std::string kIncomplete = " HVI or HVC not be found, please make sure voice bank is complete";

class SegmentSynthMgrTest : public BankFixture {
protected:
    // A row per accepted version making a test synthesizer whose job lasts
    // `seconds`; every row records its version and bank path.
    SynthMakerTable rows(TestConfig config = {}, float seconds = 0.05f)
    {
        SynthMakerTable table;
        for (const std::string& version : kAccepted)
            table[version] = [this, version, config, seconds](const std::string& path) {
                made_.push_back(version + " " + path);
                auto* synth = new TestSynthV1(config);
                synth->front()->score().notes = {timedNote(0.0f, seconds)};
                return synth;
            };
        return table;
    }

    std::vector<std::string> made_;
    HVCurrentModel::SingSegment seg_{1920, 1920};
};

TEST_F(SegmentSynthMgrTest, ExactlyTheThirteenVersionsAreAccepted)
{
    SegmentSynthMgr mgr(rows());
    for (const std::string& version : kAccepted) {
        addSinger("S" + version, version);
        const std::unique_ptr<ISynth> synth(mgr.createSynth("S" + version));  // not kept by the manager
        EXPECT_NE(synth, nullptr) << version;
        ASSERT_FALSE(made_.empty());
        // Plain concatenation: the bank folder ends in a separator.
        EXPECT_EQ(made_.back(), version + " " + dir_.file("S" + version) + "/");
    }
    for (const std::string version : {"4.00", "3", "5.0", "6", ""}) {
        addSinger("T" + version, version);
        EXPECT_EQ(mgr.createSynth("T" + version), nullptr) << version;
    }
    EXPECT_EQ(made_.size(), kAccepted.size());
    EXPECT_TRUE(script_.shown.empty());
}

TEST_F(SegmentSynthMgrTest, UnknownSingerIsReportedEveryTime)
{
    SegmentSynthMgr mgr(rows());
    for (const std::string name : {"", "Nobody", "Nobody"}) {
        seg_.singer = name;
        EXPECT_EQ(mgr.getSynth(&seg_), nullptr) << name;
        ASSERT_FALSE(script_.shown.empty());
        EXPECT_EQ(script_.shown.back().text, "singer \"" + name + "\" is not in your system");
        EXPECT_EQ(script_.shown.back().caption, kCaption);
        EXPECT_EQ(script_.shown.back().buttons, MbButtons::ok);
    }
    EXPECT_EQ(script_.shown.size(), 3u);
}

TEST_F(SegmentSynthMgrTest, ABankWhosePackageFileCannotBeOpenedIsNamedWithIt)
{
    // A FIFO, a device or a folder in a package file's place is refused
    // without opening it.
    struct Case {
        std::string name;
        bool hvi, hvc;
        std::function<void(const std::string& folder)> place;
        std::string file, reason;
    };
    const auto none = [](const std::string&) {};
    const Case cases[] = {
        {"NoIndex", false, true, none, "HVI", "No such file or directory"},
        {"NoContent", true, false, none, "HVC", "No such file or directory"},
        {"NoFiles", false, false, none, "HVI", "No such file or directory"},  // the index is looked at first
        {"FifoContent", true, false, [](const std::string& f) { ASSERT_EQ(::mkfifo((f + "HVC").c_str(), 0600), 0); },
         "HVC", "not a regular file"},
        {"DeviceIndex", false, true,
         [](const std::string& f) { std::filesystem::create_symlink("/dev/zero", f + "HVI"); }, "HVI",
         "not a regular file"},
        {"FolderContent", true, false, [](const std::string& f) { std::filesystem::create_directory(f + "HVC"); },
         "HVC", "Is a directory"},
    };
    SegmentSynthMgr mgr(rows());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        addSinger(c.name, "3.1", c.hvi, c.hvc);
        const std::string folder = dir_.file(c.name) + "/";
        c.place(folder);
        const std::string fault = folder + c.file + ": cannot be opened: " + c.reason;
        script_.shown.clear();
        seg_.singer = c.name;
        for (int attempt = 0; attempt < 2; ++attempt) {
            ISynth* synth = mgr.getSynth(&seg_);
            ASSERT_NE(synth, nullptr);
            EXPECT_EQ(synth->bankFault(), fault);
            // It sings nothing and is never ready: the next user makes a new one.
            EXPECT_FALSE(synth->loadSegment(&seg_, {}, 0, 1920, 1.5f));
            EXPECT_FALSE(synth->isReady());
            int count = 7;
            EXPECT_EQ(synth->getOutput(&count), nullptr);
            EXPECT_EQ(count, 0);
            EXPECT_NE(mgr.getSynth(&seg_), synth);
        }
        // Said once, with the file.
        ASSERT_EQ(script_.shown.size(), 1u);
        EXPECT_EQ(script_.shown[0].text, c.name + kIncomplete + "\n" + fault);
        EXPECT_EQ(script_.shown[0].caption, kCaption);
    }
    EXPECT_TRUE(made_.empty());

    // Once the file is there, the singer's generation sings.
    std::ofstream(dir_.file("NoContent/HVC"));
    seg_.singer = "NoContent";
    ISynth* synth = mgr.getSynth(&seg_);
    ASSERT_NE(synth, nullptr);
    EXPECT_EQ(synth->bankFault(), "");
    EXPECT_EQ(made_.size(), 1u);
}

TEST_F(SegmentSynthMgrTest, AVersionWithoutAMakerIsReportedEveryTime)
{
    addSinger("NoRow", "6.1");
    SynthMakerTable table = rows();
    table.erase("6.1");
    SegmentSynthMgr mgr(table);
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_EQ(mgr.createSynth("NoRow"), nullptr);
    ASSERT_EQ(script_.shown.size(), 2u);
    EXPECT_EQ(script_.shown[1].text, "NoRow" + kIncomplete);
    EXPECT_TRUE(made_.empty());
}

TEST_F(SegmentSynthMgrTest, ReadySynthesizerIsReusedAndOthersRenewed)
{
    std::atomic<int> destroyed{0};
    std::atomic<bool> hold{true};
    addSinger("A", "1");
    seg_.singer = "A";
    SegmentSynthMgr mgr(rows({.holdAtFrame = 2, .hold = &hold, .destroyed = &destroyed}));
    EXPECT_EQ(mgr.findSynth(&seg_), nullptr);
    ISynth* first = mgr.getSynth(&seg_);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(mgr.findSynth(&seg_), first);
    EXPECT_EQ(mgr.getSynth(&seg_), first);  // new, so ready

    first->start();
    ASSERT_TRUE(eventually([&] { return first->samplesDone() > 0; }));
    ISynth* second = mgr.getSynth(&seg_);  // running: replaced
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(mgr.findSynth(&seg_), second);
    EXPECT_EQ(destroyed, 0);  // the old job still waits for its worker
    hold = false;
    ASSERT_TRUE(eventually([&] { return destroyed == 1; }));  // freed once idle

    second->start();  // runs to its end without a stop: not ready
    ASSERT_TRUE(eventually([&] { return second->samplesReady() == 2147483647; }));
    ISynth* third = mgr.getSynth(&seg_);
    EXPECT_NE(third, second);
    ASSERT_TRUE(eventually([&] { return destroyed == 2; }));

    // A renewal that fails keeps the stored one.
    getSingerList()->clearSingers();
    EXPECT_EQ(mgr.renewSynth(&seg_), nullptr);
    EXPECT_EQ(mgr.findSynth(&seg_), third);
    mgr.clear();
    EXPECT_EQ(mgr.findSynth(&seg_), nullptr);
    ASSERT_TRUE(eventually([&] { return destroyed == 3; }));
}

TEST_F(SegmentSynthMgrTest, AnotherSingerGetsAnotherSynthesizer)
{
    addSinger("A", "1");
    addSinger("B", "3.1");
    SegmentSynthMgr mgr(rows());
    seg_.singer = "A";
    ISynth* a = mgr.getSynth(&seg_);
    seg_.singer = "B";  // a singer change, then its undo
    ISynth* b = mgr.getSynth(&seg_);
    EXPECT_NE(b, a);
    seg_.singer = "A";
    EXPECT_NE(mgr.getSynth(&seg_), b);
    ASSERT_EQ(made_.size(), 3u);
    EXPECT_EQ(made_[1].substr(0, 4), "3.1 ");
    EXPECT_EQ(made_[2].substr(0, 2), "1 ");
    EXPECT_EQ(mgr.getSynth(&seg_), mgr.findSynth(&seg_));  // same singer, ready: reused
}

TEST_F(SegmentSynthMgrTest, SynthesizerWithoutEngine)
{
    addSinger("A", "3.1");
    SynthMakerTable table;
    table["3.1"] = makeTestTimbreSynthMaker({.noEngine = true});
    SegmentSynthMgr mgr(table);
    seg_.singer = "A";
    ISynth* synth = mgr.getSynth(&seg_);
    ASSERT_NE(synth, nullptr);
    int count = 5;
    EXPECT_EQ(synth->getOutput(&count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(synth->isReady());
    EXPECT_NE(mgr.getSynth(&seg_), synth);  // never ready: renewed every time
}

// The global manager is built after the engine manager, so a process that
// ends without clearing it hands its running jobs to a live engine manager.
TEST(EngineMap, ExitWithoutClearEndsCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static hvtest::ScratchDir dir("enginemap");
            std::ofstream(dir.file("HVI"));
            std::ofstream(dir.file("HVC"));
            auto* singer = new Singer();
            Json::Value description(Json::objectValue);
            description["version"] = "1";
            description["name"] = "A";
            description["path"] = dir.path() + "/";
            singer->fromJson(description);
            getSingerList()->addSinger(singer);
            SynthMakerTable table;
            table["1"] = [](const std::string&) {
                auto* synth = new TestSynthV1({.frameDelayUs = 1000});
                synth->front()->score().notes = {timedNote(0.0f, 10.0f)};
                return synth;
            };
            getEngineMap().setMakers(table);
            static HVCurrentModel::SingSegment seg(0, 1920);
            seg.singer = "A";
            ISynth* synth = getEngineMap().getSynth(&seg);
            if (synth == nullptr)
                std::exit(3);
            synth->start();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
