#pragma once
// Synthetic Mandarin speech of one word (one or more pinyin syllables, each
// followed by its tone digit) from the speech synthesiser: a voice of level
// pitch, slow, mono 16-bit samples with the phoneme events that place its
// sounds.
#include <cstdint>
#include <string>
#include <vector>

namespace demobank {

struct PhonemeEvent {
    std::string name;         // the synthesiser's phoneme mnemonic, e.g. "th", "a", "_|"
    std::int64_t sample = 0;  // where it starts, in samples of the speech
};

struct Speech {
    int sampleRate = 0;
    std::vector<std::int16_t> samples;
    std::vector<PhonemeEvent> events;
};

// Speaks `word` (e.g. "la1", "ai1ni1"). Throws std::runtime_error when the
// synthesiser or its Mandarin voice cannot be set up or the text is refused.
Speech speakWord(const std::string& word);

struct SpokenWord {
    Speech speech;
    std::string failure;  // empty when the word was spoken; else why not
};

// Speaks every word, up to `parallel` words at a time, each in a process of
// its own. Every process is started from the calling thread, which must be
// the only thread running: a process forked beside a running thread may
// inherit a lock that thread held (the allocator's, under the sanitizers)
// and wait on it for ever.
std::vector<SpokenWord> speakWords(const std::vector<std::string>& words, unsigned parallel);

}  // namespace demobank
