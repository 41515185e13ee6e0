#include "SyllableSpeech.h"

#include <espeak-ng/speak_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace demobank {

namespace {

// Pitch 99 puts the level first tone at about 166 Hz, well above the
// analysis' 115 Hz floor; rate 90 gives vowels long enough to sing from
// (a faster rate leaves "yun" mostly its nasal end) and short enough for
// every syllable's frames to fit the bank's size.
constexpr int kPitch = 99;
constexpr int kSpeakingRate = 90;
const char* const kVoice = "cmn-latn-pinyin";
// The top of the voice's own pitch setting.
constexpr int kOwnPitchTop = 118;

int collect(short* wav, int count, espeak_EVENT* events)
{
    auto* speech = static_cast<Speech*>(events->user_data);
    for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type != espeakEVENT_PHONEME)
            continue;
        const std::size_t length = strnlen(e->id.string, sizeof e->id.string);
        const std::int64_t at = static_cast<std::int64_t>(e->audio_position) * speech->sampleRate / 1000;
        speech->events.push_back({std::string(e->id.string, length), at});
    }
    if (wav != nullptr && count > 0)
        speech->samples.insert(speech->samples.end(), wav, wav + count);
    return 0;
}

// The synthesiser lower-cases the path of a voice file, so the file is
// named from the folder it lies in (this process's own: speaking runs in a
// child process) by its name, which is lower-case.
bool setVoiceFile(const std::string& voiceFile)
{
    const std::filesystem::path path(voiceFile);
    std::error_code failed;
    std::filesystem::current_path(path.parent_path(), failed);
    return !failed && espeak_SetVoiceByFile(path.filename().c_str()) == EE_OK;
}

// Speaks the word with a synthesiser started for it alone.
Speech speakFresh(const std::string& word, const std::string& voiceFile)
{
    Speech speech;
    speech.sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_PHONEME_EVENTS);
    if (speech.sampleRate <= 0)
        throw std::runtime_error("the speech synthesiser cannot start");
    espeak_SetSynthCallback(collect);
    if (voiceFile.empty() ? espeak_SetVoiceByName(kVoice) != EE_OK : !setVoiceFile(voiceFile))
        throw std::runtime_error("the speech synthesiser has no voice \"" + (voiceFile.empty() ? kVoice : voiceFile) +
                                 "\"");
    espeak_SetParameter(espeakPITCH, kPitch, 0);
    espeak_SetParameter(espeakRATE, kSpeakingRate, 0);
    if (espeak_Synth(word.c_str(), word.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &speech) != EE_OK)
        throw std::runtime_error("the speech synthesiser refused \"" + word + "\"");
    return speech;
}

bool writeAll(int fd, const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, std::size_t size)
{
    char* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = read(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The child's answer: rate, sample count, samples, event count, then per
// event its position, name length and name. An empty answer is a failure.
bool sendSpeech(int fd, const Speech& s)
{
    const std::uint64_t count = s.samples.size(), events = s.events.size();
    bool ok = writeAll(fd, &s.sampleRate, sizeof s.sampleRate) && writeAll(fd, &count, sizeof count) &&
              writeAll(fd, s.samples.data(), count * sizeof(std::int16_t)) && writeAll(fd, &events, sizeof events);
    for (const PhonemeEvent& e : s.events) {
        const std::uint64_t length = e.name.size();
        ok = ok && writeAll(fd, &e.sample, sizeof e.sample) && writeAll(fd, &length, sizeof length) &&
             writeAll(fd, e.name.data(), length);
    }
    return ok;
}

bool receiveSpeech(int fd, Speech& s)
{
    constexpr std::uint64_t kMostSamples = std::uint64_t(1) << 26, kMostEvents = 4096, kLongestName = 8;
    std::uint64_t count = 0, events = 0;
    if (!readAll(fd, &s.sampleRate, sizeof s.sampleRate) || !readAll(fd, &count, sizeof count) ||
        count > kMostSamples)
        return false;
    s.samples.resize(count);
    if (!readAll(fd, s.samples.data(), count * sizeof(std::int16_t)) || !readAll(fd, &events, sizeof events) ||
        events > kMostEvents)
        return false;
    s.events.resize(events);
    for (PhonemeEvent& e : s.events) {
        std::uint64_t length = 0;
        if (!readAll(fd, &e.sample, sizeof e.sample) || !readAll(fd, &length, sizeof length) || length > kLongestName)
            return false;
        e.name.resize(length);
        if (!readAll(fd, e.name.data(), length))
            return false;
    }
    return true;
}

// A word being spoken by a child process, which writes its speech into `fd`.
struct Speaker {
    pid_t child = -1;
    int fd = -1;
};

Speaker startSpeaking(const std::string& word, const std::string& voiceFile)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("cannot start the speech synthesiser's process");
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        throw std::runtime_error("cannot start the speech synthesiser's process");
    }
    if (child == 0) {
        close(fds[0]);
        bool ok = false;
        try {
            ok = sendSpeech(fds[1], speakFresh(word, voiceFile));
        } catch (const std::exception&) {
        }
        close(fds[1]);
        _exit(ok ? 0 : 1);
    }
    close(fds[1]);
    return {child, fds[0]};
}

