#pragma once
// UTF-8 <-> code points for lyric text. Lyrics come from typing, project files
// and imports, so malformed input is repaired, never thrown out of here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The UTF-8 form of one code point; a value that is not a valid code point
// (a surrogate or above U+10FFFF) gives U+FFFD.
std::string codePointToUtf8(std::uint32_t codePoint);

// The code points of a UTF-8 text; every malformed sequence becomes U+FFFD.
std::vector<std::uint32_t> utf8ToCodePoints(std::string_view text);

// The code points of a UTF-8 text; false (out empty) when it is malformed.
bool strictUtf8ToCodePoints(std::string_view text, std::vector<std::uint32_t>& out);
