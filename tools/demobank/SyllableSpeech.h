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

// The pitch setting of the synthesiser's own Mandarin voice.
constexpr int kOwnPitchBase = 80;

// Where the level first tone of the Mandarin voice with the pitch setting
// `base` comes out: about 2.3 Hz a unit, less 19 Hz (165 Hz for the voice's
// own).
float levelToneHz(int base);

// A voice file of the synthesiser's Mandarin voice with another pitch
// setting: `base` where the voice's own is 80 (its top follows in
// proportion). With `klatt` the voice is rendered by the synthesiser's Klatt
// formant synthesiser, whose glottal source keeps a fundamental at every
// pitch; its usual synthesis builds each harmonic from the formants alone,
// which at high pitch leaves the fundamental of close vowels 40 dB under the
// rest. Written into a folder of its own under the temporary folder and
// removed with the object; throws std::runtime_error when it cannot be
// written.
class VoiceFile {
public:
    VoiceFile(int base, bool klatt);
    ~VoiceFile();
    VoiceFile(const VoiceFile&) = delete;
    VoiceFile& operator=(const VoiceFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

// Speaks `word` (e.g. "la1", "ai1ni1") with the voice file at `voiceFile`,
// or with the synthesiser's own Mandarin voice when it is empty. Throws
// std::runtime_error when the synthesiser or the voice cannot be set up or
// the text is refused.
Speech speakWord(const std::string& word, const std::string& voiceFile = "");

struct SpokenWord {
    Speech speech;
    std::string failure;  // empty when the word was spoken; else why not
};

// Speaks every word, up to `parallel` words at a time, each in a process of
// its own. Every process is started from the calling thread, which must be
// the only thread running: a process forked beside a running thread may
// inherit a lock that thread held (the allocator's, under the sanitizers)
// and wait on it for ever.
std::vector<SpokenWord> speakWords(const std::vector<std::string>& words, unsigned parallel,
                                   const std::string& voiceFile = "");

}  // namespace demobank
