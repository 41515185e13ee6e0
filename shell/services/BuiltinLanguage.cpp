#include "shell/services/LanguageMgr.h"

// Every English text the program looks up. The built-in table maps each one to
// itself, so a key missing from a selected language still shows in English.
namespace {
const char* const kBuiltinTexts[] = {
    "New segment",
    "track",
    "singing",
    "instrumental",
    "It's high version project file, please update editor to use it",
    "Dictionary file not exist",
    "Old voice bank is deprecated, please use new one",
    "New voice bank is not supported, please update editor",
    "singer",
    "synthesizing",
    "writing file",
    "file output failed",
    "Export",
    "Cancel",
    "All supported files",
    "Mixdown to file",
    "Export each track",
    "already exists, replace it?",
    "Please stop playing first",
    "Error in reading midi file...",
    "Error in reading vsqx file...",
    "Error when reading audio file...",
    "exist note overlap, do you want to auto-fix it?",
    "is not in your system",
    "HVI or HVC not be found, please make sure voice bank is complete",
};
}  // namespace

const std::map<std::string, std::string>& builtinLanguageTable() {
    static const std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> t;
        for (const char* text : kBuiltinTexts) t.emplace(text, text);
        return t;
    }();
    return table;
}
