#include "SyllableMarks.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace demobank {

namespace {

constexpr std::int64_t kHop = 128;
constexpr std::int32_t kShortestBody = 8;

std::int32_t frameAt(std::int64_t sample)
{
    return static_cast<std::int32_t>((std::max<std::int64_t>(0, sample) + kHop / 2) / kHop);
}

std::int32_t share(std::int32_t from, std::int32_t to, double part)
{
    return from + static_cast<std::int32_t>(std::lround(part * (to - from)));
}

}  // namespace

bool isConsonantPhoneme(const std::string& name)
{
    static const char* const kConsonants[] = {"p",  "ph", "m",   "f",    "t",  "th", "n",   "l",  "k",  "kh",
                                              "x",  "h",  "N",   "ts",   "tsh", "ts.h", "ts.", "s", "s.", "z.",
                                              "r",  "tS", "tSh", "ts;",  "ts;h", "s;", "w",   ";",  "j",
                                              "X",  "S;", "tS;", "tS;h"};
    return std::any_of(std::begin(kConsonants), std::end(kConsonants), [&](const char* c) { return name == c; });
}

namespace {

std::size_t vowelEvent(const std::vector<PhonemeEvent>& events, bool hasInitial)
{
    return hasInitial && events.size() > 1 && isConsonantPhoneme(events[0].name) ? 1 : 0;
}

}  // namespace

SyllableMarks onsetMarks(const std::string& syllable, const std::vector<PhonemeEvent>& events, bool hasInitial)
{
    if (events.empty())
        throw std::runtime_error("the syllable \"" + syllable + "\" has no phoneme events");
    SyllableMarks m;
    m.beginPos = frameAt(events[0].sample);
    m.endPos = frameAt(events[vowelEvent(events, hasInitial)].sample);
    return m;
}

SyllableMarks syllableMarks(const std::string& syllable, const std::vector<PhonemeEvent>& events, bool hasInitial,
                            bool nasalFinal, const std::vector<bool>& voiced)
{
    SyllableMarks m = onsetMarks(syllable, events, hasInitial);
    const std::size_t vowel = vowelEvent(events, hasInitial);

    const auto pause = std::find_if(events.begin(), events.end(), [](const PhonemeEvent& e) { return e.name == "_|"; });
    std::int32_t e = pause == events.end() ? static_cast<std::int32_t>(voiced.size()) : frameAt(pause->sample);
    e = std::min(e, static_cast<std::int32_t>(voiced.size()) - 1);
    while (e >= 0 && !voiced[static_cast<std::size_t>(e)])
        --e;
    if (e < m.endPos)
        throw std::runtime_error("the syllable \"" + syllable + "\" has no voiced vowel");

    std::int32_t c = e;
    if (nasalFinal)
        for (std::size_t i = vowel + 1; i < events.size(); ++i)
            if (events[i].name == "n" || events[i].name == "N") {
                c = std::clamp(frameAt(events[i].sample), m.endPos, e);
                break;
            }
    m.param3 = share(m.endPos, c, 0.2);
    m.param4 = share(m.endPos, c, 0.7);
    m.param5 = e - m.param4;
    if (m.param4 - m.param3 < kShortestBody)
        throw std::runtime_error("the syllable \"" + syllable + "\" has fewer than 8 frames in its body");
    return m;
}

}  // namespace demobank
