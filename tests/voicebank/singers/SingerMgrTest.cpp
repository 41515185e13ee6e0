#include <gtest/gtest.h>

#include "platform/ExeDir.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "shell/services/LanguageMgr.h"
#include "support/bank/BankTree.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"
#include "voicebank/SingerSources.h"

namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testbank::descriptionText;

const std::string kOld = "Old voice bank is deprecated, please use new one";
const std::string kNew = "New voice bank is not supported, please update editor";

class SingerMgrTest : public ::testing::Test {
protected:
    SingerMgrTest() : tree_(::testing::UnitTest::GetInstance()->current_test_info()->name()), boxes_(&script_) {
        setExeDirOverride(CString::fromUtf8(tree_.root().string()));
        setRegistryFileOverride(CString::fromUtf8((tree_.root() / "registry.json").string()));
    }
    ~SingerMgrTest() override {
        setRegistryFileOverride(CString());
        setExeDirOverride(CString());
        getLanguageMgr().clearSelectedTable();
    }

    std::string pathOf(const std::string& name) const {
        auto* singer = dynamic_cast<Singer*>(list_.findSinger(name));
        return singer ? singer->getPath() : "<missing>";
    }
    std::string folderOf(const std::string& sub) const { return (tree_.singersFolder() / sub).string() + "/"; }

    testbank::BankTree tree_;
    ScriptedMessageBoxService script_;
    ScopedMessageBoxService boxes_;
    SingerMgr list_;
};

// Subfolders are visited in sorted order and give their first description
// (by sorted file name) only; a later bank of a name replaces the earlier at
// the end of the list. Damaged descriptions are skipped, each named with
// what is wrong with it.
TEST_F(SingerMgrTest, AcceptedVersionsAreListedInFolderOrderAndDamagedOnesSkipped) {
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"[1, 2]", "not a JSON object"},
        {R"({"version": "3.1", "name": 5})", "its \"name\" is not a string"},
        {R"({"version": "3.1", "name": {"a": 1}})", "its \"name\" is not a string"},
        {R"({"version": {"v": 3}, "name": "ObjectVersion"})", "its \"version\" is not a string"},
        {R"({"version": 3.1, "name": "NumberVersion"})", "its \"version\" is not a string"},
        {R"({"version": "3.1", "name": ""})", "its \"name\" is empty"},
        {R"({"version": "3.1", "name": "Broken")", "not readable JSON"}};
    Names named;
    for (size_t i = 0; i < damaged.size(); ++i)
        named.push_back(tree_.addRawDescription("o" + std::to_string(i), damaged[i].first).string() +
                        "\nThis voice bank description cannot be used: " + damaged[i].second);
    const Names versions = {"1", "2", "3.1", "3.2", "3.3", "3.4", "3.5", "4.0", "4.01", "4.02", "4.03", "6.0", "6.1"};
    Names expected;
    for (size_t i = 0; i < versions.size(); ++i) {
        tree_.addBank(std::string(1, char('m' - i)), versions[i], "S" + versions[i]);
        expected.insert(expected.begin(), "S" + versions[i]);
    }
    tree_.addRawDescription("n", descriptionText("3.1", "Second"), "b.hvsd");
    tree_.addRawDescription("n", descriptionText("3.1", "S1"), "A.HVSD");
    tree_.addRawDescription("n/nested", descriptionText("3.1", "Nested"));
    testbank::writeFile(tree_.singersFolder() / "loose.hvsd", descriptionText("3.1", "Loose"));
    list_.loadFromFolder();
    EXPECT_EQ(list_.getSingerNames(), expected);
    Names shown;
    for (const auto& box : script_.shown) shown.push_back(box.text);
    EXPECT_EQ(shown, named);
    EXPECT_EQ(pathOf("S1"), folderOf("n"));
}

TEST_F(SingerMgrTest, VersionsTooOldOrTooNewAreRefusedWithATranslatedMessage) {
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"3", kOld}, {"5.0", kOld}, {"5.1", kOld}, {"4", kNew}, {"6", kNew}, {"4.00", kNew}, {"", kNew}};
    for (size_t i = 0; i < refused.size(); ++i)
        tree_.addBank(std::string(1, char('a' + i)), refused[i].first, "V" + refused[i].first);
    list_.loadFromFolder();
    EXPECT_EQ(list_.size(), 0u);
    ASSERT_EQ(script_.shown.size(), refused.size());
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_EQ(script_.shown[i].text, "V" + refused[i].first + " " + refused[i].second);
        EXPECT_EQ(script_.shown[i].caption, "(\xEF\xBC\x9E\xEF\xB9\x8F\xEF\xBC\x9C)");
        EXPECT_EQ(script_.shown[i].buttons, MbButtons::ok);
    }
    getLanguageMgr().setSelectedTable({{kOld, "\xE6\x97\xA7"}});
    EXPECT_EQ(list_.createSinger(descriptionText("3", "\xE5\xB0\x8F"), ""), nullptr);
    EXPECT_EQ(script_.shown.back().text, "\xE5\xB0\x8F \xE6\x97\xA7");
}

