#pragma once
// Builds standard MIDI files byte by byte for the reader and import tests:
// events at absolute ticks, running status on or off, meta and sysex events,
// unknown chunks, declared lengths that differ from the bytes present, and
// any cut of the result.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hvtest {

// A variable-length number (1 to 4 bytes for values below 2^28).
std::string vlq(uint32_t value);

class SmfTrack {
public:
    // With running status on, a channel message repeating the previous
    // status leaves its status byte out.
    SmfTrack& runningStatus(bool on);
    SmfTrack& noteOn(uint32_t tick, int note, int velocity = 100, int channel = 0);
    // A note-off message, or a note-on of velocity 0.
    SmfTrack& noteOff(uint32_t tick, int note, bool asNoteOn = false, int channel = 0);
    SmfTrack& note(uint32_t from, uint32_t to, int number) { return noteOn(from, number).noteOff(to, number); }
    SmfTrack& control(uint32_t tick, int controller, int value = 0, int channel = 0);
    SmfTrack& meta(uint32_t tick, uint8_t type, std::string_view data);
    SmfTrack& name(uint32_t tick, std::string_view text) { return meta(tick, 0x03, text); }
    SmfTrack& lyric(uint32_t tick, std::string_view text) { return meta(tick, 0x05, text); }
    SmfTrack& tempo(uint32_t tick, uint32_t microsPerQuarter);
    SmfTrack& sysex(uint32_t tick, std::string_view data);
    SmfTrack& endOfTrack(uint32_t tick) { return meta(tick, 0x2F, {}); }
    // Bytes as they stand, after the events so far.
    SmfTrack& raw(std::string_view bytes);
    // The length the chunk header states instead of the body's.
    SmfTrack& declaredLength(uint32_t length);

    std::string chunk() const;

private:
    void delta(uint32_t tick);
    void channelMessage(uint32_t tick, uint8_t status, char data1, char data2);

    std::string body_;
    uint32_t lastTick_ = 0;
    uint8_t lastStatus_ = 0;
    bool running_ = false;
    std::optional<uint32_t> declared_;
};

class SmfWriter {
public:
    SmfWriter(uint16_t format, uint16_t division) : format_(format), division_(division) {}
    SmfWriter& track(const SmfTrack& track);
    // Any other chunk, as stated.
    SmfWriter& chunk(std::string_view id, std::string_view body);
    // The header's track count instead of the number of tracks added.
    SmfWriter& trackCount(uint16_t count);

    std::string bytes() const;
    bool writeTo(const std::string& path) const;

private:
    uint16_t format_;
    uint16_t division_;
    std::optional<uint16_t> trackCount_;
    uint16_t tracksAdded_ = 0;
    std::string chunks_;
};

bool writeFileBytes(const std::string& path, std::string_view bytes);

// The bytes of a hand-written hex file: pairs of hex digits; blanks, line
// ends and "#" comments up to the line end are passed over.
std::string readHexFile(const std::string& path);

}  // namespace hvtest
