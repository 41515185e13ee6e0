#include "model/import/vsqx/XmlNesting.h"

namespace {

// The position after the end marker of a construct starting at from, or
// npos when the text ends first.
size_t skipPast(std::string_view text, size_t from, std::string_view end)
{
    const size_t at = text.find(end, from);
    return at == std::string_view::npos ? at : at + end.size();
}

// Calls onTag(depth change, attributes) for every start tag (+1, or 0 for an
// empty-element tag) and end tag (-1, no attributes) of the text, in order,
// until it returns false; false then. A start tag cut by the end of the
// text is reported as an open one with the attributes it holds: the parser
// reads its attributes before it finds the text's end.
template <class OnTag>
bool forEachTag(std::string_view text, OnTag onTag)
{
    size_t i = 0;
    while ((i = text.find('<', i)) != std::string_view::npos) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("<!--")) {
            i = skipPast(text, i + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            i = skipPast(text, i + 9, "]]>");
        } else if (rest.starts_with("<?") || rest.starts_with("<!")) {
            i = skipPast(text, i + 2, ">");
        } else if (rest.starts_with("</")) {
            if (!onTag(-1, uint32_t{0})) return false;
            i = skipPast(text, i + 2, ">");
        } else {
            // A start tag: its end is the first ">" outside quotes.
            char quote = 0;
            uint32_t attributes = 0;
            size_t j = i + 1;
            for (; j < text.size(); ++j) {
                const char c = text[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=') {
                    ++attributes;
                } else if (c == '>') {
                    break;
                }
            }
            if (j >= text.size()) return onTag(1, attributes);
            if (!onTag(text[j - 1] == '/' ? 0 : 1, attributes)) return false;
            i = j + 1;
        }
    }
    return true;
}

}  // namespace

bool xmlNestingWithin(std::string_view text, int limit)
{
    int depth = 0;
    return forEachTag(text, [&](int change, uint32_t) { return (depth += change) <= limit; });
}

bool xmlCountsWithin(std::string_view text, const XmlCountLimits& limits)
{
    uint64_t total = 0;
    return forEachTag(text, [&](int change, uint32_t attributes) {
        if (change < 0) return true;
        total += 1 + uint64_t{attributes};
        return attributes <= limits.attributesPerElement && total <= limits.elementsAndAttributes;
    });
}
