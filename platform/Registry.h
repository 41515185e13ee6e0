#pragma once
// The machine registry. Linux has none, so a JSON file in the user's
// configuration folder stands in for it: each member names a key path
// ("SOFTWARE\\HalvorenLib\\Singers\\Anna") and holds that key's string
// values ({"path": "/home/anna/banks/anna/anna.hvsd"}). Key paths and value
// names compare without regard to ASCII case and to leading or trailing "\",
// as registry paths do.
#include <map>
#include <string>
#include <vector>

#include "platform/CString.h"

class Registry {
public:
    Registry() = default;
    // Reads the file. A missing or malformed file gives an empty registry;
    // members that are not objects and values that are not strings are left
    // out.
    static Registry load(const CString& file);

    bool hasKey(const std::string& key) const;
    // Names of the keys directly below key, sorted without regard to case.
    // A deeper key implies the keys on its path.
    std::vector<std::string> getSubkeyNames(const std::string& key) const;
    // False, leaving out unchanged, when the key or its value is missing.
    bool readString(const std::string& key, const std::string& valueName, std::string& out) const;

private:
    struct Key {
        std::string path;                           // as written, separators trimmed
        std::map<std::string, std::string> values;  // lower-case name -> value
    };
    std::map<std::string, Key> keys_;  // lower-case path -> key
};

// $XDG_CONFIG_HOME/halvoren/registry.json, or ~/.config/halvoren/registry.json
// when XDG_CONFIG_HOME is unset or empty. A file set with
// setRegistryFileOverride takes its place.
CString getRegistryFile();
// For tests: an explicit file wins; an empty one restores the default.
void setRegistryFileOverride(const CString& file);

// The registry read from getRegistryFile().
Registry loadMachineRegistry();
