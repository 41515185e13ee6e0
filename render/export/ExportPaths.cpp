#include "render/export/ExportPaths.h"

#include <unistd.h>

#include <string_view>

#include "platform/StringUtil.h"

CString getFileNameOfPath(const CString& path) {
    const int slash = path.reverseFind(u'/');
    return slash < 0 ? CString() : path.mid(slash + 1);
}

CString getFolderOfPath(const CString& path) {
    const int slash = path.reverseFind(u'/');
    return slash < 0 ? CString() : path.left(slash + 1);
}

void removeInvalidFileNameChars(CString& text) {
    constexpr std::u16string_view kInvalid = u"\\/:*?\"<>|";
    std::u16string kept;
    for (char16_t c : text.str())
        if (kInvalid.find(c) == std::u16string_view::npos && c >= 0x20 && c != 0x7F) kept += c;
    text = CString(kept);
}

CString fitFileName(const CString& stem, const CString& ext, size_t maxBytes) {
    const size_t extBytes = ext.toPathBytes().size();
    const size_t budget = maxBytes > extBytes ? maxBytes - extBytes : 0;
    const std::u16string& text = stem.str();
    size_t bytes = 0;
    size_t kept = 0;
    while (kept < text.size()) {
        const char16_t c = text[kept];
        // A surrogate pair is one character; a path's stray byte is one unit.
        const size_t units = c >= 0xD800 && c <= 0xDBFF && kept + 1 < text.size() ? 2 : 1;
        const size_t size = CString(text.substr(kept, units)).toPathBytes().size();
        if (bytes + size > budget) break;
        bytes += size;
        kept += units;
    }
    return CString(text.substr(0, kept)) + ext;
}

size_t fileNameLimit(const CString& folder) {
    const long limit = pathconf(folder.isEmpty() ? "." : folder.toPathBytes().c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<size_t>(limit) : kDefaultFileNameLimit;
}

CString projectBaseName(const CString& projectPath) {
    const CString name = getFileNameOfPath(projectPath);
    const int dot = name.reverseFind(u'.');
    if (dot < 0) return name;
    const std::string ext = toLowerAscii(name.mid(dot).toUtf8());
    return ext == ".ot" || ext == ".hv" ? name.left(dot) : name;
}
