#pragma once
// The events of a standard MIDI file as read: one list per track, in file
// order, each event with its absolute tick.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hvmidi {

// One channel or meta event. Sysex events are not kept.
struct MIDITimedBigMessage {
    int32_t time = 0;     // absolute ticks, saturating at the largest int32
    uint8_t status = 0;   // 0x80..0xEF for a channel message, 0xFF for a meta event
    uint8_t byte1 = 0;    // first data byte, or the meta type
    uint8_t byte2 = 0;    // second data byte (0 for one-byte messages and meta events)
    uint32_t dataOffset = 0;  // a meta event's bytes in its track's pool
    uint32_t dataLength = 0;

    bool isMeta() const { return status == 0xFF; }
    bool isNoteOn() const { return (status & 0xF0) == 0x90 && byte2 > 0; }
    bool isNoteOff() const { return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && byte2 == 0); }
    bool isControlChange() const { return (status & 0xF0) == 0xB0; }
    uint8_t getNote() const { return byte1; }
    uint8_t getController() const { return byte1; }
    uint8_t getMetaType() const { return byte1; }
};

class MIDITrack {
public:
    int getNumEvents() const { return static_cast<int>(events_.size()); }
    const MIDITimedBigMessage& getEvent(int i) const { return events_[static_cast<size_t>(i)]; }
    // The raw bytes of a meta event of this track.
    std::string_view getMetaData(const MIDITimedBigMessage& m) const
    {
        return std::string_view(metaPool_).substr(m.dataOffset, m.dataLength);
    }

    void putEvent(const MIDITimedBigMessage& m) { events_.push_back(m); }
    void putMetaEvent(MIDITimedBigMessage m, std::string_view data);

private:
    std::vector<MIDITimedBigMessage> events_;
    std::string metaPool_;
};

class MIDIMultiTrack {
public:
    static constexpr int kMaxTracks = 64;

    void clear();
    void setDivision(uint16_t division);
    // A new empty track at the end, or null once kMaxTracks are held.
    MIDITrack* addTrack();

    int getNumTracks() const { return static_cast<int>(tracks_.size()); }
    const MIDITrack* getTrack(int i) const;
    // Bit 15 of the header's division marks an SMPTE time base.
    bool isSmpteDivision() const { return (division_ & 0x8000) != 0; }
    // Ticks per quarter note; 0 for an SMPTE time base.
    int getClocksPerBeat() const { return isSmpteDivision() ? 0 : division_; }

private:
    std::vector<MIDITrack> tracks_;
    uint16_t division_ = 0;
};

}  // namespace hvmidi
