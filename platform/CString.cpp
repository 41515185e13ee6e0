#include "platform/CString.h"

#include "platform/TextConvert.h"

CString CString::fromUtf8(std::string_view utf8) {
    CString out;
    utf8ToCstr(std::string(utf8).c_str(), out);
    return out;
}

std::string CString::toUtf8() const {
    std::string out;
    cstrToUtf8(*this, out);
    return out;
}

CString CString::fromPathBytes(std::string_view bytes) {
    CString out;
    pathBytesToCstr(bytes, out);
    return out;
}

std::string CString::toPathBytes() const {
    std::string out;
    cstrToPathBytes(*this, out);
    return out;
}

int CString::reverseFind(char16_t ch) const {
    size_t at = text_.rfind(ch);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::find(std::u16string_view what, int start) const {
    if (start < 0 || static_cast<size_t>(start) > text_.size()) return -1;
    size_t at = text_.find(what, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

CString CString::left(int count) const {
    if (count <= 0) return CString();
    return CString(text_.substr(0, static_cast<size_t>(count)));
}

CString CString::mid(int first) const {
    if (first < 0) first = 0;
    if (static_cast<size_t>(first) >= text_.size()) return CString();
    return CString(text_.substr(static_cast<size_t>(first)));
}

CString CString::mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count <= 0 || static_cast<size_t>(first) >= text_.size()) return CString();
    return CString(text_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}
