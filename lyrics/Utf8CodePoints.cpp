#include "lyrics/Utf8CodePoints.h"

#include <utf8.h>

#include <iterator>

namespace {
constexpr std::uint32_t kReplacementChar = 0xFFFD;
}

std::string codePointToUtf8(std::uint32_t codePoint) {
    std::string out;
    try {
        utf8::append(codePoint, std::back_inserter(out));
    } catch (const utf8::invalid_code_point&) {
        out.clear();
        utf8::append(kReplacementChar, std::back_inserter(out));
    }
    return out;
}

std::vector<std::uint32_t> utf8ToCodePoints(std::string_view text) {
    std::vector<std::uint32_t> out;
    if (utf8::is_valid(text.begin(), text.end())) {
        utf8::utf8to32(text.begin(), text.end(), std::back_inserter(out));
        return out;
    }
    std::string repaired;
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(repaired), kReplacementChar);
    utf8::utf8to32(repaired.begin(), repaired.end(), std::back_inserter(out));
    return out;
}

bool strictUtf8ToCodePoints(std::string_view text, std::vector<std::uint32_t>& out) {
    out.clear();
    if (!utf8::is_valid(text.begin(), text.end())) return false;
    utf8::utf8to32(text.begin(), text.end(), std::back_inserter(out));
    return true;
}
