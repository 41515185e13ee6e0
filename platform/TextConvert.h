#pragma once
// Conversions between the UTF-16 strings of the platform layer and UTF-8.
#include <string>
#include <string_view>

#include "platform/CString.h"

// out becomes the UTF-8 form of text, up to its first zero unit. Unpaired
// surrogates become U+FFFD; nothing is reported.
void cstrToUtf8(const CString& text, std::string& out);

// out becomes the UTF-16 form of the UTF-8 text (null gives an empty string).
// Invalid sequences become U+FFFD.
void utf8ToCstr(const char* utf8, CString& out);

// Text in the "ANSI code page": valid UTF-8 passes through unchanged; other
// bytes are decoded as GB18030, undecodable bytes replaced by U+FFFD.
std::string ansiToUtf8(std::string_view text);

bool isValidUtf8(std::string_view text);