// Registry key paths and value names compare without case and outer "\";
// keys without a usable "path" string are passed over.
TEST_F(SingerMgrTest, RegistryPassClearsTheListAndFolderBanksWinOverRegisteredOnes) {
    testbank::BankTree outside("registered_banks");
    const fs::path shared = outside.root() / "shared" / "x.hvsd";
    const fs::path only = outside.root() / "only" / "y.hvsd";
    testbank::writeFile(shared, descriptionText("3.1", "Shared"));
    testbank::writeFile(only, descriptionText("4.0", "Registered"));
    const std::string key = "SOFTWARE\\HalvorenLib\\Singers\\";
    Json::Value registry;
    registry[key + "k1"]["path"] = shared.string();
    registry["\\software\\halvorenlib\\singers\\K2\\"]["Path"] = only.string();
    registry[key + "k3"]["path"] = (outside.root() / "missing.hvsd").string();
    registry[key + "k4"]["other"] = "no path";
    registry[key + "k5"]["path"] = 5;
    registry[key + "k6"] = shared.string();
    registry[key + "k7\\deeper"]["path"] = shared.string();
    const fs::path registryFile = tree_.root() / "registry.json";
    testbank::writeFile(registryFile, registry.toStyledString());

    tree_.addBank("stale", "1", "Stale");
    list_.loadFromFolder();
    list_.loadFromRegistry();
    EXPECT_EQ(list_.getSingerNames(), (Names{"Shared", "Registered"}));
    EXPECT_EQ(pathOf("Shared"), shared.parent_path().string() + "/");

    fs::remove_all(tree_.singersFolder() / "stale");
    tree_.addBank("folder", "6.1", "Shared");
    list_.loadFromFolder();
    EXPECT_EQ(list_.getSingerNames(), (Names{"Registered", "Shared"}));
    EXPECT_EQ(pathOf("Shared"), folderOf("folder"));

    testbank::writeFile(registryFile, "{\"SOFTWARE\": ");
    list_.loadFromRegistry();
    EXPECT_EQ(list_.size(), 0u);
}

TEST_F(SingerMgrTest, TheListHoldsAtMostOneHundredSingersButStillReplacesByName) {
    for (int i = 0; i < 101; ++i) tree_.addBank("b" + std::to_string(1000 + i), "3.1", "N" + std::to_string(i));
    list_.loadFromFolder();
    ASSERT_EQ(list_.size(), 100u);
    EXPECT_EQ(list_.findSinger("N100"), nullptr);

    std::string name;
    list_.loadSinger(CString::fromUtf8(tree_.addRawDescription("z", descriptionText("6.0", "N0")).string()), name);
    EXPECT_EQ(name, "N0");
    EXPECT_EQ(list_.getSingerNames().back(), "N0");
    name.clear();
    list_.loadSinger(CString::fromUtf8(tree_.addRawDescription("y", descriptionText("6.0", "New")).string()), name);
    EXPECT_EQ(name, "");
    EXPECT_EQ(list_.size(), 100u);
}

// The text form wins over the JSON form; a bank without either still has an
// (empty) dictionary to ask.
TEST_F(SingerMgrTest, TheBankLyricDictionaryIsFoundAndLoaded) {
    const fs::path both = tree_.addBank("both", "3.1", "Both");
    testbank::writeFile(both / "bank-dict.txt", "hey=txt\n");
    testbank::writeFile(both / "bank.dict.txt", R"({"hey": "json"})");
    testbank::writeFile(tree_.addBank("json", "4.0", "Json") / "bank.dict.txt", R"({"hey": "sym"})");
    tree_.addBank("none", "6.1", "None");
    list_.loadFromFolder();

    auto symbolsOf = [&](const std::string& singer) {
        ISinger* s = list_.findSinger(singer);
        Names words, symbols;
        if (s && s->hasLyricDict()) s->getLyricDict()->lookup("hey", words, symbols);
        return symbols;
    };
    EXPECT_EQ(symbolsOf("Both"), Names{"txt"});
    EXPECT_EQ(symbolsOf("Json"), Names{"sym"});
    ISinger* none = list_.findSinger("None");
    ASSERT_NE(none, nullptr);
    EXPECT_FALSE(none->hasLyricDict());
    EXPECT_NE(none->getLyricDict(), nullptr);
}
// The steps of the two passes: the singer keys in the registry's order with
// their "path" values, and the bank folders by full path.
TEST_F(SingerMgrTest, TheStepsListSingerKeysTheirPathsAndTheBankFolders) {
    const std::string key = "SOFTWARE\\HalvorenLib\\Singers\\";
    Json::Value json;
    json[key + "b"]["path"] = "/banks/b.hvsd";
    json[key + "A"]["path"] = "/banks/a.hvsd";
    json[key + "c"]["other"] = "no path";
    json["SOFTWARE\\Other\\d"]["path"] = "/banks/d.hvsd";
    const fs::path file = tree_.root() / "steps.json";
    testbank::writeFile(file, json.toStyledString());
    const Registry registry = Registry::load(CString::fromUtf8(file.string()));
    const SingerKeys keys(registry);
    ASSERT_EQ(keys.countSingerKeys(), 3);
    Names names;
    for (int i = -1; i <= 3; ++i) names.push_back(keys.getSingerKeyName(i));
    EXPECT_EQ(names, (Names{"", "A", "b", "c", ""}));
    EXPECT_EQ(keys.readSingerKeyPath("A"), "/banks/a.hvsd");
    EXPECT_EQ(keys.readSingerKeyPath("c"), "");
    EXPECT_EQ(keys.readSingerKeyPath("d"), "");
    EXPECT_EQ(keys.readSingerKeyPath(""), "");
    const Registry empty;
    EXPECT_EQ(SingerKeys(empty).countSingerKeys(), 0);

    tree_.addBank("y", "3.1", "Y");
    tree_.addBank("x", "3.1", "X");
    testbank::writeFile(tree_.singersFolder() / "loose.hvsd", descriptionText("3.1", "Loose"));
    const std::string singers = tree_.singersFolder().string() + "/";
    EXPECT_EQ(listSubfolders(singers), (Names{singers + "x", singers + "y"}));
    EXPECT_TRUE(listSubfolders(singers + "missing/").empty());
}
}  // namespace
