#include "model/import/vsqx/XmlNesting.h"

namespace {

// The position after the end marker of a construct starting at from, or
// npos when the text ends first.
size_t skipPast(std::string_view text, size_t from, std::string_view end)
{
    const size_t at = text.find(end, from);
    return at == std::string_view::npos ? at : at + end.size();
}

}  // namespace

bool xmlNestingWithin(std::string_view text, int limit)
{
    int depth = 0;
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
            --depth;
            i = skipPast(text, i + 2, ">");
        } else {
            // A start tag: its end is the first ">" outside quotes.
            char quote = 0;
            size_t j = i + 1;
            for (; j < text.size(); ++j) {
                const char c = text[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            if (j >= text.size()) return true;
            if (text[j - 1] != '/' && ++depth > limit) return false;
            i = j + 1;
        }
    }
    return true;
}