SpokenWord finishSpeaking(const Speaker& speaker, const std::string& word, const std::string& voiceFile)
{
    SpokenWord spoken;
    const bool received = receiveSpeech(speaker.fd, spoken.speech);
    close(speaker.fd);
    int status = 0;
    waitpid(speaker.child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        spoken.failure = "the speech synthesiser could not speak \"" + word + "\" with its voice \"" +
                         (voiceFile.empty() ? kVoice : voiceFile) + "\"";
    return spoken;
}

}  // namespace

float levelToneHz(int base) { return 2.3f * static_cast<float>(base) - 19.0f; }

// The language's own voice file with the pitch line changed (and the Klatt
// synthesiser chosen); every other setting as the voice named kVoice has it.
VoiceFile::VoiceFile(int base, bool klatt)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/hv_voice_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for the speech synthesiser's voice under " + pattern);
    folder_ = pattern;
    path_ = folder_ + "/cmn-latn-pinyin-" + std::to_string(base);
    std::ofstream out(path_, std::ios::trunc);
    out << "name cmn-latn-pinyin-" << base << "\nlanguage cmn-latn-pinyin\nphonemes cmn\ndictionary cmn\nwords 1\n"
        << "pitch " << base << ' ' << base * kOwnPitchTop / kOwnPitchBase << "\ndict_min 100000\n" << (klatt ? "klatt 1\n" : "");
    if (!out.flush()) {
        std::filesystem::remove_all(folder_);
        throw std::runtime_error("cannot write the speech synthesiser's voice " + path_);
    }
}

VoiceFile::~VoiceFile()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

// The synthesiser carries state from one utterance to the next (the same
// word twice in one process differs in its last samples), so each word is
// spoken by a child process with a synthesiser of its own: the same word
// always gives the same bytes.
Speech speakWord(const std::string& word, const std::string& voiceFile)
{
    SpokenWord spoken = finishSpeaking(startSpeaking(word, voiceFile), word, voiceFile);
    if (!spoken.failure.empty())
        throw std::runtime_error(spoken.failure);
    return std::move(spoken.speech);
}

std::vector<SpokenWord> speakWords(const std::vector<std::string>& words, unsigned parallel,
                                   const std::string& voiceFile)
{
    std::vector<SpokenWord> spoken(words.size());
    const std::size_t batch = std::max(1u, parallel);
    for (std::size_t first = 0; first < words.size(); first += batch) {
        const std::size_t end = std::min(words.size(), first + batch);
        std::vector<Speaker> speakers(end - first);
        for (std::size_t i = first; i < end; ++i) {
            try {
                speakers[i - first] = startSpeaking(words[i], voiceFile);
            } catch (const std::runtime_error& e) {
                spoken[i].failure = e.what();
            }
        }
        for (std::size_t i = first; i < end; ++i)
            if (speakers[i - first].child >= 0)
                spoken[i] = finishSpeaking(speakers[i - first], words[i], voiceFile);
    }
    return spoken;
}

}  // namespace demobank
