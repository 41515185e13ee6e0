#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "support/bank/BankTree.h"

TEST(Registry, KeysAndValuesCompareWithoutCaseOrOuterSeparators) {
    testbank::BankTree tree("registry_keys");
    const auto file = tree.root() / "registry.json";
    testbank::writeFile(file, R"({
        "SOFTWARE\\HalvorenLib\\Singers\\bob": {"path": "/b.hvsd", "size": 3},
        "software\\halvorenlib\\singers\\Anna\\": {"Path": "/a.hvsd"},
        "SOFTWARE\\HalvorenLib\\Singers\\Deep\\Below": {"path": "/d.hvsd"},
        "SOFTWARE\\HalvorenLib\\Singers\\odd": "not a key"
    })");
    const Registry registry = Registry::load(CString::fromUtf8(file.string()));
    EXPECT_EQ(registry.getSubkeyNames("SOFTWARE\\HalvorenLib\\Singers\\"),
              (std::vector<std::string>{"Anna", "bob", "Deep"}));
    EXPECT_TRUE(registry.hasKey("\\software\\HALVORENLIB"));
    EXPECT_FALSE(registry.hasKey("SOFTWARE\\HalvorenLib\\Singers\\odd"));

    std::string value = "kept";
    EXPECT_TRUE(registry.readString("SOFTWARE\\HalvorenLib\\Singers\\ANNA", "path", value));
    EXPECT_EQ(value, "/a.hvsd");
    EXPECT_FALSE(registry.readString("SOFTWARE\\HalvorenLib\\Singers\\bob", "size", value));
    EXPECT_FALSE(registry.readString("SOFTWARE\\HalvorenLib\\Singers\\Deep", "path", value));
    EXPECT_EQ(value, "/a.hvsd");

    testbank::writeFile(file, "{\"SOFTWARE\": ");
    EXPECT_FALSE(Registry::load(CString::fromUtf8(file.string())).hasKey("SOFTWARE"));
}
