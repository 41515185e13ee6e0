#pragma once
// UTF-16 string of the platform layer. Paths and user-visible texts travel as
// CString; file fields that hold UTF-16 are char16_t units (wchar_t is 4 bytes
// on Linux and never used for them).
#include <cstddef>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char16_t* s) : text_(s ? s : u"") {}
    CString(std::u16string s) : text_(std::move(s)) {}
    CString(std::u16string_view s) : text_(s) {}

    // Convenience for ASCII and UTF-8 literals in code: the bytes are decoded as UTF-8.
    static CString fromUtf8(std::string_view utf8);
    std::string toUtf8() const;
    // A path's bytes, kept whole even where they are not UTF-8 (see
    // pathBytesToCstr); use these wherever a path meets the file system.
    static CString fromPathBytes(std::string_view bytes);
    std::string toPathBytes() const;

    const char16_t* c_str() const { return text_.c_str(); }
    const std::u16string& str() const { return text_; }
    int getLength() const { return static_cast<int>(text_.size()); }
    bool isEmpty() const { return text_.empty(); }
    char16_t at(int i) const { return text_[static_cast<size_t>(i)]; }

    // Index of the last occurrence of ch, or -1.
    int reverseFind(char16_t ch) const;
    int find(std::u16string_view what, int start = 0) const;
    CString left(int count) const;
    CString mid(int first) const;
    CString mid(int first, int count) const;

    CString& operator+=(const CString& o) { text_ += o.text_; return *this; }
    CString& operator+=(const char16_t* o) { text_ += o; return *this; }
    CString& operator+=(char16_t ch) { text_ += ch; return *this; }
    friend CString operator+(CString a, const CString& b) { a += b; return a; }
    friend CString operator+(CString a, const char16_t* b) { a += b; return a; }
    friend CString operator+(const char16_t* a, const CString& b) { return CString(a) += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
    friend bool operator<(const CString& a, const CString& b) { return a.text_ < b.text_; }

private:
    std::u16string text_;
};
