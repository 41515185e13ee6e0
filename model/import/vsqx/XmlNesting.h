#pragma once
// The XML parser descends recursively, and compares each attribute with
// every earlier one of its element: a score nested deeper, or holding more
// elements and attributes, than any real one is refused before it is parsed.
#include <cstdint>
#include <string_view>

// False when elements of the text nest deeper than limit. Comments, CDATA
// sections, declarations and quoted attribute values are passed over.
bool xmlNestingWithin(std::string_view text, int limit);

struct XmlCountLimits {
    uint32_t attributesPerElement = 0;
    uint64_t elementsAndAttributes = 0;  // in total
};
// False when one start tag holds more attributes, or the text more start
// tags and attributes together, than the limits allow. An attribute is
// counted by its "=" outside quotes.
bool xmlCountsWithin(std::string_view text, const XmlCountLimits& limits);
