#pragma once
// What the MIDI import takes from one MIDI track: its notes with their
// lyrics, its tempo changes, time signatures and name.
#include <cstdint>
#include <string>
#include <vector>

#include "model/import/midi/MIDITrack.h"

struct MidiNoteRecord {
    static constexpr int32_t kLyricOnly = -1000;  // a lyric that has no note yet

    std::string lyric;  // raw bytes, possibly empty
    int32_t start = 0;
    int32_t end = 0;
    int32_t note = kLyricOnly;
};

struct MidiTempoChange {
    float bpm = 0.0f;
    int32_t tick = 0;
};

struct MidiTimeSignature {
    int32_t tick = 0;
    int32_t numerator = 0;
    int32_t denominator = 0;
};

struct MidiTrackRecord {
    int32_t ticksPerQuarter = 0;
    std::vector<MidiNoteRecord> notes;  // in the order in which they ended
    std::vector<MidiTempoChange> tempos;
    std::vector<MidiTimeSignature> timeSignatures;
    std::string name;  // raw bytes, possibly empty
};

// Fills the record of track m from its events, in file order and whatever
// their channel. Lyric events become pending records that the next note-on
// on their own tick takes; note-offs end the oldest pending note of their
// number; controllers 123 and above end every pending record. Records that
// never end, and lyrics that never get a note, are dropped. An index outside
// the tracks leaves the record empty. Tempos of 2 microseconds per quarter
// or less are left out: no tempo value can hold them.
void fillMidiTrackRecord(const hvmidi::MIDIMultiTrack& tracks, int m, MidiTrackRecord& record);
