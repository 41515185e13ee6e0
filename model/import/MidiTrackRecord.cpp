#include "model/import/MidiTrackRecord.h"

#include <array>
#include <functional>
#include <queue>

namespace {

using hvmidi::MIDITimedBigMessage;
using hvmidi::MIDITrack;

// The pending and finished lists of one track walk. Records are kept in
// pending order in one array; per note number a min-heap of their indices
// finds the oldest, and the lyric records wait on a stack, so every event
// costs at most a logarithm of the track's length.
class NoteCollector {
public:
    void lyric(int32_t tick, std::string_view text)
    {
        lyricStack_.push_back(add({std::string(text), tick, 0, MidiNoteRecord::kLyricOnly}));
    }

    void noteOn(int32_t tick, uint8_t note)
    {
        if (!lyricStack_.empty() && records_[lyricStack_.back()].start == tick) {
            const size_t i = lyricStack_.back();
            lyricStack_.pop_back();
            records_[i].note = note;
            byNote_[note].push(i);
            return;
        }
        byNote_[note].push(add({std::string(), tick, 0, note}));
    }

    void noteOff(int32_t tick, uint8_t note)
    {
        auto& heap = byNote_[note];
        if (heap.empty()) return;
        finish(heap.top(), tick);
        heap.pop();
    }

    void endAll(int32_t tick)
    {
        for (; firstPending_ < records_.size(); ++firstPending_)
            if (pending_[firstPending_]) finish(firstPending_, tick);
        for (auto& heap : byNote_) heap = {};
        lyricStack_.clear();
    }

    void takeNotes(std::vector<MidiNoteRecord>& out)
    {
        out.reserve(out.size() + finished_.size());  // the import holds them while it builds the notes
        for (size_t i : finished_)
            if (records_[i].note != MidiNoteRecord::kLyricOnly) out.push_back(std::move(records_[i]));
    }

private:
    using MinHeap = std::priority_queue<size_t, std::vector<size_t>, std::greater<size_t>>;

    size_t add(MidiNoteRecord record)
    {
        records_.push_back(std::move(record));
        pending_.push_back(true);
        return records_.size() - 1;
    }

    void finish(size_t i, int32_t tick)
    {
        records_[i].end = tick;
        pending_[i] = false;
        finished_.push_back(i);
    }

    std::vector<MidiNoteRecord> records_;
    std::vector<bool> pending_;
    size_t firstPending_ = 0;  // records before it are all finished
    std::vector<size_t> finished_;
    std::array<MinHeap, 128> byNote_;
    std::vector<size_t> lyricStack_;
};

void readMeta(const MIDITrack& track, const MIDITimedBigMessage& m, MidiTrackRecord& record, NoteCollector& notes)
{
    const std::string_view data = track.getMetaData(m);
    const auto byte = [&data](size_t i) { return static_cast<uint8_t>(data[i]); };
    switch (m.getMetaType()) {
    case 0x51: {
        if (data.size() < 3) return;
        const uint32_t micros = uint32_t{byte(0)} << 16 | uint32_t{byte(1)} << 8 | byte(2);
        if (micros <= 2) return;
        record.tempos.push_back({60000000.0f / static_cast<float>(micros), m.time});
        return;
    }
    case 0x58:
        if (data.size() < 4 || byte(1) > 30) return;
        record.timeSignatures.push_back({m.time, byte(0), int32_t{1} << byte(1)});
        return;
    case 0x03:
        if (!data.empty()) record.name = std::string(data);
        return;
    case 0x05: notes.lyric(m.time, data); return;
    default: return;
    }
}

}  // namespace

void fillMidiTrackRecord(const hvmidi::MIDIMultiTrack& tracks, int m, MidiTrackRecord& record)
{
    record = MidiTrackRecord();
    const MIDITrack* track = tracks.getTrack(m);
    if (!track) return;
    record.ticksPerQuarter = tracks.getClocksPerBeat();
    NoteCollector notes;
    for (int i = 0; i < track->getNumEvents(); ++i) {
        const MIDITimedBigMessage& e = track->getEvent(i);
        if (e.isMeta())
            readMeta(*track, e, record, notes);
        else if (e.isControlChange() && e.getController() >= 123)
            notes.endAll(e.time);
        else if (e.isNoteOff())
            notes.noteOff(e.time, e.getNote());
        else if (e.isNoteOn())
            notes.noteOn(e.time, e.getNote());
    }
    notes.takeNotes(record.notes);
}
