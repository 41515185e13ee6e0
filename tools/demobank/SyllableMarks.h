#pragma once
// The placing values of a spoken syllable, in frames of 128 samples, from
// the synthesiser's phoneme events: where it begins, where its vowel begins,
// the vowel's first fifth (the middle part), its steadiest half (the body)
// and the rest with any coda (the end part).
#include <cstdint>
#include <string>
#include <vector>

#include "SyllableSpeech.h"

namespace demobank {

struct SyllableMarks {
    std::int32_t beginPos = 0;
    std::int32_t endPos = 0;
    std::int32_t param3 = 0;
    std::int32_t param4 = 0;
    std::int32_t param5 = 0;
};

// Where the syllable of events begins and where its vowel begins, in frames
// (the first event, and the second one after a consonant initial). Throws
// std::runtime_error naming the syllable when it has no phoneme events.
SyllableMarks onsetMarks(const std::string& syllable, const std::vector<PhonemeEvent>& events, bool hasInitial);

// True for the synthesiser's consonant mnemonics (e.g. "th", "ts.h", "w", ";").
bool isConsonantPhoneme(const std::string& name);

// events: positions in samples of the analysed recording; hasInitial: the
// syllable splits into an initial and a final; nasalFinal: the final ends in
// -n or -ng; voiced: one flag per frame. Throws std::runtime_error naming
// the syllable when it has no phoneme events, no voiced frame or fewer than
// 8 frames in param3 .. param4.
SyllableMarks syllableMarks(const std::string& syllable, const std::vector<PhonemeEvent>& events, bool hasInitial,
                            bool nasalFinal, const std::vector<bool>& voiced);

}  // namespace demobank
