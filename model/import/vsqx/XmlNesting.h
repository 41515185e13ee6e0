#pragma once
// The XML parser descends recursively: a score nested deeper than any real
// one is refused before it is parsed.
#include <string_view>

// False when elements of the text nest deeper than limit. Comments, CDATA
// sections, declarations and quoted attribute values are passed over.
bool xmlNestingWithin(std::string_view text, int limit);
