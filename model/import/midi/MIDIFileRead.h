#pragma once
// Reading a standard MIDI file into a multi-track. Every length and count in
// the file is checked against the bytes that are there: a track that is cut
// short keeps its whole events, and nothing is read or allocated beyond the
// file's own bytes.
#include <cstdint>
#include <string>

#include "model/import/midi/MIDITrack.h"
#include "platform/CString.h"

namespace hvmidi {

// The bytes of one MIDI file, read whole.
class MIDIFileReadStreamFile {
public:
    // Larger files are refused: no MIDI file comes near this, and the events
    // kept take a small multiple of the file's bytes.
    static constexpr uint64_t kMaxFileBytes = uint64_t{16} << 20;

    explicit MIDIFileReadStreamFile(const CString& path);
    static MIDIFileReadStreamFile fromBytes(std::string bytes);

    // False when the file could not be opened or read, or is too large.
    bool isValid() const { return valid_; }
    // Refused for its size: more than kMaxFileBytes.
    bool tooLarge() const { return fileBytes_ > kMaxFileBytes; }
    // The file's size, also when it was refused for it; 0 when it could not
    // be opened.
    uint64_t fileBytes() const { return fileBytes_; }
    const std::string& bytes() const { return bytes_; }

private:
    MIDIFileReadStreamFile() = default;
    std::string bytes_;
    uint64_t fileBytes_ = 0;
    bool valid_ = false;
};

// The parser's sink: fills a multi-track.
class MIDIFileReadMultiTrack {
public:
    explicit MIDIFileReadMultiTrack(MIDIMultiTrack* tracks) : tracks_(tracks) {}

    // Empties the multi-track. Its track count is then the number of
    // "MTrk" chunks read, whatever the header says.
    void mfHeader(uint16_t division);
    // A new track for the events that follow; null when no more are kept.
    MIDITrack* mfStartTrack() { return tracks_->addTrack(); }

private:
    MIDIMultiTrack* tracks_;
};

class MIDIFileRead {
public:
    MIDIFileRead(const MIDIFileReadStreamFile& in, MIDIFileReadMultiTrack& sink) : in_(in), sink_(sink) {}

    // Reads the header and at most MIDIMultiTrack::kMaxTracks "MTrk" chunks;
    // other chunks are skipped by their length. False on a stream that is not
    // valid, no "MThd", a header cut short or shorter than 6 bytes, no
    // "MTrk", a variable-length number of more than 4 bytes, or a data byte
    // without running status.
    bool parse();

private:
    const MIDIFileReadStreamFile& in_;
    MIDIFileReadMultiTrack& sink_;
};

}  // namespace hvmidi
