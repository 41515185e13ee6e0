#include "platform/TextConvert.h"

#include <iconv.h>

#include <cerrno>
#include <iterator>
#include <utf8.h>

namespace {

// The units of a path's stray bytes (see pathBytesToCstr).
constexpr uint32_t kByteUnitBase = 0xDC00;
constexpr uint32_t kFirstByteUnit = kByteUnitBase + 0x80;
constexpr uint32_t kLastByteUnit = kByteUnitBase + 0xFF;

// UTF-16 up to its first zero unit into UTF-8; a lone surrogate becomes
// U+FFFD, or its byte when bytesKept and it stands for one.
void utf16ToUtf8(const CString& text, std::string& out, bool bytesKept) {
    out.clear();
    const std::u16string& s = text.str();
    size_t end = s.find(u'\0');
    if (end == std::u16string::npos) end = s.size();
    out.reserve(end);
    for (size_t i = 0; i < end; ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < end && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (bytesKept && cp >= kFirstByteUnit && cp <= kLastByteUnit) {
            out += static_cast<char>(cp - kByteUnitBase);
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        utf8::unchecked::append(cp, std::back_inserter(out));
    }
}

}  // namespace

void cstrToUtf8(const CString& text, std::string& out) { utf16ToUtf8(text, out, false); }

void cstrToPathBytes(const CString& path, std::string& out) { utf16ToUtf8(path, out, true); }

void pathBytesToCstr(std::string_view bytes, CString& out) {
    std::u16string wide;
    auto it = bytes.begin();
    while (it != bytes.end()) {
        const auto bad = utf8::find_invalid(it, bytes.end());
        utf8::unchecked::utf8to16(it, bad, std::back_inserter(wide));
        if (bad == bytes.end()) break;
        wide += static_cast<char16_t>(kByteUnitBase + static_cast<unsigned char>(*bad));
        it = bad + 1;
    }
    out = CString(std::move(wide));
}

void utf8ToCstr(const char* utf8Text, CString& out) {
    if (!utf8Text) {
        out = CString();
        return;
    }
    std::string valid;
    std::string_view in(utf8Text);
    utf8::replace_invalid(in.begin(), in.end(), std::back_inserter(valid), 0xFFFD);
    std::u16string wide;
    utf8::unchecked::utf8to16(valid.begin(), valid.end(), std::back_inserter(wide));
    out = CString(std::move(wide));
}

bool isValidUtf8(std::string_view text) {
    return utf8::is_valid(text.begin(), text.end());
}

std::string ansiToUtf8(std::string_view text) {
    return isValidUtf8(text) ? std::string(text) : gb18030ToUtf8(text);
}

std::string gb18030ToUtf8(std::string_view text) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::string fixed;
        utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(fixed), 0xFFFD);
        return fixed;
    }
    std::string out;
    std::string in(text);
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char buf[256];
    while (inLeft > 0) {
        char* outPtr = buf;
        size_t outLeft = sizeof buf;
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<size_t>(outPtr - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // Invalid or truncated sequence: replace one byte and go on.
            out += "\xEF\xBF\xBD";
            ++inPtr;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}
