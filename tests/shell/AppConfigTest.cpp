#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ExeDir.h"
#include "shell/services/AppConfig.h"
#include "voicebank/SingerMgr.h"

namespace fs = std::filesystem;

namespace {
class AppConfigTest : public ::testing::Test {
protected:
    fs::path home = fs::temp_directory_path() / ("hv_cfg_" + std::to_string(::getpid()));
    void SetUp() override {
        fs::create_directories(home / "config");
        setExeDirOverride(CString::fromUtf8(home.string()));
    }
    void TearDown() override {
        fs::remove_all(home);
        setExeDirOverride(CString());
        initAppConfig();
        getSingerList()->clearSingers();
    }
    void writeConfig(const std::string& text) { std::ofstream(home / "config" / "app.cfg") << text; }
};

struct NamedSinger : ISinger {
    explicit NamedSinger(std::string n) { name_ = std::move(n); }
    bool hasLyricDict() override { return false; }
    ILyricDict* getLyricDict() override { return nullptr; }
};
}  // namespace

TEST_F(AppConfigTest, MissingFileGivesDefaults) {
    initAppConfig();
    const CAppConfigModel& c = getAppConfig();
    EXPECT_FALSE(c.isAutoVib);
    EXPECT_EQ(c.expTailChg, 25);
    EXPECT_EQ(c.expHeadChg, 20);
    EXPECT_EQ(c.expBendDep, 0);
    EXPECT_EQ(c.defaultSymbol, "la");
    EXPECT_EQ(c.vibPreins.vibAmp.size(), 2u);
}

TEST_F(AppConfigTest, BadKeysKeepTheirDefaultsAndGoodKeysAreRead) {
    writeConfig(R"({"unknownKey": 5, "isAutoVib": true, "vibPercent": "sixty",
                    "expTailChg": 40, "expHeadChg": 1.5, "defaultSymbol": 7,
                    "vibPreins": {"vibAmp": [[0, 100], [100000, "x"]], "vibFreq": [[-1, 5], [100001, 6]]}})");
    initAppConfig();
    const CAppConfigModel& c = getAppConfig();
    EXPECT_TRUE(c.isAutoVib);
    EXPECT_EQ(c.vibPercent, 0);
    EXPECT_EQ(c.expTailChg, 40);
    EXPECT_EQ(c.expHeadChg, 20);
    EXPECT_EQ(c.defaultSymbol, "la");
    EXPECT_EQ(c.vibPreins.vibAmp, (std::vector<std::pair<int, int>>{{-1, 0}, {100001, 0}}));
    EXPECT_EQ(c.vibPreins.vibFreq, (std::vector<std::pair<int, int>>{{-1, 5}, {100001, 6}}));
}

TEST_F(AppConfigTest, BrokenJsonOrNonObjectGivesDefaults) {
    writeConfig("{ not json");
    initAppConfig();
    EXPECT_EQ(getAppConfig().expTailChg, 25);
    writeConfig("[1, 2]");
    initAppConfig();
    EXPECT_EQ(getAppConfig().expTailChg, 25);
}

TEST_F(AppConfigTest, SavedSettingsReadBack) {
    initAppConfig();
    getAppConfig().vibPercent = 60;
    getAppConfig().singerName = "\xE5\xB0\x8F";
    ASSERT_TRUE(saveAppConfig());
    initAppConfig();
    EXPECT_EQ(getAppConfig().vibPercent, 60);
    EXPECT_EQ(getAppConfig().singerName, "\xE5\xB0\x8F");
}

TEST_F(AppConfigTest, DefaultSingerName) {
    initAppConfig();
    EXPECT_EQ(getDefaultSingerName(), "");
    getAppConfig().singerName = "configured";
    EXPECT_EQ(getDefaultSingerName(), "");  // nobody installed
    getSingerList()->addSinger(new NamedSinger("first"));
    getSingerList()->addSinger(new NamedSinger("second"));
    EXPECT_EQ(getDefaultSingerName(), "configured");
    getAppConfig().singerName.clear();
    EXPECT_EQ(getDefaultSingerName(), "first");
}

TEST(SingerList, SameNameReplacesAndMovesToTheEndAndTheListIsBounded) {
    SingerMgr list;
    list.addSinger(new NamedSinger("a"));
    list.addSinger(new NamedSinger("b"));
    ISinger* again = new NamedSinger("a");
    EXPECT_TRUE(list.addSinger(again));
    EXPECT_EQ(list.getSingerNames(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(list.findSinger("a"), again);
    EXPECT_EQ(list.findSinger("A"), nullptr);
    for (int i = 0; i < 200; ++i) list.addSinger(new NamedSinger("s" + std::to_string(i)));
    EXPECT_EQ(list.size(), SingerMgr::kMaxSingers);
    EXPECT_TRUE(list.addSinger(new NamedSinger("a")));  // a replacement still fits
}

TEST_F(AppConfigTest, ValuesOutsideTheEditorsRangesAreBroughtIntoThem) {
    writeConfig(R"({"vibPercent": 250, "autoVibBeats": -3, "expBendDep": -5, "expBendLen": 101,
                    "expHeadChg": -2147483648, "expTailChg": 2147483647})");
    initAppConfig();
    const CAppConfigModel& c = getAppConfig();
    EXPECT_EQ(std::vector<int>({c.vibPercent, c.autoVibBeats, c.expBendDep, c.expBendLen, c.expHeadChg, c.expTailChg}),
              std::vector<int>({100, 1, 0, 100, 0, 100}));

    writeConfig(R"({"vibPercent": -1, "autoVibBeats": 0, "expBendDep": 40, "expBendLen": 0})");
    initAppConfig();
    EXPECT_EQ(std::vector<int>({getAppConfig().vibPercent, getAppConfig().autoVibBeats, getAppConfig().expBendDep,
                                getAppConfig().expBendLen}),
              std::vector<int>({0, 1, 40, 0}));
}

TEST_F(AppConfigTest, LanguageIsOnlyAPlainFileName) {
    struct Case {
        std::string stored, kept;
    } const cases[] = {
        {"de.json", "de.json"},
        {"..", ""},
        {".", ""},
        {"../../../../etc/hostname", ""},
        {"/etc/hostname", ""},
        {"..\\\\config\\\\app.cfg", ""},
        {"de\\u0000.json", ""},
        {"..de.json", "..de.json"},  // dots inside a name are harmless
    };
    for (const Case& c : cases) {
        writeConfig("{\"language\": \"" + c.stored + "\"}");
        initAppConfig();
        EXPECT_EQ(getAppConfig().language, c.kept) << c.stored;
    }
}
