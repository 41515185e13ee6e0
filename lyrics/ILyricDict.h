#pragma once
// A voice bank's own lyric dictionary: cuts a lyric into dictionary words and
// gives the phonetic symbols of each.
#include <string>
#include <vector>

class ILyricDict {
public:
    virtual ~ILyricDict() = default;
    // Clears both lists and fills them in parallel, in text order.
    virtual void lookup(const std::string& text, std::vector<std::string>& words,
                        std::vector<std::string>& symbols) = 0;
};
