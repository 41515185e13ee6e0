#include "render/export/ExportPaths.h"

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
        if (kInvalid.find(c) == std::u16string_view::npos) kept += c;
    text = CString(kept);
}

CString projectBaseName(const CString& projectPath) {
    const CString name = getFileNameOfPath(projectPath);
    const int dot = name.reverseFind(u'.');
    if (dot < 0) return name;
    const std::string ext = toLowerAscii(name.mid(dot).toUtf8());
    return ext == ".ot" || ext == ".hv" ? name.left(dot) : name;
}
