#include "voicebank/FolderSearch.h"

#include "platform/FileUtil.h"

namespace {
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWithIgnoreCase(const std::string& name, const std::string& suffix) {
    if (name.size() < suffix.size()) return false;
    const size_t start = name.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i)
        if (lowerAscii(name[start + i]) != lowerAscii(suffix[i])) return false;
    return true;
}
}  // namespace

std::string findFirstFileEndingWith(const std::string& folder, const std::string& suffix) {
    const CString listed = CString::fromUtf8(folder.empty() ? std::string(".") : folder);
    for (const std::string& name : listFolder(listed, false))
        if (endsWithIgnoreCase(name, suffix)) return name;
    return std::string();
}
