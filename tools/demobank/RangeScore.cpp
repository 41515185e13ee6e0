#include "RangeScore.h"

#include <cmath>
#include <utility>

#include "model/audio/WavFileReader.h"
#include "model/current/Note.h"
#include "model/current/Track.h"
#include "render/synth/PitchNames.h"

namespace demobank {

namespace {

using namespace HVCurrentModel;

constexpr int kRate = 44100;
// 120 BPM: a quarter of 480 ticks lasts half a second.
constexpr std::int32_t kTempo = 12000;
constexpr std::int32_t kTicksPerSecond = 960;
// 4/4 from measure -3, so measure 1 begins at tick 7680.
constexpr std::int32_t kFirstMeasure = -3;
constexpr std::int32_t kMeasureOne = 4 * 1920;
// The key index of a semitone from C2 (a higher note has a smaller index).
constexpr int kC2Key = 79;

// The rests before note k, each half a note long.
std::size_t restsBefore(std::size_t k, double seconds) { return seconds == kHalfSecond ? k / kPhraseNotes : 0; }

// Where note k begins, in notes of `seconds`.
double notesBefore(std::size_t k, double seconds) { return double(k) + 0.5 * double(restsBefore(k, seconds)); }

}  // namespace

std::unique_ptr<HalvorenModel> rangeProject(const std::vector<std::string>& syllables, int semitone,
                                            const std::string& singer, double seconds)
{
    const auto ticks = static_cast<std::int32_t>(std::lround(seconds * kTicksPerSecond));
    auto model = std::make_unique<HalvorenModel>();
    insertMarkerSorted(model->tempos, new Tempo{0, kTempo, false});
    insertMarkerSorted(model->beats, new Beat{kFirstMeasure, 4, 4, false});
    auto* track = new Track(kSingingTrack);
    track->name = "range";
    model->tracks.push_back(track);
    const auto at = [&](std::size_t k) { return static_cast<std::int32_t>(std::lround(notesBefore(k, seconds) * ticks)); };
    auto* seg = new SingSegment(kMeasureOne, at(syllables.size()) + ticks);
    seg->singer = singer;
    insertSegmentSorted(*track->singSegs, seg);
    for (std::size_t k = 0; k < syllables.size(); ++k) {
        auto* n = new Note();
        n->pos = at(k);
        n->width = ticks;
        n->key = kC2Key - semitone;
        n->lyric = n->phoneticSymbol = syllables[k];
        seg->notes.insertSorted(n);
    }
    return model;
}

double semitoneHz(int semitone) { return 220.0 * std::exp2((semitone - 21) / 12.0); }

std::string semitoneName(int semitone) { return keyIndexToPitchName(kC2Key - semitone); }

std::size_t rangeNoteStart(std::size_t k, double seconds)
{
    return static_cast<std::size_t>(std::lround(notesBefore(k, seconds) * seconds * kRate));
}

bool rangeNoteJoinsPrevious(std::size_t k, double seconds)
{
    return k > 0 && restsBefore(k, seconds) == restsBefore(k - 1, seconds);
}

namespace {

// Samples [first, last) of note k between the fractions from and to of it.
std::pair<std::size_t, std::size_t> noteStretch(std::size_t k, double seconds, double from, double to)
{
    const std::size_t start = rangeNoteStart(k, seconds);
    const double length = seconds * kRate;
    return {start + static_cast<std::size_t>(from * length), start + static_cast<std::size_t>(to * length)};
}

}  // namespace

double rangeNoteLevelDb(const std::vector<std::int16_t>& samples, std::size_t k, double seconds, double from, double to)
{
    const auto [first, last] = noteStretch(k, seconds, from, to);
    return levelDb(samples, first, last);
}

std::vector<NoteSound> rangeNoteSounds(const std::vector<std::int16_t>& samples, std::size_t notes, int semitone,
                                       double seconds)
{
    std::vector<NoteSound> out;
    for (std::size_t k = 0; k < notes; ++k) {
        const auto [first, last] = noteStretch(k, seconds, 0.25, 0.75);
        out.push_back(measureNoteSound(samples, first, last, semitoneHz(semitone), kRate));
    }
    return out;
}

std::vector<std::int16_t> firstChannelOf(const std::string& wavPath)
{
    WavFileReader reader;
    // A range file holds minutes of stereo sound: far more than a clip.
    ReadLimits limits;
    limits.byteBase = std::uint64_t(1) << 31;
    if (!reader.read(CString::fromUtf8(wavPath), limits))
        return {};
    const HalvorenEditor::CWavBuf& wav = reader.buffer();
    if (wav.bytesPerSample != 2 || wav.isFloat || wav.channels < 1)
        return {};
    const std::uint32_t frames = wav.sampleCount() / static_cast<std::uint32_t>(wav.channels);
    std::vector<std::int16_t> out(frames);
    const unsigned char* bytes = wav.fifo.ptrBegin();
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::size_t at = std::size_t(i) * std::size_t(wav.channels) * 2;
        out[i] = static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
    return out;
}

}  // namespace demobank
