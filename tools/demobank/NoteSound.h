#pragma once
// How a sung note sounds over a stretch of its samples (its middle half):
// its level, its period against the note's pitch, and how its first
// harmonic stands against its strongest one.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace demobank {

struct NoteSound {
    double levelDb = -200.0;       // RMS in dB against full scale (-200 for silence)
    double centsOff = 0.0;         // the measured period against the note's pitch
    double fundamentalDb = -200.0;  // the first harmonic's energy over the strongest one's, in dB (<= 0)
};

// The RMS level of samples[first .. last) in dB against full scale; -200
// for silence or an empty stretch.
double levelDb(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last);

// samples[first .. last) at `rate` Hz, sung at `hz`. The period is the
// strongest normalised autocorrelation within half an octave either side of
// the note's own, refined by a parabola; a silent stretch keeps the
// defaults. Harmonic k is the energy of a Hann-windowed spectrum between
// (k - 1/2) f0 and (k + 1/2) f0, f0 the measured one, up to half the rate.
NoteSound measureNoteSound(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last, double hz,
                           int rate);

// What a note must reach to count as sung: a level within kLevelSpanDb of
// the bank's median, a period within kCentsSpan of its pitch, and a first
// harmonic no more than kFundamentalSpanDb under the strongest.
constexpr double kLevelSpanDb = 20.0;
constexpr double kCentsSpan = 50.0;
constexpr double kFundamentalSpanDb = 20.0;

struct NoteVerdict {
    bool audible = false;
    bool inTune = false;
    bool fundamental = false;
    bool sung() const { return audible && inTune && fundamental; }
};

NoteVerdict judgeNote(const NoteSound& sound, double medianLevelDb);

// The median of the levels (the upper middle one of an even count); -200
// for none.
double medianLevelDb(std::vector<double> levels);

}  // namespace demobank
