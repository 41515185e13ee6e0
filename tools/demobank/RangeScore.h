#pragma once
// The range table's score: syllables sung one after another as notes of one
// length at one pitch, a project for the program to sing; and how each note
// of its mixdown sounds.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NoteSound.h"
#include "model/current/HalvorenModel.h"

namespace demobank {

// The note lengths of the range scores: one second (half notes at
// 120 BPM), and half a second (quarter notes).
constexpr double kWholeSecond = 1.0;
constexpr double kHalfSecond = 0.5;

// Half-second notes are sung in phrases of kPhraseNotes, an eighth rest (a
// quarter of a second) after each.
constexpr std::size_t kPhraseNotes = 8;

// One track "range" of one sing segment from measure 1 (where a mixdown
// starts) at 120 BPM: the syllables one after another as notes of `seconds`
// (kWholeSecond or kHalfSecond; back to back but for the rests of the
// half-second phrases) at the pitch `semitone` (from C2), sung by `singer`.
std::unique_ptr<HVCurrentModel::HalvorenModel> rangeProject(const std::vector<std::string>& syllables, int semitone,
                                                             const std::string& singer, double seconds = kWholeSecond);

// The pitch of a semitone from C2 in Hz (A3 = 220 Hz) and its name.
double semitoneHz(int semitone);
std::string semitoneName(int semitone);

// How note k of a rangeProject's mixdown sounds over the middle half of its
// length: `samples` its first channel.
std::vector<NoteSound> rangeNoteSounds(const std::vector<std::int16_t>& samples, std::size_t notes, int semitone,
                                       double seconds = kWholeSecond);

// The sample where note k of a rangeProject's mixdown begins.
std::size_t rangeNoteStart(std::size_t k, double seconds);

// Whether note k begins where note k - 1 ends (a legato join).
bool rangeNoteJoinsPrevious(std::size_t k, double seconds);

// The level of note k of a rangeProject's mixdown over the part of it from
// fraction `from` to fraction `to` of its length (0.25 and 0.75: its middle
// half).
double rangeNoteLevelDb(const std::vector<std::int16_t>& samples, std::size_t k, double seconds, double from,
                        double to);

// The first channel of a 16-bit WAV file; empty when it cannot be read.
std::vector<std::int16_t> firstChannelOf(const std::string& wavPath);

}  // namespace demobank
