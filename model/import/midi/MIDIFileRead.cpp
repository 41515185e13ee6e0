#include "model/import/midi/MIDIFileRead.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/ByteCursor.h"
#include "platform/FileUtil.h"

namespace hvmidi {

namespace {

bool readBigEndian(ByteCursor& in, int bytes, uint32_t& out)
{
    unsigned char b[4];
    if (!in.bytes(b, static_cast<uint64_t>(bytes))) return false;
    out = 0;
    for (int i = 0; i < bytes; ++i) out = out << 8 | b[i];
    return true;
}

enum class Vlq { ok, incomplete, tooLong };

// A variable-length number of at most four bytes.
Vlq readVlq(ByteCursor& in, uint32_t& out)
{
    out = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t b = 0;
        if (!in.u8(b)) return Vlq::incomplete;
        out = out << 7 | (b & 0x7Fu);
        if (!(b & 0x80)) return Vlq::ok;
    }
    return Vlq::tooLong;
}

// Data bytes of the system common and real-time messages (F1..FE but FF).
int systemDataBytes(uint8_t status)
{
    switch (status) {
    case 0xF1:
    case 0xF3: return 1;
    case 0xF2: return 2;
    default: return 0;
    }
}

enum class TrackEnd { ok, error };

// Walks one track's bytes. An event that is cut short ends the track and
// keeps every event before it.
TrackEnd readTrack(ByteCursor in, MIDITrack* track)
{
    constexpr uint64_t kMaxTick = std::numeric_limits<int32_t>::max();
    uint64_t tick = 0;
    uint8_t running = 0;
    while (!in.atEnd()) {
        uint32_t delta = 0;
        const Vlq d = readVlq(in, delta);
        if (d == Vlq::tooLong) return TrackEnd::error;
        if (d == Vlq::incomplete) return TrackEnd::ok;
        tick = std::min(tick + delta, kMaxTick);

        uint8_t first = 0;
        if (!in.u8(first)) return TrackEnd::ok;
        MIDITimedBigMessage m;
        m.time = static_cast<int32_t>(tick);
        if (first == 0xFF || first == 0xF0 || first == 0xF7) {
            running = 0;  // sysex and meta events cancel running status
            uint8_t type = 0;
            if (first == 0xFF && !in.u8(type)) return TrackEnd::ok;
            uint32_t length = 0;
            const Vlq l = readVlq(in, length);
            if (l == Vlq::tooLong) return TrackEnd::error;
            ByteCursor data;
            if (l == Vlq::incomplete || !in.sub(length, data)) return TrackEnd::ok;
            if (first != 0xFF) continue;
            if (type == 0x2F) return TrackEnd::ok;
            m.status = 0xFF;
            m.byte1 = type;
            track->putMetaEvent(m, std::string_view(data.here() ? data.here() : "", length));
            continue;
        }
        if (first > 0xF0) {
            running = 0;
            if (!in.skip(static_cast<uint64_t>(systemDataBytes(first)))) return TrackEnd::ok;
            continue;
        }
        uint8_t data1 = 0;
        if (first & 0x80) {
            running = first;
            if (!in.u8(data1)) return TrackEnd::ok;
        } else {
            if (!running) return TrackEnd::error;
            data1 = first;
        }
        m.status = running;
        // Data bytes carry seven bits.
        m.byte1 = data1 & 0x7F;
        const uint8_t kind = running & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) {
            uint8_t data2 = 0;
            if (!in.u8(data2)) return TrackEnd::ok;
            m.byte2 = data2 & 0x7F;
        }
        track->putEvent(m);
    }
    return TrackEnd::ok;
}

}  // namespace

MIDIFileReadStreamFile::MIDIFileReadStreamFile(const CString& path)
{
    FilePtr file(openFile(path, "rb"));
    if (!file) return;
    const auto size = bytesLeftInFile(file.get());
    if (!size) return;
    fileBytes_ = *size;
    if (tooLarge()) return;
    bytes_.resize(static_cast<size_t>(*size));
    valid_ = bytes_.empty() || std::fread(bytes_.data(), 1, bytes_.size(), file.get()) == bytes_.size();
    if (!valid_) bytes_.clear();
}

MIDIFileReadStreamFile MIDIFileReadStreamFile::fromBytes(std::string bytes)
{
    MIDIFileReadStreamFile stream;
    stream.fileBytes_ = bytes.size();
    stream.valid_ = !stream.tooLarge();
    if (stream.valid_) stream.bytes_ = std::move(bytes);
    return stream;
}

void MIDIFileReadMultiTrack::mfHeader(uint16_t division)
{
    tracks_->clear();
    tracks_->setDivision(division);
}

bool MIDIFileRead::parse()
{
    if (!in_.isValid()) return false;
    ByteCursor file(in_.bytes().data(), in_.bytes().size());
    uint32_t headerLength = 0;
    ByteCursor header;
    if (!file.tag("MThd", 4) || !readBigEndian(file, 4, headerLength) || headerLength < 6 ||
        !file.sub(headerLength, header))
        return false;
    uint32_t division = 0;
    header.skip(4);  // the format and the track count
    readBigEndian(header, 2, division);
    sink_.mfHeader(static_cast<uint16_t>(division));

    int tracksRead = 0;
    char id[4];
    uint32_t length = 0;
    while (tracksRead < MIDIMultiTrack::kMaxTracks && file.bytes(id, 4) && readBigEndian(file, 4, length)) {
        // A chunk longer than the file holds what is left of it.
        ByteCursor body;
        file.sub(std::min<uint64_t>(length, file.remaining()), body);
        if (std::memcmp(id, "MTrk", 4) != 0) continue;
        ++tracksRead;
        if (readTrack(body, sink_.mfStartTrack()) == TrackEnd::error) return false;
    }
    return tracksRead > 0;
}

}  // namespace hvmidi
