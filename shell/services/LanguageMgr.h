#pragma once
// UI texts. Every visible text is looked up by its English wording: first in
// the selected language table, then in the built-in English table; a text in
// neither is empty.
#include <map>
#include <string>

#include "platform/CString.h"

class CLanguageMgr {
public:
    CLanguageMgr();
    CString translate(const std::string& key) const;
    // Reads a language file (a flat JSON object of English texts mapped to
    // translations); false, leaving the table empty, when it cannot be read.
    bool loadLanguageFile(const CString& path);
    // Replaces the selected table (tests, or a language chosen at run time).
    void setSelectedTable(std::map<std::string, std::string> table) { selected_ = std::move(table); }
    void clearSelectedTable() { selected_.clear(); }

private:
    std::map<std::string, std::string> selected_;
};

// The one language manager; its first call loads the table named by the
// settings' "language" key from the "language" folder.
CLanguageMgr& getLanguageMgr();

// Shorthand for getLanguageMgr().translate(key).
inline CString translate(const std::string& key) { return getLanguageMgr().translate(key); }

// The built-in English table: every key the program looks up, mapped to itself.
const std::map<std::string, std::string>& builtinLanguageTable();
