#include "voicebank/FolderSearch.h"

#include "platform/FileUtil.h"
#include "platform/StringUtil.h"

namespace {
bool endsWithIgnoreCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           toLowerAscii(name.substr(name.size() - suffix.size())) == toLowerAscii(suffix);
}
}  // namespace

std::string findFirstFileEndingWith(const std::string& folder, const std::string& suffix) {
    const CString listed = CString::fromPathBytes(folder.empty() ? std::string(".") : folder);
    for (const std::string& name : listFolder(listed, false))
        if (endsWithIgnoreCase(name, suffix)) return name;
    return std::string();
}
