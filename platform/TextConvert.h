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

// A file system path's bytes, kept whole. Valid UTF-8 is decoded as
// utf8ToCstr does; each byte that is not part of valid UTF-8 (always 0x80 or
// above) becomes the lone unit 0xDC00 + byte, which cstrToPathBytes turns
// back into that byte. Shown as text (cstrToUtf8), such a unit reads U+FFFD.
void pathBytesToCstr(std::string_view bytes, CString& out);
// The bytes of a path made by pathBytesToCstr (or any text: as cstrToUtf8,
// but the units 0xDC80..0xDCFF give back their bytes).
void cstrToPathBytes(const CString& path, std::string& out);

// GB18030 text as UTF-8, undecodable bytes replaced by U+FFFD.
std::string gb18030ToUtf8(std::string_view text);

// Text in the "ANSI code page": valid UTF-8 passes through unchanged; other
// bytes are decoded as GB18030, undecodable bytes replaced by U+FFFD.
std::string ansiToUtf8(std::string_view text);

bool isValidUtf8(std::string_view text);
